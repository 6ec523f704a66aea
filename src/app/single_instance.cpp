#include "app/single_instance.h"

#include <unistd.h>
#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

namespace trimlet {

QString InstanceSocketName(const QString& profileKey) {
    const QByteArray hash =
        QCryptographicHash::hash(profileKey.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("trimlet-html-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash));
}

bool HandToRunningInstance(const QString& socketName, const QString& taskPath, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketName);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(taskPath.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    // The running window answers once it has the request.
    return socket.waitForReadyRead(timeoutMs) && socket.readAll().startsWith("ok");
}

CInstanceServer::CInstanceServer(QObject* parent) : QObject(parent) {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &CInstanceServer::Accept);
}

bool CInstanceServer::Listen(const QString& socketName) {
    if (m_server->listen(socketName)) return true;
    // A socket file left by a start that crashed: nobody answers on it any more.
    QLocalServer::removeServer(socketName);
    return m_server->listen(socketName);
}

void CInstanceServer::Accept() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
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
