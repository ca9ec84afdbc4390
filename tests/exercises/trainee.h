#pragma once
// A trainee at the panel: keys pressed by their captions ("1 5 0 ВВ = НЛ 2 0 0 ВВ") on a real
// register wired to fakes; the register tells its watcher of each press itself.

#include "exercises/key_log.h"
#include "exercises/timing.h"
#include "support/fakes.h"

namespace tarvel::test {

// A stopwatch that stands until the test moves it.
struct ManualStopwatch : Stopwatch {
    qint64 ms = 0;
    qint64 elapsedMs() const override { return ms; }
};

// Presses the keys by their captions. "⌨" stands for the trainee typing `typed` over the whole
// receipt tape (the header being edited). With `log`, every step is written to it too.
void work(RegisterRig& rig, const QString& keys, const QString& typed = {},
          KeyLogWriter* log = nullptr);

} // namespace tarvel::test
