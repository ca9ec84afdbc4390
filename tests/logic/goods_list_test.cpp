// The goods directory list: how spravoch.txt becomes entries, which entry its first field
// selects, the sorted order, the search and the "Добавить" button.

#include "directory/goods_list.h"
#include "directory/window_place.h"
#include "storage/tapes.h"
#include "support/fakes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

namespace tarvel::test {
namespace {

QStringList toStringList(const QList<QString>& list) {
    return QStringList(list);
}

struct SplitCase {
    const char* name;
    const char16_t* text;
    QStringList entries;
};

TEST(GoodsFileSplit, PiecesBetweenCrLfPairsVerbatim) {
    const SplitCase cases[] = {
        {"empty text, no entry", u"", {}},
        {"one line without ending", u"Хлеб", {"Хлеб"}},
        {"final CR LF gives an empty entry", u"Молоко\r\nХлеб\r\n", {"Молоко", "Хлеб", ""}},
        {"just CR LF gives two empty entries", u"\r\n", {"", ""}},
        {"LF alone stays inside", u"Хлеб\nМолоко\n", {"Хлеб\nМолоко\n"}},
        {"CR alone stays inside", u"Хлеб\rМолоко", {"Хлеб\rМолоко"}},
        {"LF CR is no separator", u"a\n\rb", {"a\n\rb"}},
        {"CR CR LF keeps the first CR", u"a\r\r\nb", {"a\r", "b"}},
        {"spaces, commas, tabs kept", u"  Сыр, 640.00\t\r\n ", {"  Сыр, 640.00\t", " "}},
        {"blank lines are entries", u"a\r\n\r\nb", {"a", "", "b"}},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(toStringList(splitGoodsEntries(QString::fromUtf16(c.text))), c.entries) << c.name;
}

struct FieldCase {
    const char16_t* text;
    const char16_t* field;
};

TEST(GoodsFirstField, UpToCommaOrLineEndQuotedToNextQuote) {
    const FieldCase cases[] = {
        {u"Хлеб белый, 25.00\r\nМолоко", u"Хлеб белый"},
        {u"2\r\nХлеб", u"2"},
        {u"   7 ,x", u"7 "},
        {u"\t3\r\n", u"3"},
        {u"\"Хлеб, белый\", 25", u"Хлеб, белый"},
        {u"\"2\"\r\n", u"2"},
        {u"\"без конца", u"без конца"},
        {u"1\nМолоко", u"1"},
        {u",5", u""},
        {u"", u""},
    };
    for (const FieldCase& c : cases)
        EXPECT_EQ(readFirstField(QString::fromUtf16(c.text)), QString::fromUtf16(c.field))
            << QString::fromUtf16(c.text).toStdString();
}

struct StartCase {
    const char* field;
    qsizetype count;
    std::optional<qsizetype> position;
};

TEST(GoodsFirstField, SelectsAPositionOfTheSortedList) {
    const StartCase cases[] = {
        {"1", 3, 1},
        {"0", 3, 0},
        {"-1", 3, 0},
        {"-1.0", 3, 0},
        {"2", 3, 2},
        {"3", 3, std::nullopt},
        {"-2", 3, std::nullopt},
        {"1.5", 3, 2},
        {"2.5", 5, 2},
        {"0.5", 3, 0},
        {"-0.5", 3, 0},
        {"1.4999", 3, 1},
        {"-1.4", 3, std::nullopt},
        {" 2 ", 3, 2},
        {"1E0", 3, 1},
        {"1D0", 3, 1},
        {"+1", 3, 1},
        {".9", 3, 1},
        {"1,5", 3, 2},
        {"Молоко", 3, std::nullopt},
        {"", 3, std::nullopt},
        {"2abc", 3, std::nullopt},
        {"1e400", 3, std::nullopt},
        {"1e", 3, std::nullopt},
        {"-", 3, std::nullopt},
        {"-1", 0, std::nullopt},
    };
    for (const StartCase& c : cases)
        EXPECT_EQ(startPosition(QString::fromUtf8(c.field), c.count, QLatin1Char(',')), c.position)
            << c.field;
    // "." is a decimal point in every locale; "," only where the system writes it.
    EXPECT_EQ(startPosition(u"1,5", 3, QLatin1Char('.')), std::nullopt);
}

struct ListRig {
    FakeRegional regional;
    GoodsList list{regional};
    RecordingMessages messages;
    TempDataDir files;

    void load(const QString& fileText) {
        files.writeText(kGoodsFileName, fileText);
        loadGoodsList(list, files.dataDir(), messages, regional.separator);
    }
    QStringList entries() const { return toStringList(list.entries()); }
};

TEST(GoodsLoad, FileEdgeCases) {
    struct Case {
        const char16_t* file;
        QStringList entries;
        qsizetype selected;
    };
    const Case cases[] = {
        {u"Молоко\r\nХлеб\r\n", {"", "Молоко", "Хлеб"}, -1},
        {u"Молоко\r\nХлеб", {"Молоко", "Хлеб"}, -1},
        {u"Молоко\nХлеб\n", {"Молоко\nХлеб\n"}, -1},
        {u"1\r\nЯйца\r\nАрбуз", {"1", "Арбуз", "Яйца"}, 1},
        {u"-1\r\nЯйца\r\nАрбуз", {"-1", "Арбуз", "Яйца"}, 0},
        {u"5\r\nЯйца\r\nАрбуз", {"5", "Арбуз", "Яйца"}, -1},
        {u"2.5, номер\r\nв\r\nб\r\nа", {"2.5, номер", "а", "б", "в"}, 2},
        {u"\"1\"\r\nб\r\nа", {"\"1\"", "а", "б"}, 1},
    };
    for (const Case& c : cases) {
        ListRig rig;
        rig.load(QString::fromUtf16(c.file));
        EXPECT_EQ(rig.entries(), c.entries) << QString::fromUtf16(c.file).toStdString();
        EXPECT_EQ(rig.list.selected(), c.selected) << QString::fromUtf16(c.file).toStdString();
        EXPECT_TRUE(rig.messages.shown.isEmpty());
    }
}

TEST(GoodsLoad, ReadsWindows1251Bytes) {
    ListRig rig;
    rig.files.writeBytes(kGoodsFileName, QByteArray("\xd5\xeb\xe5\xe1, 25.00\r\n\xc1"));
    loadGoodsList(rig.list, rig.files.dataDir(), rig.messages, QLatin1Char('.'));
    EXPECT_EQ(rig.entries(), (QStringList{"Б", "Хлеб, 25.00"}));
}

TEST(GoodsLoad, MessagesForMissingEmptyAndUnreadableFiles) {
    using Icon = MessageBoxes::Icon;
    {
        ListRig rig;
        loadGoodsList(rig.list, rig.files.dataDir(), rig.messages, QLatin1Char('.'));
        ASSERT_EQ(rig.messages.shown.size(), 1);
        EXPECT_EQ(rig.messages.shown[0].text, "Не могу найти File");
        EXPECT_EQ(rig.messages.shown[0].caption, "Tarvel");
        EXPECT_EQ(rig.messages.shown[0].icon, Icon::None);
        EXPECT_EQ(rig.list.count(), 0);
    }
    {
        ListRig rig;
        rig.load(QString());
        ASSERT_EQ(rig.messages.shown.size(), 1);
        EXPECT_EQ(rig.messages.shown[0].text, "Файл пуст!");
        EXPECT_EQ(rig.messages.shown[0].caption, "Ошибка загрузки файла *.txt");
        EXPECT_EQ(rig.messages.shown[0].icon, Icon::Critical);
        EXPECT_EQ(rig.list.count(), 0);
        EXPECT_EQ(rig.list.selected(), -1);
    }
    {
        // A directory where the file should be cannot be opened as one.
        ListRig rig;
        ASSERT_TRUE(QDir(rig.files.path(QString())).mkdir(kGoodsFileName));
        loadGoodsList(rig.list, rig.files.dataDir(), rig.messages, QLatin1Char('.'));
        EXPECT_EQ(rig.messages.texts(), QStringList{"Не могу найти File"});
    }
    {
        // A device in the file's place is no ordinary file: "Файл отсутствует!".
        ListRig rig;
        ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), rig.files.path(kGoodsFileName)));
        loadGoodsList(rig.list, rig.files.dataDir(), rig.messages, QLatin1Char('.'));
        ASSERT_EQ(rig.messages.shown.size(), 1);
        EXPECT_EQ(rig.messages.shown[0].text, "Файл отсутствует!");
        EXPECT_EQ(rig.messages.shown[0].caption, "Ошибка загрузки файла *.txt");
        EXPECT_EQ(rig.messages.shown[0].icon, Icon::Critical);
        EXPECT_EQ(rig.list.count(), 0);
    }
}

