#pragma once
// The class's two charts, for the window and for the printed report alike: the share of items
// right at each attempt, and the kinds of mistake the class made most.
//
// They are drawn with Qt Charts. A build without it (the Windows build makes its own Qt from
// Debian's sources, and those of Qt Charts are not to be had there) puts a note in their
// place, in the window and on the report's page: group_charts_absent.cpp.

#include "exercises/group_results.h"

class QPainter;
class QRectF;
class QWidget;

namespace tarvel {

enum class GroupChart {
    // The share right at each attempt, oldest first: every trainee a thin grey line, so that
    // 25 of them read as the class's band, the class's average at each attempt number dashed,
    // and the trainee selected drawn bold over them.
    Progress,
    // The kinds of mistake the class made most, the most frequent at the top, with their counts.
    Mistakes,
};

// A view of one chart for the window, empty until shown.
QWidget* newChartView(QWidget* parent);
// Shows in `view` (made by newChartView) the chart of `group`. `selected`: the trainee drawn
// bold on the progress chart, an index into group.trainees; -1: none.
void showChart(QWidget* view, GroupChart which, const GroupResults& group, int selected = -1);
// Draws the chart into `target` on a page, as the window shows it `width` pixels wide.
void paintChart(QPainter& painter, const QRectF& target, double width, GroupChart which,
                const GroupResults& group);
// Whether this build draws charts; without them the report prints chartsAbsentText() instead.
bool chartsDrawn();
QString chartsAbsentText();

} // namespace tarvel
