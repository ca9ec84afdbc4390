#include "ui/group_window.h"

#include "ui/group_charts.h"
#include "ui/group_report.h"
#include "ui/group_table.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>

namespace tarvel {
namespace {

constexpr int kRowPadding = 8;

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* pushed = new QPushButton(text, parent);
    pushed->setObjectName(QString::fromLatin1(name));
    return pushed;
}

// "пропущено строк с ошибками: 3 (Иванова А.: строки 4, 9; …)".
QString brokenText(const GroupResults& group) {
    QStringList whose;
    int count = 0;
    for (const TraineeRecord& trainee : group.trainees) {
        if (trainee.broken.isEmpty()) continue;
        QStringList lines;
        for (const BrokenResultRow& row : trainee.broken)
            lines << QString::number(row.line);
        count += int(trainee.broken.size());
        whose << QStringLiteral("%1: %2 %3")
                     .arg(trainee.name,
                          lines.size() == 1 ? QStringLiteral("строка") : QStringLiteral("строки"),
                          lines.join(QStringLiteral(", ")));
    }
    if (count == 0) return {};
    return QStringLiteral("пропущено строк с ошибками: %1 (%2)")
        .arg(count)
        .arg(whose.join(QStringLiteral("; ")));
}

} // namespace

GroupWindow::GroupWindow(QString folder, AttemptsPanel::Replay replay, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(std::move(folder)) {
    setObjectName(QStringLiteral("GroupWindow"));
    setWindowTitle(QStringLiteral("Журнал группы"));
    model_ = new GroupTableModel(this);
    sorted_ = new GroupSortModel(this);
    sorted_->setSourceModel(model_);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("GroupTable"));
    table_->setModel(sorted_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(0, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(true);
    table_->verticalHeader()->hide();
    table_->setItemDelegate(new KeepColoursDelegate(table_));
    attempts_ = new AttemptsPanel(std::move(replay), this);
    progress_ = newChartView(this);
    mistakes_ = newChartView(this);

    auto* charts = new QSplitter(Qt::Vertical, this);
    charts->addWidget(progress_);
    charts->addWidget(mistakes_);
    auto* lower = new QSplitter(Qt::Horizontal, this);
    lower->addWidget(attempts_);
    lower->addWidget(charts);
    lower->setStretchFactor(0, 3);
    lower->setStretchFactor(1, 2);
    auto* upperLower = new QSplitter(Qt::Vertical, this);
    upperLower->addWidget(table_);
    upperLower->addWidget(lower);
    upperLower->setStretchFactor(0, 1);
    upperLower->setStretchFactor(1, 1);

    title_ = new QLabel(this);
    QFont bold = title_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    title_->setFont(bold);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("GroupSummary"));
    summary_->setWordWrap(true);
    auto* column = new QVBoxLayout(this);
    column->addWidget(buildButtons());
    column->addWidget(summary_);
    column->addWidget(upperLower, 1);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { showSelected(); });
    resize(1280, 860);
    reload();
}

// The children go after the results they show: they are let go of first, so that nothing
// they signal on the way out reads the results.
GroupWindow::~GroupWindow() {
    disconnect(table_->selectionModel(), nullptr, this, nullptr);
    attempts_->showTrainee(nullptr);
    model_->setGroup(nullptr);
}

QWidget* GroupWindow::buildButtons() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    QPushButton* again = button(QStringLiteral("Обновить"), "Reload", bar);
    again->setToolTip(QStringLiteral("Прочитать результаты заново: слушатели могут работать"));
    QPushButton* report = button(QStringLiteral("Сохранить отчёт (PDF)…"), "SaveReport", bar);
    QPushButton* summary = button(QStringLiteral("Сохранить сводку (CSV)…"), "SaveSummary", bar);
    row->addWidget(title_);
    row->addStretch();
    row->addWidget(again);
    row->addWidget(report);
    row->addWidget(summary);
    connect(again, &QPushButton::clicked, this, [this] { reload(); });
    connect(report, &QPushButton::clicked, this, [this] { saveReport(); });
    connect(summary, &QPushButton::clicked, this, [this] { saveSummary(); });
    return bar;
}

