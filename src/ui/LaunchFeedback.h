#pragma once

#include <chrono>

// A program started for the user takes a few seconds to show its window. Until
// it does (this program stops being the active one) or the time is up, the mouse
// shows that something is on its way, so the start is not clicked twice.
namespace ui {

using namespace std::chrono_literals;

void ShowBusyUntilAnotherWindowAppears(std::chrono::milliseconds limit = 10s);

// Whether the busy pointer of a start is showing.
bool LaunchFeedbackShowing();

} // namespace ui
