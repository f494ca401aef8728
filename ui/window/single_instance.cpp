#include "single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>
#include <QSysInfo>
#include <QThread>

namespace {

constexpr int kConnectMilliseconds = 2000;
// A window of this computer that holds the lock may still be starting, before it listens.
constexpr int kOwnerAttempts = 5;
constexpr unsigned long kOwnerRetryMilliseconds = 200;
const QByteArray kRaiseMessage = QByteArrayLiteral("raise\n");

// Local socket names live in one folder for the user: the program folder's path, hashed, keeps
// them apart and short.
QString serverNameOf(const QString& folder)
{
    const QByteArray path = QDir(folder).absolutePath().toUtf8();
    return QStringLiteral("corvan-") +
           QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(16));
}

}  // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), folder_(folder), serverName_(serverNameOf(folder))
{
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim()
{
    lock_ = std::make_unique<QLockFile>(QDir(folder_).filePath(QString::fromLatin1(kLockFileName)));
    // A lock left by a process that died is taken over; its age alone does not make it stale.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        if (lock_->error() != QLockFile::LockFailedError)
            return true;
        qint64 pid = 0;
        QString host;
        QString application;
        lock_->getLockInfo(&pid, &host, &application);
        const bool otherComputer = !host.isEmpty() && host != QSysInfo::machineHostName();
        for (int attempt = 0; attempt < (otherComputer ? 1 : kOwnerAttempts); ++attempt) {
            if (attempt > 0)
                QThread::msleep(kOwnerRetryMilliseconds);
            if (askOwnerToRaise())
                return false;
        }
        // A lock that cannot be removed lies in a folder that cannot be written: nothing will
        // be saved, so a second window does no harm.
        if (!lock_->removeStaleLockFile())
            return true;
        if (!lock_->tryLock(0)) {
            // Another start took the folder meanwhile.
            if (lock_->error() != QLockFile::LockFailedError)
                return true;
            askOwnerToRaise();
            return false;
        }
        if (otherComputer) {
            takeoverNotice_ = tr("The program folder %1 was in use by Corvan on the computer \"%2\". Corvan took it "
                                 "over. If Corvan still runs there on this folder, close it: both would save the "
                                 "same files.")
                                  .arg(QDir::toNativeSeparators(folder_), host);
        }
    }
    // A socket left behind by a crash would stop the server from listening.
    QLocalServer::removeServer(serverName_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(serverName_);
    return true;
}

bool SingleInstance::askOwnerToRaise()
{
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(kConnectMilliseconds))
        return false;
    socket.write(kRaiseMessage);
    socket.waitForBytesWritten(kConnectMilliseconds);
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        const auto read = [this, socket] {
            if (socket->readAll().contains(kRaiseMessage.trimmed()))
                Q_EMIT raiseRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0)
            read();
    }
}