void GroupWindow::reload() {
    const int selected = selectedTrainee();
    const QString keep = selected >= 0 ? group_.trainees.at(selected).folder : QString();
    attempts_->showTrainee(nullptr); // it points into the results about to be replaced
    model_->setGroup(nullptr);
    group_ = readGroup(folder_);
    model_->setGroup(&group_);
    table_->resizeColumnsToContents();
    table_->resizeRowsToContents();
    for (int row = 0; row < sorted_->rowCount(); ++row) // room for the selection's frame
        table_->setRowHeight(row, table_->rowHeight(row) + kRowPadding);
    showSummary();
    showChart(mistakes_, GroupChart::Mistakes, group_);
    selectTrainee(keep);
    if (!table_->selectionModel()->hasSelection() && sorted_->rowCount() > 0) table_->selectRow(0);
    showSelected();
}

void GroupWindow::showSummary() {
    setWindowTitle(groupTitle(group_));
    title_->setText(groupTitle(group_));
    if (!group_.error.isEmpty()) {
        summary_->setText(QStringLiteral("⚠ ") + group_.error);
        return;
    }
    QStringList parts{QStringLiteral("Папка: %1").arg(QDir::toNativeSeparators(group_.folder)),
                      QStringLiteral("слушателей: %1").arg(group_.trainees.size()),
                      groupSpan(group_)};
    int unreadable = 0;
    for (const TraineeRecord& trainee : group_.trainees)
        unreadable += trainee.error ? 1 : 0;
    if (unreadable > 0)
        parts << QStringLiteral(
                     "⚠ не читается results.csv у слушателей: %1 (см. подсказку у имени)")
                     .arg(unreadable);
    if (const QString broken = brokenText(group_); !broken.isEmpty()) parts << broken;
    summary_->setText(parts.join(QStringLiteral(" · ")));
}

int GroupWindow::selectedTrainee() const {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return -1;
    const int row = sorted_->mapToSource(rows.first()).row();
    return row < group_.trainees.size() ? row : -1;
}

void GroupWindow::selectTrainee(const QString& folder) {
    for (qsizetype row = 0; row < group_.trainees.size(); ++row)
        if (group_.trainees.at(row).folder == folder)
            table_->selectRow(sorted_->mapFromSource(model_->index(int(row), 0)).row());
}

void GroupWindow::showSelected() {
    const int row = selectedTrainee();
    attempts_->showTrainee(row >= 0 ? &group_.trainees.at(row) : nullptr);
    showChart(progress_, GroupChart::Progress, group_, row);
}

QString GroupWindow::askFileName(const QString& caption, const QString& suffix,
                                 const QString& filter) {
    const QString suggested =
        QDir(QDir::homePath()).filePath(QStringLiteral("Журнал %1.%2").arg(group_.name, suffix));
    QString path = QFileDialog::getSaveFileName(this, caption, suggested, filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += '.' + suffix;
    return path;
}

void GroupWindow::saveReport() {
    const QString path = askFileName(QStringLiteral("Сохранить отчёт"), QStringLiteral("pdf"),
                                     QStringLiteral("Отчёт PDF (*.pdf)"));
    if (path.isEmpty()) return;
    if (const QString error = writeGroupReport(path, group_, QDate::currentDate());
        !error.isEmpty())
        QMessageBox::critical(this, windowTitle(), error);
}

void GroupWindow::saveSummary() {
    const QString path = askFileName(QStringLiteral("Сохранить сводку"), QStringLiteral("csv"),
                                     QStringLiteral("Таблица CSV (*.csv)"));
    if (path.isEmpty()) return;
    if (const QString error = writeGroupSummary(path, group_); !error.isEmpty())
        QMessageBox::critical(this, windowTitle(), error);
}

} // namespace tarvel
