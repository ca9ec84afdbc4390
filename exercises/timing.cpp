#include "exercises/timing.h"

namespace tarvel {

TimerAlarm::TimerAlarm() {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        // The ring may set the alarm again: it runs from a copy.
        const std::function<void()> ring = ring_;
        if (ring) ring();
    });
}

void TimerAlarm::set(qint64 ms, std::function<void()> ring) {
    ring_ = std::move(ring);
    timer_.start(int(std::clamp<qint64>(ms, 0, std::numeric_limits<int>::max())));
}

} // namespace tarvel
