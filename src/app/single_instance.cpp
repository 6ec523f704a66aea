#include "app/single_instance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include "app/qt_text.h"
#include "platform/private_folder.h"

namespace trimlet {

QString InstanceSocketPath(const QString& folder, const QString& profileKey) {
    if (folder.isEmpty()) return {};
    const QByteArray hash =
        QCryptographicHash::hash(profileKey.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QDir(folder).filePath(
        QStringLiteral("trimlet-html-%1.socket").arg(QString::fromLatin1(hash)));
}

QString InstanceSocketPath(const QString& profileKey) {
    return InstanceSocketPath(Qs(PrivateRendezvousFolder()), profileKey);
}

bool PeerIsCurrentUser(const QLocalSocket& socket) {
    struct ucred peer {};
    socklen_t size = sizeof peer;
    const auto fd = static_cast<int>(socket.socketDescriptor());
    if (fd < 0 || getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) return false;
    return size == sizeof peer && peer.uid == getuid();
}

HandOver HandToRunningInstance(const QString& socketPath, const QString& taskPath, int timeoutMs) {
    if (socketPath.isEmpty()) return HandOver::NoInstance;
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs)) {
        const auto error = socket.error();
        return error == QLocalSocket::ServerNotFoundError ||
                       error == QLocalSocket::ConnectionRefusedError
                   ? HandOver::NoInstance
                   : HandOver::NoAnswer;
    }
    if (!PeerIsCurrentUser(socket)) return HandOver::NoAnswer;
    socket.write(taskPath.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs)) return HandOver::NoAnswer;
    // The running window answers once it has the request.
    return socket.waitForReadyRead(timeoutMs) && socket.readAll().startsWith("ok")
               ? HandOver::Taken
               : HandOver::NoAnswer;
}

CInstanceServer::CInstanceServer(QObject* parent) : QObject(parent) {
    // The folder is closed to other users already; the socket is made in place (Qt's access
    // options would make it elsewhere and rename it over whatever has the name).
    m_server = new QLocalServer(this);
    connect(m_server, &QLocalServer::newConnection, this, &CInstanceServer::Accept);
}

bool CInstanceServer::Listen(const QString& socketPath) {
    if (socketPath.isEmpty()) return false;
    struct stat st {};
    if (lstat(QFile::encodeName(socketPath).constData(), &st) == 0) {
        // Only a socket nobody accepts on any more is left over from a start that crashed;
        // a window that is slow to answer keeps its name.
        QLocalSocket probe;
        probe.connectToServer(socketPath);
        if (probe.waitForConnected(1000) || probe.error() != QLocalSocket::ConnectionRefusedError)
            return false;
        QLocalServer::removeServer(socketPath);
    }
    return m_server->listen(socketPath);
}

void CInstanceServer::Accept() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!PeerIsCurrentUser(*socket)) {
            socket->abort();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) return;
            const QString path = QString::fromUtf8(socket->readLine()).chopped(1);
            socket->write("ok\n");
            socket->flush();
            emit TaskRequested(path);
        });
    }
}

}  // namespace trimlet
