#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <chrono>
#include <memory>

// One running copy per settings folder.
//
// The copy that holds the lock file in the settings folder is the only one that
// writes the settings. It listens on a local socket; a later start connects,
// asks it to come to the front and ends as soon as it answers. The lock knows
// the holder's process number, so the lock and the socket of a copy that was
// killed are taken over at once.
//
// A copy that holds the lock but does not answer (stopped, or blocked beyond
// its message pump) must not lock the user out: the new start then opens its
// window as usual but writes no settings while the other copy holds the lock.
// Each write asks again (`MayWriteSettings`), so when the other copy ends, the
// new one takes the lock and from then on saves as usual.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    enum class Role
    {
        Writer,        // holds the lock; the usual case
        HandedOver,    // another copy answered and came to the front: end now
        WithoutWrites, // another copy holds the lock but did not answer
    };

    explicit SingleInstance(const QString& settingsFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    Role Start(std::chrono::milliseconds answerTimeout = std::chrono::milliseconds(3000));
    Role role() const { return m_role; }

    // True while this copy holds the lock; tries to take it when it does not.
    bool MayWriteSettings();

    QString lockFilePath() const { return m_lockPath; }
    QString socketName() const { return m_socketName; }

signals:
    // A later start asked this copy to come to the front.
    void activationRequested();

private:
    bool TakeLock();
    bool Listen();
    bool AskRunningCopy(std::chrono::milliseconds timeout) const;
    void Answer();

    QString m_lockPath;
    QString m_socketName;
    QLockFile m_lock;
    QLocalServer m_server;
    Role m_role = Role::WithoutWrites;
};
