#pragma once

#include <QDialog>
#include <chrono>
#include <functional>
#include <type_traits>

namespace guitest {

using namespace std::chrono_literals;

// The one way a GUI test works a modal dialog: `open` shows `dialog` modally (and
// returns what it returns), `answer` runs once the dialog is on screen and is meant
// to close it. A dialog that never shows fails the test; so does one still open
// `limit` after it showed, which is then rejected, so that the test goes on instead
// of waiting for a click that cannot come.
void RunModal(QDialog& dialog, const std::function<void()>& answer, const std::function<void()>& open,
              std::chrono::milliseconds limit = 10s);

template <typename Open>
auto WithModal(QDialog& dialog, const std::function<void()>& answer, Open open,
               std::chrono::milliseconds limit = 10s) -> decltype(open())
{
    if constexpr (std::is_void_v<decltype(open())>) {
        RunModal(dialog, answer, open, limit);
    } else {
        decltype(open()) result{};
        RunModal(
            dialog, answer, [&] { result = open(); }, limit);
        return result;
    }
}

} // namespace guitest
