#pragma once
// A trainee at the panel: keys pressed by their captions ("1 5 0 ВВ = НЛ 2 0 0 ВВ") on a real
// register wired to fakes; the register tells its watcher of each press itself.

#include "exercises/key_log.h"
#include "exercises/timing.h"
#include "support/fakes.h"

#include <QJsonArray>
#include <utility>

namespace tarvel::test {

// A stopwatch that stands until the test moves it.
struct ManualStopwatch : Stopwatch {
    qint64 ms = 0;
    qint64 elapsedMs() const override { return ms; }
};

// Rings only when the test says so; remembers every delay it was set to.
struct ManualAlarm : Alarm {
    QList<qint64> delays;
    std::function<void()> pending;
    void set(qint64 ms, std::function<void()> ring) override {
        delays << ms;
        pending = std::move(ring);
    }
    void cancel() override { pending = nullptr; }
    bool ring() {
        if (!pending) return false;
        std::exchange(pending, nullptr)();
        return true;
    }
};

// Presses the keys by their captions. "⌨" stands for the trainee typing `typed` over the whole
// receipt tape (the header being edited). With `log`, every step is written to it too.
void work(RegisterRig& rig, const QString& keys, const QString& typed = {},
          KeyLogWriter* log = nullptr);

// Each row's cells of a ";" separated file as Python's csv module reads it, as a spreadsheet
// opens it; empty without python3.
QJsonArray cellsByPython(const QString& file);

} // namespace tarvel::test
