#include "goods/goods_list.h"

#include "numbers/numbers.h"
#include "register/file_messages.h"
#include "storage/codepage.h"
#include "storage/data_dir.h"
#include "storage/text_files.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace tarvel {

// Entries are separated by CR LF pairs only.
static constexpr QStringView kEntryEnd = u"\r\n";

QList<QString> splitGoodsEntries(QStringView text) {
    QList<QString> entries;
    if (text.isEmpty()) return entries;
    qsizetype start = 0;
    for (qsizetype i = text.indexOf(kEntryEnd); i >= 0; i = text.indexOf(kEntryEnd, start)) {
        entries.append(text.mid(start, i - start).toString());
        start = i + kEntryEnd.size();
    }
    entries.append(text.mid(start).toString());
    return entries;
}

static bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

QString readFirstField(QStringView fileText) {
    qsizetype i = 0;
    while (i < fileText.size() && isBlank(fileText[i]))
        ++i;
    if (i < fileText.size() && fileText[i] == u'"') {
        const qsizetype close = fileText.indexOf(u'"', i + 1);
        const qsizetype end = close < 0 ? fileText.size() : close;
        return fileText.mid(i + 1, end - i - 1).toString();
    }
    qsizetype end = i;
    while (end < fileText.size() && fileText[end] != u',' && fileText[end] != u'\r' &&
           fileText[end] != u'\n')
        ++end;
    return fileText.mid(i, end - i).toString();
}

std::optional<qsizetype> startPosition(QStringView firstField, qsizetype count,
                                       QChar systemSeparator) {
    const std::optional<double> number = readWholeNumber(firstField, systemSeparator);
    if (!number) return std::nullopt;
    if (*number == -1) return count > 0 ? std::optional<qsizetype>(0) : std::nullopt;
    // The list takes a whole position: the nearest one, a half going to the even neighbour
    // (2.5 selects 2, 3.5 selects 4).
    const double position = std::nearbyint(*number);
    if (!(position >= 0 && position < double(count))) return std::nullopt;
    return qsizetype(position);
}

QString GoodsList::selectedText() const {
    return selected_ >= 0 ? entries_.at(selected_) : QString();
}

void GoodsList::select(qsizetype position) {
    if (position >= -1 && position < entries_.size()) selected_ = position;
}

qsizetype GoodsList::insertPosition(const QString& entry) const {
    const auto it =
        std::upper_bound(entries_.cbegin(), entries_.cend(), entry,
                         [this](const QString& a, const QString& b) { return lessNoCase(a, b); });
    return it - entries_.cbegin();
}

qsizetype GoodsList::add(const QString& entry) {
    const qsizetype position = insertPosition(entry);
    entries_.insert(position, entry);
    if (selected_ >= position) ++selected_;
    return position;
}

void GoodsList::addAll(QList<QString> entries) {
    const auto less = [this](const QString& a, const QString& b) { return lessNoCase(a, b); };
    std::stable_sort(entries.begin(), entries.end(), less);
    if (entries_.isEmpty()) {
        entries_ = std::move(entries);
        return;
    }
    // Entries already in the list stay before new ones that sort equal to them, and the
    // selection keeps its entry.
    const qsizetype keepRank = selected_ < 0 ? -1 : selected_;
    QList<QString> merged;
    merged.reserve(entries_.size() + entries.size());
    qsizetype newBefore = 0;
    auto fresh = entries.begin();
    for (qsizetype old = 0; old < entries_.size(); ++old) {
        while (fresh != entries.end() && less(*fresh, entries_[old])) {
            merged.append(std::move(*fresh++));
            if (old <= keepRank) ++newBefore;
        }
        merged.append(std::move(entries_[old]));
    }
    while (fresh != entries.end())
        merged.append(std::move(*fresh++));
    entries_ = std::move(merged);
    if (keepRank >= 0) selected_ = keepRank + newBefore;
}

void GoodsList::clear() {
    entries_.clear();
    selected_ = -1;
}

void GoodsList::search(const QString& searchText) {
    const QString wanted = regional_.toUpper(searchText);
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        const QString& entry = entries_[i];
        if (entry.isEmpty()) continue;
        if (regional_.toUpper(entry).contains(wanted)) {
            selected_ = i;
            return;
        }
    }
}

void GoodsList::addSearchText(const QString& searchText) {
    add(searchText);
    selected_ = entries_.size() - 1;
}

namespace {

enum class GoodsFileStatus { Read, CannotOpen, NotOrdinary, Undecodable };

struct GoodsFile {
    GoodsFileStatus status = GoodsFileStatus::CannotOpen;
    QString text;
};

GoodsFile readGoodsFile(const QString& path) {
    // A device or a pipe in the file's place is no directory file; the storage never opens
    // one, since reading a pipe could wait for ever.
    const FileBytes file = readFileBytes(path);
    if (file.error) {
        const bool notOrdinary = file.error->reason == FileProblem::NotAFile;
        return {notOrdinary ? GoodsFileStatus::NotOrdinary : GoodsFileStatus::CannotOpen, {}};
    }
    // The file is read while it is open; if it vanished meanwhile, the operator removed or
    // renamed it, and the list is not filled from a file that no longer exists.
    if (!QFileInfo(path).isFile()) return {GoodsFileStatus::NotOrdinary, {}};
    std::optional<QString> text = decodeWindows1251(file.bytes);
    if (!text) return {GoodsFileStatus::Undecodable, {}};
    return {GoodsFileStatus::Read, std::move(*text)};
}

} // namespace

void loadGoodsList(GoodsList& list, const DataDir& dir, MessageBoxes& messages,
                   QChar systemSeparator) {
    const GoodsFile file = readGoodsFile(dir.filePath(kGoodsFileName));
    switch (file.status) {
    case GoodsFileStatus::CannotOpen:
        messages.show(kCannotFindFile, kProgramTitle, MessageBoxes::Icon::None);
        return;
    case GoodsFileStatus::NotOrdinary:
        messages.show(kGoodsFileMissing, kGoodsLoadCaption, MessageBoxes::Icon::Critical);
        return;
    case GoodsFileStatus::Undecodable:
        messages.show(kGoodsFileUnreadable, kGoodsLoadCaption, MessageBoxes::Icon::Critical);
        return;
    case GoodsFileStatus::Read:
        break;
    }
    QList<QString> entries = splitGoodsEntries(file.text);
    if (entries.isEmpty()) {
        messages.show(kGoodsFileEmpty, kGoodsLoadCaption, MessageBoxes::Icon::Critical);
        return;
    }
    list.addAll(std::move(entries));
    const std::optional<qsizetype> start =
        startPosition(readFirstField(file.text), list.count(), systemSeparator);
    if (start) list.select(*start);
}

} // namespace tarvel
