#pragma once
// One window per user and profile: the first start listens on a local socket named after
// the user and the profile; a later start hands its task path (possibly empty) to it and
// ends.

#include <QObject>
#include <QString>

class QLocalServer;

namespace trimlet {

// The socket name for the current user and `profileKey` (the profile file, or empty for
// the user's own profile).
QString InstanceSocketName(const QString& profileKey);

// Sends `taskPath` to a running instance; true when one took it.
bool HandToRunningInstance(const QString& socketName, const QString& taskPath,
                           int timeoutMs = 1000);

class CInstanceServer final : public QObject {
    Q_OBJECT
  public:
    explicit CInstanceServer(QObject* parent = nullptr);

    // Listens on `socketName`, taking the name over from a start that ended without
    // closing it. False when it cannot listen (the program then runs alone all the same).
    bool Listen(const QString& socketName);

  signals:
    // A later start asked for `taskPath` (empty: only to be shown).
    void TaskRequested(const QString& taskPath);

  private:
    void Accept();

    QLocalServer* m_server = nullptr;
};

}  // namespace trimlet
