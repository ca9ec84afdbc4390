#pragma once
// The class's printable report: the title with the span of the attempts' dates and the day it
// was printed, the table of trainees and exercises (over as many pages as it takes, its head
// repeated on each), and both charts. A4 landscape, so that twelve exercises stand side by side.

#include "exercises/group_results.h"

#include <QDate>

namespace tarvel {

// "Журнал группы «10-А»".
QString groupTitle(const GroupResults& group);
// "попытки с 01.12.2026 по 05.12.2026", or "попыток нет".
QString groupSpan(const GroupResults& group);

// Writes the report as a PDF file at `path`, printed on `printed`. Returns an empty string, or
// the Russian message for the instructor.
QString writeGroupReport(const QString& path, const GroupResults& group, const QDate& printed);

} // namespace tarvel