TEST(GoodsList, SortsWithoutRegardToCaseCyrillicIncluded) {
    FakeRegional regional;
    GoodsList list(regional);
    list.addAll({"яблоки", "Молоко", "apple", "Banana", "АРБУЗ", "хлеб", "Ёж", "", "Хлеб"});
    // The fake's order is QString's without case: Latin before Cyrillic, letters by their
    // lower-case code (so Ё after Я); the system collation places Ё by the alphabet.
    EXPECT_EQ(toStringList(list.entries()), (QStringList{"", "apple", "Banana", "АРБУЗ", "Молоко",
                                                         "хлеб", "Хлеб", "яблоки", "Ёж"}));
    // One by one gives the same order: an entry goes after those equal to it.
    GoodsList oneByOne(regional);
    for (const char* e : {"яблоки", "Молоко", "apple", "Banana", "АРБУЗ", "хлеб", "Ёж", "", "Хлеб"})
        oneByOne.add(QString::fromUtf8(e));
    EXPECT_EQ(oneByOne.entries(), list.entries());
    EXPECT_EQ(oneByOne.add("ХЛЕБ"), 7);
    EXPECT_EQ(oneByOne.at(5), "хлеб");
    EXPECT_EQ(oneByOne.at(6), "Хлеб");
}

TEST(GoodsList, SelectionStaysWithItsEntryWhenOthersAreAdded) {
    FakeRegional regional;
    GoodsList list(regional);
    list.addAll({"в", "д"});
    list.select(1);
    list.add("а");
    EXPECT_EQ(list.selectedText(), "д");
    list.addAll({"б", "е", "г"});
    EXPECT_EQ(list.selectedText(), "д");
    EXPECT_EQ(list.selected(), 4);
    list.select(99);
    EXPECT_EQ(list.selected(), 4);
    list.select(-1);
    EXPECT_EQ(list.selectedText(), "");
}

