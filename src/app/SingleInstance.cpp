#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

namespace {

const QByteArray kActivate = "nach-vorn\n";
const QByteArray kDone = "ok\n";

QString SocketNameFor(const QString& lockPath)
{
    // The socket lives in the temporary folder, where a path-length limit and
    // other users apply: a short name from the user and the settings folder.
    const QByteArray hash =
        QCryptographicHash::hash(lockPath.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("quintor3p-%1-%2")
        .arg(qEnvironmentVariable("USER", QStringLiteral("user")), QString::fromLatin1(hash));
}

} // namespace

SingleInstance::SingleInstance(const QString& settingsFolder, QObject* parent)
    : QObject(parent), m_lockPath(QDir(settingsFolder).filePath(QStringLiteral("quintor3p.lock"))),
      m_socketName(SocketNameFor(m_lockPath)), m_lock(m_lockPath)
{
    // Only a holder that is gone loses the lock, however long it has held it.
    m_lock.setStaleLockTime(0);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::Answer);
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Role SingleInstance::Start(std::chrono::milliseconds answerTimeout)
{
    // Without a settings folder there is nothing to protect; the window's own
    // start-up reports the folder.
    if (!QDir().mkpath(QFileInfo(m_lockPath).path()) || TakeLock()) {
        m_role = Role::Writer;
        return m_role;
    }
    m_role = AskRunningCopy(answerTimeout) ? Role::HandedOver : Role::WithoutWrites;
    // The holder may have ended in the meantime.
    if (m_role == Role::WithoutWrites && TakeLock())
        m_role = Role::Writer;
    return m_role;
}

bool SingleInstance::MayWriteSettings()
{
    if (m_role == Role::Writer)
        return true;
    if (m_role == Role::WithoutWrites && TakeLock())
        m_role = Role::Writer;
    return m_role == Role::Writer;
}

bool SingleInstance::TakeLock()
{
    if (!m_lock.tryLock(0))
        return false;
    Listen();
    return true;
}

bool SingleInstance::Listen()
{
    if (m_server.isListening())
        return true;
    // Holding the lock, any socket of that name is a killed copy's leftover.
    QLocalServer::removeServer(m_socketName);
    return m_server.listen(m_socketName);
}

bool SingleInstance::AskRunningCopy(std::chrono::milliseconds timeout) const
{
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    // A copy that started a moment ago may hold the lock but not listen yet.
    for (;;) {
        socket.connectToServer(m_socketName);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime())))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    socket.write(kActivate);
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
        return false;
    QByteArray reply;
    while (!reply.endsWith('\n') && !deadline.hasExpired()) {
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            break;
        reply += socket.readAll();
    }
    return reply == kDone;
}

void SingleInstance::Answer()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            if (socket->readLine() == kActivate) {
                emit activationRequested();
                socket->write(kDone);
                socket->flush();
            }
            socket->disconnectFromServer();
        });
    }
}
