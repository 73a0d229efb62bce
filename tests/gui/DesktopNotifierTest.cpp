#include "ui/DesktopNotifier.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QVariantMap>
#include <gtest/gtest.h>

// The notifier against a message bus of the test's own, where the test itself
// plays the desktop's notification service, or leaves it out.
namespace {

class FakeNotificationService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Shown
    {
        QString app, title, text;
        QStringList actions;
    };
    std::vector<Shown> shown;

public slots:
    uint Notify(const QString& app, uint, const QString&, const QString& title, const QString& text,
                const QStringList& actions, const QVariantMap&, int)
    {
        shown.push_back({app, title, text, actions});
        return 40 + static_cast<uint>(shown.size());
    }
};

bool WaitFor(const std::function<bool()>& done, int ms = 5000)
{
    const QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class DesktopNotifierTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            GTEST_SKIP() << "dbus-daemon is not installed";
        // A bus that knows no service to start on demand, so no real notification
        // program can answer in place of the test.
        const auto config = dir / "bus.conf";
        testsupport::WriteFile(
            config, "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                    "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                    "<busconfig><type>session</type><listen>unix:dir=" +
                        dir.str() +
                        "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                        "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                        "<allow own=\"*\"/></policy></busconfig>\n");
        bus.start(daemon, {QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                           QStringLiteral("--config-file=") + QString::fromStdString(config.string())});
        ASSERT_TRUE(bus.waitForStarted(5000));
        ASSERT_TRUE(WaitFor([this] { return bus.canReadLine(); }));
        address = QString::fromUtf8(bus.readLine()).trimmed();
        ASSERT_FALSE(address.isEmpty());
    }

    void TearDown() override
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-service"));
        if (bus.state() != QProcess::NotRunning) {
            bus.kill();
            bus.waitForFinished(5000);
        }
    }

    QDBusConnection ServiceConnection(FakeNotificationService& service)
    {
        QDBusConnection connection = QDBusConnection::connectToBus(address, QStringLiteral("fake-service"));
        EXPECT_TRUE(connection.isConnected()) << connection.lastError().message().toStdString();
        EXPECT_TRUE(connection.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                                              QDBusConnection::ExportAllSlots));
        EXPECT_TRUE(connection.registerService(QStringLiteral("org.freedesktop.Notifications")));
        return connection;
    }

    testsupport::TempDir dir;
    QProcess bus;
    QString address;
};

TEST_F(DesktopNotifierTest, TheServiceShowsTheMessageAndAClickOnItRunsTheAction)
{
    FakeNotificationService service;
    QDBusConnection connection = ServiceConnection(service);
    const auto notifier = ui::MakeBusNotifier(address);
    ASSERT_TRUE(notifier);

    int clicks = 0;
    notifier->Notify(QStringLiteral("Quintor 3P"),
                     QStringLiteral("3 Präsentationen auf dem Server sind neuer"), [&clicks] { ++clicks; });
    ASSERT_TRUE(WaitFor([&] { return !service.shown.empty(); }));
    EXPECT_EQ(service.shown[0].text, QStringLiteral("3 Präsentationen auf dem Server sind neuer"));
    EXPECT_EQ(service.shown[0].title, QStringLiteral("Quintor 3P"));
    EXPECT_TRUE(service.shown[0].actions.contains(QStringLiteral("default")));

    const auto send = [&](uint id) {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                         QStringLiteral("org.freedesktop.Notifications"),
                                                         QStringLiteral("ActionInvoked"));
        signal.setArguments({id, QStringLiteral("default")});
        connection.send(signal);
    };
    // Clicks on another message do nothing; this one's runs the action once (the
    // notifier learns the message's number from the service's answer, which may
    // come after the first click).
    EXPECT_TRUE(WaitFor([&] {
        send(99u);
        send(41u);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return clicks > 0;
    }));
    send(41u);
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(clicks, 1);
}

TEST_F(DesktopNotifierTest, WithoutTheServiceNothingIsShownAndNothingFails)
{
    const auto notifier = ui::MakeBusNotifier(address);
    ASSERT_TRUE(notifier);
    bool clicked = false;
    notifier->Notify(QStringLiteral("Quintor 3P"), QStringLiteral("1 Präsentation auf dem Server ist neuer"),
                     [&clicked] { clicked = true; });
    WaitFor([] { return false; }, 300);
    EXPECT_FALSE(clicked);

    // No bus at all.
    const auto nowhere = ui::MakeBusNotifier(QStringLiteral("unix:path=") +
                                             QString::fromStdString(dir.str()) + QStringLiteral("/kein-bus"));
    nowhere->Notify(QStringLiteral("Quintor 3P"), QStringLiteral("x"), [&clicked] { clicked = true; });
    EXPECT_FALSE(clicked);
}

} // namespace

#include "DesktopNotifierTest.moc"