TEST(GoodsSearch, FirstEntryFromTheTopContainingTheText) {
    FakeRegional regional;
    GoodsList list(regional);
    list.addAll({"", "Хлеб белый 25.00", "Молоко", "Хлеб ржаной", "", "сыр"});
    // Sorted: "", "", "Молоко", "сыр", "Хлеб белый 25.00", "Хлеб ржаной".
    struct Case {
        const char* text;
        qsizetype before;
        qsizetype after;
    };
    const Case cases[] = {
        {"хлеб", -1, 4}, {"ХЛЕБ", 2, 4},    {"ЛЕБ", 5, 4}, {"ржан", -1, 5}, {"СЫР", 4, 3},
        {"кефир", 2, 2}, {"кефир", -1, -1}, {"", 5, 2},    {" ", 0, 4},     {"25.", -1, 4},
    };
    for (const Case& c : cases) {
        list.select(c.before);
        list.search(QString::fromUtf8(c.text));
        EXPECT_EQ(list.selected(), c.after) << c.text << " from " << c.before;
    }
}

TEST(GoodsSearch, EmptyListAndOnlyEmptyEntriesSelectNothing) {
    FakeRegional regional;
    GoodsList list(regional);
    list.search(QString());
    EXPECT_EQ(list.selected(), -1);
    list.addAll({"", ""});
    list.search(QString());
    EXPECT_EQ(list.selected(), -1);
}

