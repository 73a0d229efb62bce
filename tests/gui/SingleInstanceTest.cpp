#include "app/SingleInstance.h"
#include "ProgramProcess.h"
#include "support/TempDir.h"

#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>

using namespace std::chrono_literals;
using testsupport::RunEventsUntil;

namespace {

class SingleInstanceTest : public ::testing::Test
{
protected:
    QString SettingsFolder() const
    {
        return QString::fromStdString((home / ".config" / "quintorPPP").string());
    }

    // True once a copy listens on the settings folder's socket.
    bool Listening() const
    {
        QLocalSocket probe;
        probe.connectToServer(SingleInstance(SettingsFolder()).socketName());
        return probe.waitForConnected(200);
    }

    // The real program, started and holding the lock.
    void StartFirstProgram()
    {
        testsupport::StartProgram(first, home.path());
        ASSERT_TRUE(first.waitForStarted(10000));
        ASSERT_TRUE(RunEventsUntil([&] { return Listening(); }, 30000)) << "the first copy never listened";
    }

    void TearDown() override
    {
        if (first.state() != QProcess::NotRunning) {
            ::kill(static_cast<pid_t>(first.processId()), SIGCONT);
            first.kill();
            first.waitForFinished(10000);
        }
    }

    testsupport::TempDir home;
    QProcess first;
};

} // namespace

TEST_F(SingleInstanceTest, ASecondStartHandsOverToTheRunningCopyAndEnds)
{
    SingleInstance running(SettingsFolder());
    ASSERT_EQ(running.Start(), SingleInstance::Role::Writer);
    int activations = 0;
    QObject::connect(&running, &SingleInstance::activationRequested, [&] { ++activations; });

    QProcess second;
    testsupport::StartProgram(second, home.path());
    ASSERT_TRUE(RunEventsUntil([&] { return second.state() == QProcess::NotRunning; }, 30000))
        << "the second start did not end";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    EXPECT_EQ(activations, 1) << "the running copy was asked to come to the front once";
    EXPECT_TRUE(running.MayWriteSettings());
}

TEST_F(SingleInstanceTest, TheLockAndSocketOfAKilledCopyBlockNothing)
{
    StartFirstProgram();
    first.kill();
    ASSERT_TRUE(first.waitForFinished(10000));
    ASSERT_TRUE(QFile::exists(SingleInstance(SettingsFolder()).lockFilePath()))
        << "a killed copy leaves its lock";

    SingleInstance next(SettingsFolder());
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(next.Start(), SingleInstance::Role::Writer);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_TRUE(Listening()) << "the leftover socket was replaced";
}

// A copy that holds the lock but does not answer (here: stopped) must not keep
// the user out, and must not gain a second writer of its settings either.
TEST_F(SingleInstanceTest, AStuckCopyGetsAWindowWithoutWritesUntilItEnds)
{
    StartFirstProgram();
    ASSERT_EQ(::kill(static_cast<pid_t>(first.processId()), SIGSTOP), 0);

    SingleInstance second(SettingsFolder());
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(second.Start(500ms), SingleInstance::Role::WithoutWrites);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 3s) << "never a hang";
    EXPECT_FALSE(second.MayWriteSettings());
    EXPECT_FALSE(second.MayWriteSettings());

    first.kill();
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_TRUE(second.MayWriteSettings()) << "the lock of the ended copy passes to this one";
    EXPECT_EQ(second.role(), SingleInstance::Role::Writer);
    EXPECT_TRUE(Listening());
}
