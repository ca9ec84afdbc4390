#pragma once
// The class's two charts, for the window and for the printed report alike.

#include "exercises/group_results.h"

class QChart;

namespace tarvel {

// The share of items right at each attempt, oldest first: every trainee a thin grey line, so
// that 25 of them read as the class's band, the class's average at each attempt number dashed,
// and the trainee at `selected` (an index into group.trainees; -1: none) drawn bold over them.
// The caller owns the chart.
QChart* progressChart(const GroupResults& group, int selected);

// The kinds of mistake the class made most, the most frequent at the top, with their counts.
QChart* mistakesChart(const MistakeTally& tally);

} // namespace tarvel
