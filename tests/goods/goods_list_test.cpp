// The goods directory: file, sorted list, selection, search, "Добавить".

#include "goods/goods_list.h"
#include "support/fakes.h"

#include <QDir>
#include <gtest/gtest.h>

namespace tarvel::test {
namespace {

const FakeRegional kRegional;

QStringList entriesOf(const GoodsList& list) {
    QStringList entries;
    for (qsizetype i = 0; i < list.count(); ++i)
        entries << list.at(i);
    return entries;
}

TEST(GoodsFile, EntriesArePiecesBetweenCrLfPairsVerbatim) {
    const std::pair<const char16_t*, QStringList> cases[] = {
        {u"", {}},
        {u"Молоко\r\nХлеб\r\n", {"Молоко", "Хлеб", ""}},
        {u"Хлеб\nМолоко\rСыр\n\r", {"Хлеб\nМолоко\rСыр\n\r"}},
        {u"a\r\r\nb\r\n\r\n ", {"a\r", "b", "", " "}}};
    for (const auto& [text, entries] : cases)
        EXPECT_EQ(QStringList(splitGoodsEntries(text)), entries);
}

// The first field selects in a list of three: -1 the first, halves to even, else none (-1).
TEST(GoodsFile, FirstFieldSelectsAPosition) {
    const std::pair<const char16_t*, qsizetype> cases[] = {
        {u"1\r\nХлеб", 1},   {u"-1\r\nХлеб", 0},   {u"  2 ,x", 2},   {u"1\nМолоко", 1},
        {u"\"1\", Хлеб", 1}, {u"1.5", 2},          {u"2.5", 2},      {u"0.5", 0},
        {u"-0.5", 0},        {u"1E0", 1},          {u"1D0", 1},      {u".9", 1},
        {u"3", -1},          {u"-2", -1},          {u"2abc", -1},    {u"1e400", -1},
        {u"Хлеб, 1", -1},    {u"\"Хлеб, 1\"", -1}, {u"\"1,5\"", -1}, {u"", -1}};
    for (const auto& [file, selected] : cases)
        EXPECT_EQ(startPosition(readFirstField(file), 3, '.').value_or(-1), selected)
            << QString::fromUtf16(file).toStdString();
    EXPECT_EQ(startPosition(readFirstField(u"\"1,5\""), 3, ','), 2); // the system's separator
}

// A file fills the sorted list; missing, a folder, a device or empty: its message, an empty list.
TEST(GoodsLoad, FillsTheSortedListOrTellsWhyNot) {
    const QString critical = "|" + kGoodsLoadCaption + "|critical";
    const QString cases[] = {"", kCannotFindFile + "|Tarvel|", kCannotFindFile + "|Tarvel|",
                             kGoodsFileMissing + critical, kGoodsFileEmpty + critical};
    for (int i = 0; i < 5; ++i) {
        GoodsList list(kRegional);
        TempDataDir files;
        if (i == 0) files.writeBytes(kGoodsFileName, "1\r\n\xd5\xeb\xe5\xe1, 25\r\n\xc1\r\n");
        if (i == 2) QDir(files.path("")).mkdir(kGoodsFileName);
#ifdef Q_OS_WIN
        if (i == 3) continue; // a link there is a shortcut file, and devices have no path
#else
        if (i == 3) QFile::link("/dev/null", files.path(kGoodsFileName));
#endif
        if (i == 4) files.writeBytes(kGoodsFileName, {});
        const auto problem = loadGoodsList(list, files.dataDir(), kRegional.separator);
        EXPECT_EQ(problem ? problem->text + "|" + problem->caption +
                                (problem->critical ? "|critical" : "|")
                          : QString(),
                  cases[i]);
        EXPECT_EQ(entriesOf(list), (i ? QStringList() : QStringList{"", "1", "Б", "Хлеб, 25"}));
        EXPECT_EQ(list.selectedText(), QString(i ? "" : "1"));
    }
}

TEST(GoodsList, SortsWithoutRegardToCaseAndKeepsTheSelectedEntry) {
    GoodsList all(kRegional), oneByOne(kRegional);
    const QStringList in{"яблоки", "Молоко", "apple", "Banana", "АРБУЗ", "хлеб", "", "Хлеб"};
    all.addAll(in);
    for (const QString& entry : in)
        oneByOne.add(entry);
    EXPECT_EQ(entriesOf(all).join(u','), ",apple,Banana,АРБУЗ,Молоко,хлеб,Хлеб,яблоки");
    EXPECT_EQ(entriesOf(oneByOne), entriesOf(all));
    oneByOne.select(4);
    EXPECT_EQ(oneByOne.add("ХЛЕБ"), 7); // after the entries equal to it
    oneByOne.addAll({"Б", "а"});
    EXPECT_EQ(oneByOne.selectedText(), "Молоко");
    all.addSearchText("Арбуз"); // "Добавить": the entry in its place, the last entry selected
    all.addSearchText(QString());
    EXPECT_EQ(entriesOf(all).join(u','), ",,apple,Banana,АРБУЗ,Арбуз,Молоко,хлеб,Хлеб,яблоки");
    EXPECT_EQ(all.selectedText(), "яблоки");
}

TEST(GoodsList, SearchSelectsTheFirstEntryContainingTheTextOrKeepsTheSelection) {
    GoodsList list(kRegional);
    list.search(QString()); // an empty list: nothing to select
    EXPECT_EQ(list.selected(), -1);
    list.addAll({"", "Хлеб белый 25.00", "Молоко", "Хлеб ржаной", "", "сыр"});
    // Sorted: "", "", "Молоко", "сыр", "Хлеб белый 25.00", "Хлеб ржаной". Text, before, after:
    const std::tuple<const char*, qsizetype, qsizetype> cases[] = {
        {"хлеб", -1, 4}, {"ХЛЕБ", 2, 4},    {"ЛЕБ", 5, 4}, {"ржан", -1, 5},
        {"кефир", 2, 2}, {"кефир", -1, -1}, {"", 5, 2},    {" ", 0, 4}};
    for (const auto& [text, before, after] : cases) {
        list.select(before);
        list.search(QString::fromUtf8(text));
        EXPECT_EQ(list.selected(), after) << text << " from " << before;
    }
}

} // namespace
} // namespace tarvel::test
