#pragma once
// A trainee at the panel: keys pressed by their captions ("1 5 0 ВВ = НЛ 2 0 0 ВВ") on a real
// register wired to fakes, each press told to a watcher first, as the panel tells it.

#include "exercises/key_log.h"
#include "support/fakes.h"

namespace tarvel::test {

// The key with that caption ("ВВ", "7", "1Д"), if any.
std::optional<Key> keyOfCaption(QStringView caption);

// One key press on the register.
// TODO: replace by CashRegister::press(Key) once the register has it; press() then tells the
// watcher of the key itself.
void pressKey(CashRegister& reg, RegisterEvents* watcher, Key key);

// Presses the keys by their captions. "⌨" stands for the trainee typing `typed` over the whole
// receipt tape (the header being edited). With `log`, every step is written to it too.
void work(RegisterRig& rig, RegisterEvents* watcher, const QString& keys, const QString& typed = {},
          KeyLogWriter* log = nullptr);

} // namespace tarvel::test
