#include "ui/DesktopNotifier.h"

#ifdef QUINTOR_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QObject>
#include <QStringList>
#include <QUuid>
#include <QVariantMap>
#include <map>
#endif

namespace ui {
namespace {

class SilentNotifier : public DesktopNotifier
{
public:
    void Notify(const QString&, const QString&, std::function<void()>) override {}
};

DesktopNotifier* g_override = nullptr;

} // namespace

#ifdef QUINTOR_HAVE_DBUS
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
// The action a click on the message itself invokes.
const QString kDefaultAction = QStringLiteral("default");

class BusNotifier : public QObject, public DesktopNotifier
{
    Q_OBJECT
public:
    explicit BusNotifier(QDBusConnection bus) : m_bus(std::move(bus))
    {
        if (!m_bus.isConnected())
            return;
        m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                      SLOT(ActionInvoked(uint, QString)));
        m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                      SLOT(NotificationClosed(uint, uint)));
    }

    ~BusNotifier() override
    {
        if (!m_connectionName.isEmpty())
            QDBusConnection::disconnectFromBus(m_connectionName);
    }

    void OwnConnection(const QString& name) { m_connectionName = name; }

    void Notify(const QString& title, const QString& text, std::function<void()> onClick) override
    {
        if (!m_bus.isConnected())
            return;
        QDBusMessage call =
            QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
        call << QStringLiteral("Quintor 3P") << 0u << QString() << title << text
             << QStringList{kDefaultAction, QStringLiteral("Anzeigen")} << QVariantMap() << -1;
        // Never waits: a service that is slow to start must not hold up the window.
        auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this, onClick = std::move(onClick)](QDBusPendingCallWatcher* finished) {
                    const QDBusPendingReply<uint> reply = *finished;
                    // A missing service answers with an error: then there is nothing to click.
                    if (!reply.isError())
                        m_onClick[reply.value()] = onClick;
                    finished->deleteLater();
                });
    }

private slots:
    void ActionInvoked(uint id, const QString& action)
    {
        const auto it = m_onClick.find(id);
        if (it == m_onClick.end() || action != kDefaultAction)
            return;
        const std::function<void()> onClick = it->second;
        m_onClick.erase(it);
        if (onClick)
            onClick();
    }

    void NotificationClosed(uint id, uint) { m_onClick.erase(id); }

private:
    QDBusConnection m_bus;
    QString m_connectionName;
    std::map<uint, std::function<void()>> m_onClick;
};

} // namespace

std::unique_ptr<DesktopNotifier> MakeBusNotifier(const QString& busAddress)
{
    if (busAddress.isEmpty())
        return std::make_unique<BusNotifier>(QDBusConnection::sessionBus());
    const QString name = QStringLiteral("quintor-notify-") + QUuid::createUuid().toString(QUuid::Id128);
    auto notifier = std::make_unique<BusNotifier>(QDBusConnection::connectToBus(busAddress, name));
    notifier->OwnConnection(name);
    return notifier;
}

#else

std::unique_ptr<DesktopNotifier> MakeBusNotifier(const QString&)
{
    return nullptr;
}

#endif

DesktopNotifier& Notifier()
{
    if (g_override)
        return *g_override;
    // Made on first use: a run that never notifies never touches the message bus.
    static const std::unique_ptr<DesktopNotifier> desktop = [] {
        std::unique_ptr<DesktopNotifier> bus = MakeBusNotifier();
        return bus ? std::move(bus) : std::unique_ptr<DesktopNotifier>(std::make_unique<SilentNotifier>());
    }();
    return *desktop;
}

ScopedNotifier::ScopedNotifier(DesktopNotifier& notifier) : m_previous(g_override)
{
    g_override = &notifier;
}

ScopedNotifier::~ScopedNotifier()
{
    g_override = m_previous;
}

} // namespace ui

#ifdef QUINTOR_HAVE_DBUS
#include "DesktopNotifier.moc"
#endif
