#pragma once
// One window per user and profile: the first start listens on a local socket in a folder
// only this user can enter, named after the profile; a later start hands its task path
// (possibly empty) to it and ends. Both ends check that the other runs as the same user.

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace trimlet {

// The socket path for the current user and `profileKey` (the profile file, or empty for
// the user's own profile) inside `folder`; empty when `folder` is.
QString InstanceSocketPath(const QString& folder, const QString& profileKey);
// The same inside the user's private rendezvous folder; empty when there is none, and then
// every start runs a window of its own.
QString InstanceSocketPath(const QString& profileKey);

// Whether the process at the other end of `socket` runs as the current user.
bool PeerIsCurrentUser(const QLocalSocket& socket);

enum class HandOver {
    Taken,       // a running window of this user took the task
    NoInstance,  // nobody listens: this start is the first
    NoAnswer,    // something listens but did not take the task (busy, another user)
};

// Sends `taskPath` to a running instance listening on `socketPath`.
HandOver HandToRunningInstance(const QString& socketPath, const QString& taskPath,
                               int timeoutMs = 5000);

class CInstanceServer final : public QObject {
    Q_OBJECT
  public:
    explicit CInstanceServer(QObject* parent = nullptr);

    // Listens on `socketPath`. A socket left by a start that ended without closing it is
    // taken over only when connecting to it is refused; one that answers, even slowly, is
    // left alone and the result is false (the program then runs alone all the same).
    bool Listen(const QString& socketPath);

  signals:
    // A later start asked for `taskPath` (empty: only to be shown).
    void TaskRequested(const QString& taskPath);

  private:
    void Accept();

    QLocalServer* m_server = nullptr;
};

}  // namespace trimlet
