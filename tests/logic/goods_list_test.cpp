// The goods directory: spravoch.txt into a sorted list, the entry its first field selects,
// search, "Добавить", the load's messages, and the stored place of the directory window.

#include "directory/goods_list.h"
#include "directory/window_place.h"
#include "support/fakes.h"

#include <QDir>
#include <gtest/gtest.h>

namespace tarvel::test {
namespace {

const FakeRegional kRegional;

TEST(GoodsFile, EntriesArePiecesBetweenCrLfPairsVerbatim) {
    const struct {
        const char16_t* text;
        QStringList entries;
    } cases[] = {{u"", {}},
                 {u"Молоко\r\nХлеб\r\n", {"Молоко", "Хлеб", ""}},
                 {u"Хлеб\nМолоко\rСыр\n\r", {"Хлеб\nМолоко\rСыр\n\r"}},
                 {u"a\r\r\nb", {"a\r", "b"}},
                 {u"  Сыр, 640.00\t\r\n\r\n ", {"  Сыр, 640.00\t", "", " "}}};
    for (const auto& c : cases)
        EXPECT_EQ(QStringList(splitGoodsEntries(c.text)), c.entries);
}

// The file's first field, up to a comma or the line's end, names the position to select in a
// list of three: -1 the first entry, halves to the even neighbour, anything else nothing.
TEST(GoodsFile, FirstFieldSelectsAPosition) {
    const struct {
        const char16_t* file;
        qsizetype selected; // -1: nothing
    } cases[] = {{u"1\r\nХлеб", 1},   {u"-1\r\nХлеб", 0},   {u"  2 ,x", 2},   {u"1\nМолоко", 1},
                 {u"\"1\", Хлеб", 1}, {u"1.5", 2},          {u"2.5", 2},      {u"0.5", 0},
                 {u"-0.5", 0},        {u"1E0", 1},          {u"1D0", 1},      {u".9", 1},
                 {u"3", -1},          {u"-2", -1},          {u"2abc", -1},    {u"1e400", -1},
                 {u"Хлеб, 1", -1},    {u"\"Хлеб, 1\"", -1}, {u"\"1,5\"", -1}, {u"", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(startPosition(readFirstField(c.file), 3, '.').value_or(-1), c.selected)
            << QString::fromUtf16(c.file).toStdString();
    EXPECT_EQ(startPosition(readFirstField(u"\"1,5\""), 3, ','), 2); // the system's separator
}

struct ListRig {
    FakeRegional regional;
    GoodsList list{regional};
    RecordingMessages messages;
    TempDataDir files;
    void load() { loadGoodsList(list, files.dataDir(), messages, regional.separator); }
};

TEST(GoodsLoad, Windows1251FileFillsTheSortedListAndItsFirstFieldSelects) {
    ListRig rig;
    rig.files.writeBytes(kGoodsFileName, "1\r\n\xd5\xeb\xe5\xe1, 25.00\r\n\xc1\r\n");
    rig.load();
    EXPECT_EQ(QStringList(rig.list.entries()), (QStringList{"", "1", "Б", "Хлеб, 25.00"}));
    EXPECT_EQ(rig.list.selectedText(), "1");
    EXPECT_TRUE(rig.messages.shown.isEmpty());
}

TEST(GoodsLoad, EveryFailureHasItsMessageAndLeavesTheListEmpty) {
    using Icon = MessageBoxes::Icon;
    const struct {
        void (*prepare)(const TempDataDir&);
        QString text, caption;
        Icon icon;
    } cases[] = {{[](const TempDataDir&) {}, "Не могу найти File", "Tarvel", Icon::None},
                 {[](const TempDataDir& d) { QDir(d.path("")).mkdir(kGoodsFileName); },
                  "Не могу найти File", "Tarvel", Icon::None},
                 {[](const TempDataDir& d) { QFile::link("/dev/null", d.path(kGoodsFileName)); },
                  "Файл отсутствует!", "Ошибка загрузки файла *.txt", Icon::Critical},
                 {[](const TempDataDir& d) { d.writeBytes(kGoodsFileName, {}); }, "Файл пуст!",
                  "Ошибка загрузки файла *.txt", Icon::Critical}};
    for (const auto& c : cases) {
        ListRig rig;
        c.prepare(rig.files);
        rig.load();
        EXPECT_EQ(rig.messages.texts(), QStringList{c.text});
        EXPECT_EQ(rig.messages.shown.value(0).caption, c.caption);
        EXPECT_EQ(rig.messages.shown.value(0).icon, c.icon);
        EXPECT_EQ(rig.list.count(), 0);
    }
}

TEST(GoodsList, SortsWithoutRegardToCaseAndKeepsTheSelectedEntry) {
    GoodsList all(kRegional), oneByOne(kRegional);
    const QStringList in{"яблоки", "Молоко", "apple", "Banana", "АРБУЗ", "хлеб", "", "Хлеб"};
    all.addAll(in);
    for (const QString& entry : in)
        oneByOne.add(entry);
    EXPECT_EQ(QStringList(all.entries()),
              (QStringList{"", "apple", "Banana", "АРБУЗ", "Молоко", "хлеб", "Хлеб", "яблоки"}));
    EXPECT_EQ(oneByOne.entries(), all.entries());
    oneByOne.select(4);
    EXPECT_EQ(oneByOne.add("ХЛЕБ"), 7); // after the entries equal to it
    oneByOne.addAll({"Б", "а"});
    EXPECT_EQ(oneByOne.selectedText(), "Молоко");
}

TEST(GoodsList, SearchSelectsTheFirstEntryContainingTheTextOrKeepsTheSelection) {
    GoodsList list(kRegional);
    list.search(QString()); // an empty list: nothing to select
    EXPECT_EQ(list.selected(), -1);
    list.addAll({"", "Хлеб белый 25.00", "Молоко", "Хлеб ржаной", "", "сыр"});
    // Sorted: "", "", "Молоко", "сыр", "Хлеб белый 25.00", "Хлеб ржаной".
    const struct {
        const char* text;
        qsizetype before, after;
    } cases[] = {{"хлеб", -1, 4}, {"ХЛЕБ", 2, 4},    {"ЛЕБ", 5, 4}, {"ржан", -1, 5},
                 {"кефир", 2, 2}, {"кефир", -1, -1}, {"", 5, 2},    {" ", 0, 4}};
    for (const auto& c : cases) {
        list.select(c.before);
        list.search(QString::fromUtf8(c.text));
        EXPECT_EQ(list.selected(), c.after) << c.text << " from " << c.before;
    }
}

TEST(GoodsList, AddPutsTheTextInItsPlaceAndSelectsTheLastEntry) {
    GoodsList list(kRegional);
    list.addAll({"Хлеб", "Молоко"});
    list.CmdDob_Click("Яблоки");
    list.CmdDob_Click("Арбуз");
    list.CmdDob_Click("Арбуз");
    list.CmdDob_Click(QString());
    EXPECT_EQ(QStringList(list.entries()),
              (QStringList{"", "Арбуз", "Арбуз", "Молоко", "Хлеб", "Яблоки"}));
    EXPECT_EQ(list.selectedText(), "Яблоки");
}

TEST(WindowPlace, DefaultsNumbersInEitherSeparatorAndBadValuesKeepTheirMeasure) {
    FakeSettings settings;
    EXPECT_EQ(readWindowPlace(settings, '.', {10, 20, 30, 40}),
              (TwipsRect{1000, 1000, 6500, 6500}));
    storeWindowPlace(settings, ',', {-150, 1305, 6480.5f, 5000});
    EXPECT_EQ(settings.values.value("MainWidth"), "6480,5");
    EXPECT_EQ(readWindowPlace(settings, ',', {}), (TwipsRect{-150, 1305, 6480.5f, 5000}));
    settings.values = {{"MainTop", "верх"}, {"MainWidth", ""}, {"MainHeight", "-5"}};
    EXPECT_EQ(readWindowPlace(settings, '.', {10, 20, 30, 40}), (TwipsRect{1000, 20, 30, 40}));
}

} // namespace
} // namespace tarvel::test
