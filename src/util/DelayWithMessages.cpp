#include "util/z_global.h"

#include "platform/TickCount.h"
#include "util/FileWork.h"

#include <chrono>
#include <thread>

namespace util {
namespace {

MessagePump& InstalledPump()
{
    static MessagePump pump;
    return pump;
}

TickSource& InstalledTicks()
{
    static TickSource ticks;
    return ticks;
}

std::uint32_t Ticks()
{
    const TickSource& ticks = InstalledTicks();
    return ticks ? ticks() : platform::TickCount();
}

} // namespace

void InstallMessagePump(MessagePump pump)
{
    InstalledPump() = std::move(pump);
}

void InstallTickSource(TickSource ticks)
{
    InstalledTicks() = std::move(ticks);
}

void PumpMessages()
{
    if (const MessagePump& pump = InstalledPump())
        pump();
}

void DelayWithMessages(int milliseconds)
{
    // A wait for file work gave up: the window has closed and the program ends,
    // so there is nothing left to repaint, and many short waits in a row would
    // keep it from ending.
    if (FileWorkAbandoned())
        return;
    const std::uint32_t start = Ticks();
    for (;;) {
        PumpMessages();
        // Unsigned subtraction gives the elapsed time across a wrap of the counter.
        const std::uint32_t elapsed = Ticks() - start;
        if (static_cast<std::int64_t>(elapsed) > milliseconds)
            return;
        // A short rest keeps the wait from occupying a whole processor core; a
        // millisecond is far below what the eye notices in a repaint.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

} // namespace util
