// The window "Журнал группы" over a made-up class: cells, sorting, attempts, reload, the report.

#include "exercises/key_log.h"
#include "exercises/results_file.h"
#include "support/modal_watch.h"
#include "support/named_rows.h"
#include "ui/group_report.h"
#include "ui/group_table.h"
#include "ui/group_window.h"

#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

const QString kReturn = QStringLiteral("Возврат");
const QString kCard = QStringLiteral("Оплата картой");

ResultRow attempt(const QString& trainee, const QString& title, QDateTime when, int right,
                  qint64 seconds, bool completed) {
    ExerciseResult result{.right = right, .total = 5, .seconds = seconds, .completed = completed};
    if (right < 5) result.mistakes = {{MistakeKind::WrongChange, 5 - right}};
    return {std::move(when), trainee, title, result};
}

QDateTime day(int d, int hour = 10) {
    return QDateTime(QDate(2026, 12, d), QTime(hour, 0));
}

// Over a class folder: a data folder per trainee, written as the trainees' registers write them.
class GroupWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        add("aksenova", attempt("Аксенова", kReturn, day(1), 3, 300, false));
        add("aksenova", attempt("Аксенова", kReturn, day(2), 5, 125, true));
        add("borisov", attempt("Борисов", kReturn, day(3), 4, 90, true));
        add("vlasova", attempt("Власова", kCard, day(4), 5, 61, true));
        QDir(dir_.path()).mkpath("grigoriev");             // no results.csv: never started
        QDir(dir_.path()).mkpath("dmitrieva/results.csv"); // a folder where the file should be
        window = std::make_unique<GroupWindow>(
            path(), [this](const QString& log, const QString& data) { replayed << log << data; });
        window->show();
        table = window->findChild<QTableView*>("GroupTable");
        ASSERT_NE(table, nullptr);
    }
    void add(const QString& folder, const ResultRow& row) const {
        QDir(dir_.path()).mkpath(folder);
        ASSERT_EQ(appendResult(path(folder), row), QString());
    }
    QString path(const QString& folder = {}) const {
        return folder.isEmpty() ? dir_.path() : dir_.filePath(folder);
    }
    int column(const QString& title) const {
        if (title.isEmpty()) return 0; // the trainees' names
        for (int c = 0; c < table->model()->columnCount(); ++c)
            if (table->model()->headerData(c, Qt::Horizontal, Qt::ToolTipRole) == title) return c;
        ADD_FAILURE() << "no column " << title.toStdString();
        return 0;
    }
    int row(const QString& name) const {
        const int r = int(names().indexOf(name));
        if (r < 0) ADD_FAILURE() << "no row " << name.toStdString();
        return std::max(r, 0);
    }
    QVariant cell(const QString& name, const QString& title, int role) const {
        return table->model()->index(row(name), column(title)).data(role);
    }
    QStringList names() const {
        QStringList shown;
        for (int r = 0; r < table->model()->rowCount(); ++r)
            shown << table->model()->index(r, 0).data(GroupTableModel::SortRole).toString();
        return shown;
    }

    QTemporaryDir dir_;
    QStringList replayed;
    std::unique_ptr<GroupWindow> window;
    QTableView* table = nullptr;

  private:
    ModalWatch modalWatch_;
};

struct CellCase : NamedRow {
    const char* trainee;
    const char* exercise;
    const char* text; // the cell's text, lines joined by "|"
    CellState colour;
    const char* tip = ""; // a part of the tooltip
};

const CellCase kCells[] = {
    {"Done", "Аксенова", "Возврат", "5 из 5 · 2:05|попыток: 2", CellState::Done, "выполнено"},
    {"NotPassed", "Борисов", "Возврат", "4 из 5 · 1:30|попыток: 1", CellState::NotPassed,
     "верно 4 из 5 за 1:30"},
    {"NotTried", "Власова", "Возврат", "—", CellState::NotTried, "не пробовал"},
    {"NeverStarted", "grigoriev", "Возврат", "—", CellState::NotTried, "не начинал"},
    {"Unreadable", "dmitrieva", "Оплата картой", "—", CellState::NotTried, "не читается"},
};

class GroupCellTest : public GroupWindowTest, public testing::WithParamInterface<CellCase> {};

TEST_P(GroupCellTest, ShowsTheBestAttemptInItsColour) {
    const CellCase& c = GetParam();
    EXPECT_EQ(cell(c.trainee, c.exercise, Qt::DisplayRole).toString(),
              QString(c.text).replace('|', '\n'));
    EXPECT_EQ(cell(c.trainee, c.exercise, Qt::BackgroundRole).value<QBrush>().color(),
              cellColour(c.colour));
    EXPECT_TRUE(cell(c.trainee, c.exercise, Qt::ToolTipRole).toString().contains(c.tip));
}

INSTANTIATE_TEST_SUITE_P(Class, GroupCellTest, testing::ValuesIn(kCells), rowName);

TEST_F(GroupWindowTest, NamesTellWhoNeverStartedAndWhoseFileIsUnreadable) {
    EXPECT_EQ(cell("grigoriev", "", Qt::DisplayRole).toString(), "grigoriev\nне начинал");
    EXPECT_TRUE(cell("dmitrieva", "", Qt::DisplayRole).toString().startsWith("⚠ dmitrieva"));
    EXPECT_TRUE(cell("dmitrieva", "", Qt::ToolTipRole).toString().contains("Не удалось прочитать"));
    EXPECT_EQ(cell("Аксенова", "", Qt::DisplayRole).toString(), "Аксенова");
}

