#pragma once

namespace ui {

// Lets the core's waits repaint the window and run timers. User input waits in
// the queue until the running operation has ended, so a click can never start a
// second operation in the middle of one.
void InstallQtMessagePump();

} // namespace ui