TEST(GoodsAdd, AddsTheSearchTextAndSelectsTheLastEntry) {
    FakeRegional regional;
    GoodsList list(regional);
    list.addAll({"Хлеб", "Молоко"});
    list.CmdDob_Click("Яблоки");
    EXPECT_EQ(toStringList(list.entries()), (QStringList{"Молоко", "Хлеб", "Яблоки"}));
    EXPECT_EQ(list.selectedText(), "Яблоки");
    // Not the last in order: the new entry takes its place, the last entry is selected.
    list.CmdDob_Click("Арбуз");
    EXPECT_EQ(list.at(0), "Арбуз");
    EXPECT_EQ(list.selectedText(), "Яблоки");
    list.CmdDob_Click("Арбуз");
    list.CmdDob_Click(QString());
    EXPECT_EQ(toStringList(list.entries()),
              (QStringList{"", "Арбуз", "Арбуз", "Молоко", "Хлеб", "Яблоки"}));
    EXPECT_EQ(list.selected(), 5);
}

TEST(GoodsLoad, BigFileLoadsAndSearchesQuickly) {
    ListRig rig;
    QString text;
    const int n = 200000;
    for (int i = n; i > 0; --i)
        text += QStringLiteral("Товар %1, %2.00\r\n").arg(i).arg(i % 97);
    QElapsedTimer timer;
    timer.start();
    rig.load(text);
    rig.list.search(QStringLiteral("товар 1,"));
    rig.list.CmdDob_Click(QStringLiteral("Яблоки"));
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(rig.list.count(), n + 2);
    EXPECT_EQ(rig.list.at(0), "");
}

TEST(WindowPlace, SettingsReadWithDefaultsAndBadValuesKeepTheMeasure) {
    FakeSettings settings;
    const TwipsRect current{10, 20, 30, 40};
    EXPECT_EQ(readWindowPlace(settings, QLatin1Char('.'), current),
              (TwipsRect{1000, 1000, 6500, 6500}));
    settings.values = {
        {"MainLeft", " 1500 "}, {"MainTop", "x"}, {"MainWidth", "7000,5"}, {"MainHeight", "-5"}};
    EXPECT_EQ(readWindowPlace(settings, QLatin1Char(','), current),
              (TwipsRect{1500, 20, 7000.5f, 40}));
    EXPECT_EQ(readWindowPlace(settings, QLatin1Char('.'), current), (TwipsRect{1500, 20, 30, 40}));
    settings.values = {{"MainLeft", "-300"}, {"MainTop", "1e39"}, {"MainWidth", ""}};
    EXPECT_EQ(readWindowPlace(settings, QLatin1Char('.'), current),
              (TwipsRect{-300, 20, 30, 6500}));
}

TEST(WindowPlace, StoredAsGeneralNumbersAndReadBack) {
    for (const QChar sep : {QLatin1Char('.'), QLatin1Char(',')}) {
        FakeSettings settings;
        const TwipsRect place{-150, 1305, 6480.5f, 5000};
        storeWindowPlace(settings, sep, place);
        EXPECT_EQ(settings.values.value("MainLeft"), "-150");
        EXPECT_EQ(settings.values.value("MainWidth"), QStringLiteral("6480") + sep + "5");
        EXPECT_EQ(readWindowPlace(settings, sep, {}), place);
    }
}

TEST(WindowPlace, TwipsAndPixelsAtScreenResolutions) {
    EXPECT_EQ(twipsToPixels(1000, 96), 67);
    EXPECT_EQ(twipsToPixels(6500, 96), 433);
    EXPECT_EQ(twipsToPixels(6500, 120), 542);
    EXPECT_EQ(twipsToPixels(1440, 144), 144);
    EXPECT_EQ(pixelsToTwips(433, 96), 6495);
    EXPECT_EQ(pixelsToTwips(100, 120), 1200);
    EXPECT_EQ(twipsToPixels(-3e38, 96), -(1 << 23));
    // The list keeps 500 twips of the width and 1500 of the height, never going below 0.
    EXPECT_EQ(fittedListPixels(320, 500, 96), 287);
    EXPECT_EQ(fittedListPixels(342, 1500, 96), 242);
    EXPECT_EQ(fittedListPixels(20, 500, 96), 0);
    EXPECT_EQ(fittedListPixels(0, 1500, 96), 0);
}

} // namespace
} // namespace tarvel::test
