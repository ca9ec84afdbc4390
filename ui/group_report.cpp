#include "ui/group_report.h"

#include "register/file_messages.h"
#include "ui/group_charts.h"
#include "ui/group_table.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <memory>

namespace tarvel {
namespace {

// More exercises than this go on to a second band of the table, the names repeated.
constexpr int kExercisesAcross = 12;
constexpr double kNameShare = 0.17; // of the page's width, for the trainee's column
// The charts are laid out this many screen pixels wide, then scaled onto the page: their
// letters come out at about 8 points across the landscape page.
constexpr double kChartSceneWidth = 1000;

QFont font(double points, bool bold = false) {
    QFont face(QStringLiteral("DejaVu Sans"));
    face.setPointSizeF(points);
    face.setBold(bold);
    return face;
}

// Draws on the printer's pages, top to bottom, starting a page where the next block does not fit.
class ReportPages {
  public:
    ReportPages(QPrinter& printer, QPainter& painter)
        : printer_(printer), painter_(painter),
          page_(printer.pageLayout().paintRectPixels(printer.resolution())) {
        page_.moveTo(0, 0);
    }
    double mm(double millimetres) const { return millimetres * printer_.resolution() / 25.4; }
    double width() const { return page_.width(); }
    double y() const { return y_; }
    // Whether a block of `height` still fits below; if not, a new page is begun.
    bool ensureRoom(double height) {
        if (y_ + height <= page_.height() || y_ == 0) return false;
        printer_.newPage();
        y_ = 0;
        return true;
    }
    void advance(double height) { y_ += height; }
    void newPage() {
        printer_.newPage();
        y_ = 0;
    }
    double bottom() const { return page_.height(); }
    QPainter& painter() { return painter_; }

