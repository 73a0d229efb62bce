#pragma once

#include <QString>
#include <functional>
#include <memory>

// Passing messages in the desktop's notification area, never a box that waits for
// an answer. Where the desktop has no notification service nothing is shown and
// nothing is reported: the message is a courtesy, not part of any operation.
namespace ui {

class DesktopNotifier
{
public:
    virtual ~DesktopNotifier() = default;
    // onClick runs when the user clicks the message.
    virtual void Notify(const QString& title, const QString& text, std::function<void()> onClick) = 0;
};

// The notifier in force: the desktop's, unless a ScopedNotifier put another in place.
DesktopNotifier& Notifier();

// Puts a notifier in force for its own lifetime (tests count the messages with it).
class ScopedNotifier
{
public:
    explicit ScopedNotifier(DesktopNotifier& notifier);
    ~ScopedNotifier();
    ScopedNotifier(const ScopedNotifier&) = delete;
    ScopedNotifier& operator=(const ScopedNotifier&) = delete;

private:
    DesktopNotifier* m_previous;
};

// The desktop notification service (org.freedesktop.Notifications) on the message
// bus at busAddress, or on the session bus when it is empty. Null where the
// program was built without a message bus.
std::unique_ptr<DesktopNotifier> MakeBusNotifier(const QString& busAddress = {});

} // namespace ui