// Done, not passed, not tried; then the better share. Names sort in Russian order (Ё with Е),
// not by the marks beside them; Latin names after Cyrillic ones on Linux, before on Windows.
TEST_F(GroupWindowTest, SortsByAnyColumn) {
    add("jelkina", attempt("Ёлкина", kReturn, day(5), 5, 200, true));
    window->reload();
    table->sortByColumn(column(kReturn), Qt::DescendingOrder);
    EXPECT_EQ(names().mid(0, 3), QStringList({"Аксенова", "Ёлкина", "Борисов"}));
    table->sortByColumn(0, Qt::DescendingOrder);
    const QStringList latin = {"grigoriev", "dmitrieva"};
    const QStringList cyrillic = {"Ёлкина", "Власова", "Борисов", "Аксенова"};
    const QStringList shown = names();
    EXPECT_TRUE(shown == latin + cyrillic || shown == cyrillic + latin)
        << shown.join(u", ").toStdString();
}

// Trainees work on while the instructor watches: a reload shows new attempts and keeps the
// selection; its attempts come newest first, and one with a key log replays.
TEST_F(GroupWindowTest, ReloadShowsTheSelectedTraineesNewAttemptsAndReplaysThem) {
    table->selectRow(row("Аксенова"));
    KeyLogWriter log;
    ASSERT_EQ(log.start(path("aksenova"), {"0.1", "Аксенова", kReturn, day(2).addSecs(-125), "ИП"}),
              QString());
    ResultRow exam = attempt("Аксенова", kCard, day(3), 3, 200, true);
    exam.result.passMark = 4;
    add("aksenova", exam);
    window->findChild<QPushButton*>("Reload")->click();
    EXPECT_EQ(cell("Аксенова", kCard, Qt::DisplayRole).toString(), "3 из 5 · 3:20\nпопыток: 1");
    const QModelIndexList selected = table->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.first().data(GroupTableModel::SortRole), "Аксенова");
    auto* attempts = window->findChild<QTableView*>("Attempts");
    ASSERT_EQ(attempts->model()->rowCount(), 3);
    const auto text = [attempts](int r, int c) { return attempts->model()->index(r, c).data(); };
    EXPECT_EQ(text(0, 5).toString(), "не сдан");
    EXPECT_EQ(text(1, 0).toString(), "02.12.2026 10:00");
    EXPECT_EQ(text(1, 2).toString(), "Верно 5 из 5");
    EXPECT_EQ(text(1, 5).toString(), "");
    EXPECT_EQ(text(2, 4).toString(), "прервано");
    EXPECT_EQ(text(2, 6).toString(), "не та сдача (2)");
    auto* replay = window->findChild<QPushButton*>("Replay");
    attempts->selectRow(1);
    ASSERT_TRUE(replay->isEnabled());
    replay->click();
    EXPECT_EQ(replayed, QStringList({log.path(), path("aksenova")}));
    attempts->selectRow(2); // abandoned, with no key log
    EXPECT_FALSE(replay->isEnabled());
    EXPECT_FALSE(replay->toolTip().isEmpty());
}

class GroupReportTest : public GroupWindowTest {
  protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        GroupWindowTest::SetUp();
    }
    // The report's text as pdftotext reads it, its pages apart by form feeds; each part in it.
    QString readBack(const GroupResults& group, const QStringList& parts) const {
        EXPECT_EQ(writeGroupReport(path("report.pdf"), group, QDate(2026, 12, 7)), QString());
        QProcess text;
        text.start("pdftotext", {"-layout", path("report.pdf"), "-"});
        EXPECT_TRUE(text.waitForFinished(30000));
        const QString read = QString::fromUtf8(text.readAllStandardOutput());
        for (const QString& part : parts)
            EXPECT_TRUE(read.contains(part)) << part.toStdString() << " not in\n"
                                             << read.toStdString();
        return read;
    }
};

TEST_F(GroupReportTest, ReadsBackFromThePdf) {
    readBack(window->group(),
             {"Журнал группы «" + QFileInfo(path()).fileName() + "»",
              "попытки с 01.12.2026 по 04.12.2026", "напечатано 07.12.2026", "Аксенова", "Борисов",
              "5 из 5", "4 из 5", "не начинал", "не та сдача"});
}

// A big class goes on over pages, head repeated, exercises past the twelfth in a band of their own.
TEST_F(GroupReportTest, OfABigClassGoesOnOverPages) {
    GroupResults big;
    for (int e = 1; e <= 14; ++e)
        big.exercises << QString("Упражнение-%1").arg(e, 2, 10, QChar('0'));
    for (int t = 1; t <= 30; ++t) {
        TraineeRecord trainee;
        trainee.name = QString("Ученик %1").arg(t);
        big.trainees << trainee;
        big.cells << QList<ExerciseCell>(14, ExerciseCell{1, 3, 5, 65, CellState::NotPassed});
    }
    const QString read =
        readBack(big, {"Ученик 16", "Ученик 30", "Упражнение-01", "Упражнение-14"});
    EXPECT_GE(read.count('\f'), 4); // two bands of at least two pages, then the charts
    EXPECT_GE(read.count("Слушатель"), 4);
}

TEST_F(GroupWindowTest, ReportToAFolderThatCannotTakeItIsToldNotThrown) {
    EXPECT_TRUE(writeGroupReport(path("none/report.pdf"), window->group(), {})
                    .startsWith("Не удалось записать отчёт"));
}

} // namespace
