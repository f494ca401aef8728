#include "single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>

namespace {

constexpr int kConnectMilliseconds = 2000;
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
        QLocalSocket socket;
        socket.connectToServer(serverName_);
        if (socket.waitForConnected(kConnectMilliseconds)) {
            socket.write(kRaiseMessage);
            socket.waitForBytesWritten(kConnectMilliseconds);
            socket.disconnectFromServer();
        }
        return false;
    }
    // A socket left behind by a crash would stop the server from listening.
    QLocalServer::removeServer(serverName_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(serverName_);
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
