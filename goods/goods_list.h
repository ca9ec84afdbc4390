#pragma once
// The goods directory: the entries of spravoch.txt in a list kept in alphabetical order
// without regard to letter case, the entry selected in it, the search of "Найти" and the
// "Добавить" button. The operator prepares spravoch.txt with any text editor; the register
// only reads it, whole, each time the directory window loads.

#include "register/services.h"
#include "storage/data_dir.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace tarvel {

inline const QString kGoodsLoadCaption = QStringLiteral("Ошибка загрузки файла *.txt");
inline const QString kGoodsFileMissing = QStringLiteral("Файл отсутствует!");
inline const QString kGoodsFileEmpty = QStringLiteral("Файл пуст!");
inline const QString kGoodsFileUnreadable = QStringLiteral("Файл не удалось прочитать целиком!");

// The entries of the file's text: the pieces between CR LF pairs, verbatim. A lone CR or LF
// stays inside its entry, a text ending in CR LF gives a last, empty entry, and the empty
// text gives no entry at all.
QList<QString> splitGoodsEntries(QStringView text);

// The first field of the file: the text up to the first comma or the end of the first line,
// spaces before it skipped; a field that begins with a double quote runs to the next one,
// without the quotes.
QString readFirstField(QStringView fileText);

// The position the first field selects in a list of `count` entries: -1 means the first
// entry; any other number is rounded to the nearest whole number, a half to the even one. A
// field that is no number, or a position outside the list, selects nothing.
std::optional<qsizetype> startPosition(QStringView firstField, qsizetype count,
                                       QChar systemSeparator);

class GoodsList {
  public:
    explicit GoodsList(const RegionalSettings& regional) : regional_(regional) {}

    qsizetype count() const { return entries_.size(); }
    const QString& at(qsizetype position) const { return entries_.at(position); }

    // The selected position, -1 when no entry is selected.
    qsizetype selected() const { return selected_; }
    // The selected entry, the empty text when none is.
    QString selectedText() const;
    // Selects a position of the list, or nothing with -1; any other position is ignored.
    void select(qsizetype position);

    // Where a new entry goes: after every entry that sorts before it or equal to it.
    qsizetype insertPosition(const QString& entry) const;
    // Puts one entry at its sorted place and returns that place. A selected entry stays
    // selected, even when it moves down by one.
    qsizetype add(const QString& entry);
    // Puts many entries at their sorted places, as adding them one by one would, with one
    // sort instead of a search per entry.
    void addAll(QList<QString> entries);
    void clear();

    // "Найти" and Enter in the search box: selects the first entry from the top that contains
    // the search text, both upper-cased by the system's rules. An empty entry never matches;
    // an empty search text matches the first entry that is not empty. When nothing matches,
    // the selection stays as it was.
    void search(const QString& searchText);

    // "Добавить": adds the search box's text as it is, an empty one included, and selects the
    // last entry of the list (the new one only when it sorts last).
    void addSearchText(const QString& searchText);

  private:
    bool lessNoCase(const QString& a, const QString& b) const {
        return regional_.compareNoCase(a, b) < 0;
    }

    const RegionalSettings& regional_;
    QList<QString> entries_;
    qsizetype selected_ = -1;
};

// The file part of the directory window's load: reads spravoch.txt whole, fills the list
// and selects the entry its first field names. A file that cannot be opened is reported with
// "Не могу найти File", one that is no ordinary file (or vanished) with "Файл отсутствует!",
// an empty one with "Файл пуст!", one too large to convert with "Файл не удалось прочитать
// целиком!"; in each case the list stays empty.
void loadGoodsList(GoodsList& list, const DataDir& dir, MessageBoxes& messages,
                   QChar systemSeparator);

} // namespace tarvel
