#include "ui/group_charts.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGraphicsScene>
#include <QHorizontalBarSeries>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <memory>

namespace tarvel {
namespace {

// More kinds than this make the bars too thin to read; the rarest are left out.
constexpr int kMostKinds = 10;

const QColor kClassLine(140, 140, 140, 150);
const QColor kAverageLine(70, 70, 70);
const QColor kSelectedLine(25, 90, 200);

QLineSeries* sharesLine(const QList<double>& shares, const QString& name, const QPen& pen) {
    auto* line = new QLineSeries;
    line->setName(name);
    line->setPen(pen);
    line->setPointsVisible(shares.size() == 1); // a single attempt is a point, not a line
    for (qsizetype i = 0; i < shares.size(); ++i)
        line->append(double(i + 1), shares.at(i) * 100);
    return line;
}

// At each attempt number, the mean of the trainees who made that many attempts.
QList<double> averageShares(const QList<QList<double>>& everyone) {
    QList<double> average;
    for (qsizetype i = 0;; ++i) {
        double sum = 0;
        int count = 0;
        for (const QList<double>& shares : everyone) {
            if (i >= shares.size()) continue;
            sum += shares.at(i);
            ++count;
        }
        if (count == 0) return average;
        average << sum / count;
    }
}

void addLine(QChart& chart, QLineSeries* line, bool inLegend) {
    chart.addSeries(line);
    for (QLegendMarker* marker : chart.legend()->markers(line))
        marker->setVisible(inLegend);
}

QValueAxis* valueAxis(const QString& title, double max, const char* format) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setRange(0, max);
    axis->setLabelFormat(QString::fromLatin1(format));
    return axis;
}

QChart* progressChart(const GroupResults& group, int selected) {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Доля верных ответов по попыткам"));
    chart->setAnimationOptions(QChart::NoAnimation);
    QList<QList<double>> everyone;
    qsizetype most = 1;
    for (const TraineeRecord& trainee : group.trainees) {
        everyone << rightShares(trainee);
        most = std::max(most, everyone.last().size());
    }
    for (const QList<double>& shares : everyone)
        addLine(*chart, sharesLine(shares, {}, QPen(kClassLine, 1)), false);
    QPen dashed(kAverageLine, 2, Qt::DashLine);
    addLine(*chart,
            sharesLine(averageShares(everyone), QStringLiteral("среднее по группе"), dashed), true);
    if (selected >= 0 && selected < everyone.size())
        addLine(*chart,
                sharesLine(everyone.at(selected), group.trainees.at(selected).name,
                           QPen(kSelectedLine, 3)),
                true);
    auto* x = valueAxis(QStringLiteral("попытка"), double(std::max<qsizetype>(most, 2)), "%d");
    x->setMin(1);
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(1);
    x->setTickInterval(std::max<qsizetype>(1, most / 10));
    auto* y = valueAxis(QStringLiteral("верно, %"), 100, "%d");
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

QChart* mistakesChart(const MistakeTally& tally) {
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->hide();
    MistakeTally kinds = tally;
    std::stable_sort(kinds.begin(), kinds.end(), [](const MistakeCount& a, const MistakeCount& b) {
        return a.count > b.count;
    });
    kinds.erase(std::remove_if(kinds.begin(), kinds.end(),
                               [](const MistakeCount& kind) { return kind.count <= 0; }),
                kinds.end());
    if (kinds.size() > kMostKinds) kinds.resize(kMostKinds);
    chart->setTitle(kinds.isEmpty() ? QStringLiteral("Частые ошибки группы: ошибок нет")
                                    : QStringLiteral("Частые ошибки группы"));
    if (kinds.isEmpty()) return chart;
    // Bars go from the bottom up: the most frequent is added last to stand at the top.
    auto* counts = new QBarSet(QStringLiteral("ошибок"));
    counts->setColor(QColor(210, 110, 90));
    QStringList names;
    for (auto kind = kinds.crbegin(); kind != kinds.crend(); ++kind) {
        *counts << kind->count;
        names << mistakeName(kind->kind);
    }
    auto* bars = new QHorizontalBarSeries;
    bars->append(counts);
    bars->setLabelsVisible(true);
    bars->setLabelsPosition(QAbstractBarSeries::LabelsInsideEnd);
    chart->addSeries(bars);
    auto* categories = new QBarCategoryAxis;
    categories->append(names);
    auto* x = valueAxis(QStringLiteral("сколько раз"), kinds.first().count, "%d");
    x->applyNiceNumbers();
    chart->addAxis(categories, Qt::AlignLeft);
    chart->addAxis(x, Qt::AlignBottom);
    bars->attachAxis(categories);
    bars->attachAxis(x);
    return chart;
}

QChart* newChart(GroupChart which, const GroupResults& group, int selected) {
    return which == GroupChart::Progress ? progressChart(group, selected)
                                         : mistakesChart(group.mistakes);
}

} // namespace

QWidget* newChartView(QWidget* parent) {
    auto* view = new QChartView(new QChart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(360, 240);
    return view;
}

// The new chart in the view, the one it showed deleted (a view does not delete it itself).
void showChart(QWidget* view, GroupChart which, const GroupResults& group, int selected) {
    auto* chartView = static_cast<QChartView*>(view);
    QChart* old = chartView->chart();
    chartView->setChart(newChart(which, group, selected));
    delete old;
}

// Laid out at a screen's width, then scaled onto the page: their letters keep the size they
// have in the window instead of shrinking to specks on a page of thousands of dots.
void paintChart(QPainter& painter, const QRectF& target, double width, GroupChart which,
                const GroupResults& group) {
    const std::unique_ptr<QChart> chart(newChart(which, group, -1));
    QGraphicsScene scene;
    scene.addItem(chart.get());
    chart->setGeometry(QRectF(0, 0, width, width * target.height() / target.width()));
    scene.setSceneRect(chart->geometry());
    scene.render(&painter, target, scene.sceneRect(), Qt::KeepAspectRatio);
    scene.removeItem(chart.get());
}

bool chartsDrawn() {
    return true;
}

QString chartsAbsentText() {
    return {};
}

} // namespace tarvel
