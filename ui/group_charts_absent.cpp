// A build without Qt Charts: a note where the charts would stand. The table, the attempts and
// the report are the same as with them.

#include "ui/group_charts.h"

#include <QLabel>

namespace tarvel {

QWidget* newChartView(QWidget* parent) {
    auto* note = new QLabel(chartsAbsentText(), parent);
    note->setAlignment(Qt::AlignCenter);
    note->setWordWrap(true);
    return note;
}

void showChart(QWidget*, GroupChart, const GroupResults&, int) {}

void paintChart(QPainter&, const QRectF&, double, GroupChart, const GroupResults&) {}

bool chartsDrawn() {
    return false;
}

QString chartsAbsentText() {
    return QStringLiteral("Графики в этой сборке Tarvel не строятся: в ней нет библиотеки Qt "
                          "Charts. Таблица, попытки и отчёт — те же.");
}

} // namespace tarvel