  private:
    QPrinter& printer_;
    QPainter& painter_;
    QRectF page_;
    double y_ = 0;
};

void textLine(ReportPages& pages, const QString& text, const QFont& face) {
    QPainter& painter = pages.painter();
    painter.setFont(face);
    const double height = QFontMetricsF(face, painter.device()).height() * 1.3;
    pages.ensureRoom(height);
    painter.drawText(QRectF(0, pages.y(), pages.width(), height), Qt::AlignLeft | Qt::AlignVCenter,
                     text);
    pages.advance(height);
}

// One box of the table: its lines centred (left for the names), the colour behind them. A
// line too long for the box is cut short with "…"; with `wrap` the text breaks at its spaces
// instead (the exercises' titles in the table's head).
void box(QPainter& painter, const QRectF& rect, const QStringList& lines, const QColor& fill,
         Qt::Alignment align, bool wrap = false) {
    painter.fillRect(rect, fill);
    painter.setPen(QPen(QColor(120, 120, 120), 0));
    painter.drawRect(rect);
    painter.setPen(Qt::black);
    const QRectF inside = rect.adjusted(rect.height() * 0.06, 0, -rect.height() * 0.06, 0);
    if (wrap) {
        painter.drawText(inside, int(align | Qt::AlignVCenter | Qt::TextWordWrap), lines.join(' '));
        return;
    }
    const QFontMetricsF metrics(painter.font(), painter.device());
    QStringList shown;
    for (const QString& line : lines)
        shown << metrics.elidedText(line, Qt::ElideRight, inside.width());
    painter.drawText(inside, int(align | Qt::AlignVCenter), shown.join('\n'));
}

// The cell in three short lines, to fit a narrow column: "4 из 5", "2:05", "попыток: 3".
QStringList reportLines(const ExerciseCell& cell) {
    QStringList lines;
    for (const QString& line : cellLines(cell))
        lines += line.split(QStringLiteral(" · "));
    return lines;
}

QStringList nameLines(const TraineeRecord& trainee) {
    const QString remark = traineeRemark(trainee);
    return remark.isEmpty() ? QStringList{trainee.name} : QStringList{trainee.name, remark};
}

void tableHead(ReportPages& pages, const GroupResults& group, int from, int count, double nameWidth,
               double cellWidth) {
    QPainter& painter = pages.painter();
    painter.setFont(font(7, true));
    const double height = pages.mm(12);
    box(painter, QRectF(0, pages.y(), nameWidth, height), {QStringLiteral("Слушатель")},
        QColor(245, 245, 245), Qt::AlignLeft);
    for (int i = 0; i < count; ++i)
        box(painter, QRectF(nameWidth + i * cellWidth, pages.y(), cellWidth, height),
            {group.exercises.at(from + i)}, QColor(245, 245, 245), Qt::AlignCenter, true);
    pages.advance(height);
}

// The table's band of exercises [from, from + count), a row per trainee.
void tableBand(ReportPages& pages, const GroupResults& group, int from, int count) {
    const double nameWidth = pages.width() * kNameShare;
    const double cellWidth = (pages.width() - nameWidth) / std::max(count, 6);
    const double rowHeight = pages.mm(10);
    pages.ensureRoom(pages.mm(12) + rowHeight);
    tableHead(pages, group, from, count, nameWidth, cellWidth);
    QPainter& painter = pages.painter();
    for (qsizetype row = 0; row < group.trainees.size(); ++row) {
        if (pages.ensureRoom(rowHeight)) tableHead(pages, group, from, count, nameWidth, cellWidth);
        const TraineeRecord& trainee = group.trainees.at(row);
        painter.setFont(font(7.5));
        box(painter, QRectF(0, pages.y(), nameWidth, rowHeight), nameLines(trainee),
            trainee.error ? QColor(250, 225, 200) : Qt::white, Qt::AlignLeft);
        painter.setFont(font(7));
        for (int i = 0; i < count; ++i) {
            const ExerciseCell& cell = group.cells.at(row).at(from + i);
            box(painter, QRectF(nameWidth + i * cellWidth, pages.y(), cellWidth, rowHeight),
                reportLines(cell), cellColour(cell.state), Qt::AlignCenter);
        }
        pages.advance(rowHeight);
    }
    pages.advance(pages.mm(4));
}

void legend(ReportPages& pages) {
    textLine(
        pages,
        QStringLiteral("В клетке: лучший результат (верно из всех), лучшее время, число попыток. "
                       "Зелёная — выполнено, красная — не сдано, серая — не пробовал."),
        font(7.5));
}

void charts(ReportPages& pages, const GroupResults& group) {
    pages.newPage();
    textLine(pages, groupTitle(group) + QStringLiteral(": успехи и ошибки"), font(12, true));
    if (!chartsDrawn()) {
        textLine(pages, chartsAbsentText(), font(10));
        return;
    }
    // One above the other, each the page's width.
    const double gap = pages.mm(4);
    const double height = (pages.bottom() - pages.y() - gap) / 2;
    paintChart(pages.painter(), QRectF(0, pages.y(), pages.width(), height), kChartSceneWidth,
               GroupChart::Progress, group);
    paintChart(pages.painter(), QRectF(0, pages.y() + height + gap, pages.width(), height),
               kChartSceneWidth, GroupChart::Mistakes, group);
}

int brokenLines(const GroupResults& group) {
    int count = 0;
    for (const TraineeRecord& trainee : group.trainees)
        count += int(trainee.broken.size());
    return count;
}

} // namespace

QString groupTitle(const GroupResults& group) {
    return QStringLiteral("Журнал группы «%1»").arg(group.name);
}

QString groupSpan(const GroupResults& group) {
    if (group.first.isNull()) return QStringLiteral("попыток нет");
    const QString format = QStringLiteral("dd.MM.yyyy");
    return QStringLiteral("попытки с %1 по %2")
        .arg(group.first.toString(format), group.last.toString(format));
}

QString writeGroupReport(const QString& path, const GroupResults& group, const QDate& printed) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
    printer.setDocName(groupTitle(group));
    QPainter painter;
    if (!painter.begin(&printer))
        return QStringLiteral("Не удалось записать отчёт %1: нет доступа к файлу или папке")
            .arg(shownPath(path));
    ReportPages pages(printer, painter);
    textLine(pages, groupTitle(group), font(16, true));
    textLine(pages,
             QStringLiteral("%1; слушателей: %2; напечатано %3")
                 .arg(groupSpan(group))
                 .arg(group.trainees.size())
                 .arg(printed.toString(QStringLiteral("dd.MM.yyyy"))),
             font(9));
    if (const int broken = brokenLines(group); broken > 0)
        textLine(pages, QStringLiteral("Строк results.csv с ошибками пропущено: %1").arg(broken),
                 font(9));
    pages.advance(pages.mm(3));
    for (int from = 0; from < group.exercises.size(); from += kExercisesAcross)
        tableBand(pages, group, from,
                  std::min<int>(kExercisesAcross, group.exercises.size() - from));
    if (group.exercises.isEmpty()) tableBand(pages, group, 0, 0);
    legend(pages);
    charts(pages, group);
    if (!painter.end() || QFileInfo(path).size() == 0)
        return QStringLiteral("Не удалось записать отчёт %1").arg(shownPath(path));
    return {};
}

} // namespace tarvel
