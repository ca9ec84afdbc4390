#pragma once
// Time as the exercises see it: a stopwatch for the time spent and the key log's times, and an
// alarm for the steps of a replay. The program uses the steady clock and Qt's timers; the tests
// move time by hand.

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace tarvel {

class Stopwatch {
  public:
    virtual ~Stopwatch() = default;
    // Milliseconds since the stopwatch started.
    virtual qint64 elapsedMs() const = 0;
};

// The steady clock: unmoved by a change of the system's time during the work.
class SteadyStopwatch : public Stopwatch {
  public:
    SteadyStopwatch() { timer_.start(); }
    qint64 elapsedMs() const override { return timer_.elapsed(); }

  private:
    QElapsedTimer timer_;
};

// Rings once after a delay; setting it again replaces what was set.
class Alarm {
  public:
    virtual ~Alarm() = default;
    virtual void set(qint64 ms, std::function<void()> ring) = 0;
    virtual void cancel() = 0;
};

class TimerAlarm : public Alarm {
  public:
    TimerAlarm();
    void set(qint64 ms, std::function<void()> ring) override;
    void cancel() override { timer_.stop(); }

  private:
    QTimer timer_;
    std::function<void()> ring_;
};

} // namespace tarvel
