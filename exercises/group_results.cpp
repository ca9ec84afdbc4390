#include "exercises/group_results.h"

namespace tarvel {

GroupResults readGroup(const QString& dir) {
    GroupResults group;
    group.folder = dir;
    return group;
}

QList<double> rightShares(const TraineeRecord&) {
    return {};
}

QString keyLogOf(const TraineeRecord&, const ResultRow&) {
    return {};
}

QByteArray groupSummaryCsv(const GroupResults&) {
    return {};
}

QString writeGroupSummary(const QString&, const GroupResults&) {
    return {};
}

QString cellStateName(CellState) {
    return {};
}

} // namespace tarvel
