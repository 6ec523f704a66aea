// The rendezvous of a second start: where it lies, who may use it, and when a socket left
// there is taken over.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <cstring>
#include <functional>

#include "app/desktop_app.h"
#include "app/single_instance.h"
#include "app_test_support.h"
#include "qstring_printer.h"
#include "test_support.h"

namespace trimlet {
namespace {

// A Unix socket bound at `path`, listening or not; closed (its file left) by the caller.
int BoundSocket(const std::string& path, bool listening) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return -1;
    if (listening) listen(fd, 4);
    return fd;
}

TEST(SingleInstance, TheSocketLiesInAFolderOnlyThisUserEnters) {
    const QString path = InstanceSocketPath(QStringLiteral("/home/u/profile.ini"));
    ASSERT_FALSE(path.isEmpty());
    struct stat st {};
    ASSERT_EQ(lstat(QFileInfo(path).path().toLocal8Bit().constData(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_uid, getuid());
    EXPECT_EQ(st.st_mode & 077, 0u);
    // One rendezvous per profile.
    EXPECT_NE(path, InstanceSocketPath(QString()));
    EXPECT_EQ(InstanceSocketPath(QString(), QStringLiteral("x")), QString());
}

TEST(SingleInstance, ASocketLeftBehindIsTakenOverOnlyWhenConnectingIsRefused) {
    struct Case {
        const char* name;
        std::function<int(const std::string&)> leave;  // puts something at the path
        bool listens;                                  // Listen succeeds
    };
    const Case cases[] = {
        {"nothing there", [](const std::string&) { return -1; }, true},
        {"left by a crash",
         [](const std::string& p) {
             close(BoundSocket(p, false));
             return -1;
         },
         true},
        {"bound, not listening", [](const std::string& p) { return BoundSocket(p, false); }, true},
        {"a window slow to answer", [](const std::string& p) { return BoundSocket(p, true); },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::string path = dir.File("s.socket");
        const int held = c.leave(path);
        CInstanceServer server;
        EXPECT_EQ(server.Listen(QString::fromStdString(path)), c.listens);
        // A slow window keeps its socket: a second start connects to it, not to us.
        if (!c.listens) {
            EXPECT_EQ(HandToRunningInstance(QString::fromStdString(path), QString(), 300),
                      HandOver::NoAnswer);
        }
        if (held >= 0) close(held);
    }
}

TEST(SingleInstance, NobodyListeningMeansThisStartIsTheFirst) {
    test::TempDir dir;
    EXPECT_EQ(HandToRunningInstance(QString::fromStdString(dir.File("none.socket")), "t", 300),
              HandOver::NoInstance);
    EXPECT_EQ(HandToRunningInstance(QString(), "t", 300), HandOver::NoInstance);
}

TEST(SingleInstance, AnotherUsersEndIsNeverTrusted) {
    if (getuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    test::TempDir dir;
    chmod(dir.path().c_str(), 0777);
    const std::string path = dir.File("shared.socket");

    // Another user listens: the task path is not handed to it.
    pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
        const int fd = BoundSocket(path, true);
        pollfd wait{fd, POLLIN, 0};
        if (poll(&wait, 1, 5000) <= 0) _exit(4);
        const int peer = accept(fd, nullptr, nullptr);
        char buffer[64];
        pollfd data{peer, POLLIN, 0};
        // Anything received is a leak.
        _exit(poll(&data, 1, 1500) > 0 && read(peer, buffer, sizeof buffer) > 0 ? 1 : 0);
    }
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(QString::fromStdString(path)), 5000);
    QTest::qWait(100);
    EXPECT_EQ(HandToRunningInstance(QString::fromStdString(path), "/secret/task.trh", 1000),
              HandOver::NoAnswer);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the other user received the task path";

    // Another user connects to our window: its request is dropped unread.
    const std::string ours = dir.File("ours.socket");
    CInstanceServer server;
    ASSERT_TRUE(server.Listen(QString::fromStdString(ours)));
    chmod(ours.c_str(), 0777);
    QSignalSpy requests(&server, &CInstanceServer::TaskRequested);
    child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, ours.c_str(), sizeof address.sun_path - 1);
        if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) _exit(5);
        const char request[] = "/evil/task.trh\n";
        (void)!write(fd, request, sizeof request - 1);
        pollfd answer{fd, POLLIN, 0};
        char buffer[8] = {};
        _exit(poll(&answer, 1, 1500) > 0 && read(fd, buffer, sizeof buffer) > 0 && buffer[0] == 'o'
                  ? 1
                  : 0);
    }
    for (int i = 0; i < 40 && waitpid(child, &status, WNOHANG) == 0; ++i)
        QTest::qWait(50);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the other user got an answer";
    EXPECT_EQ(requests.count(), 0);
}

TEST(SingleInstance, AListenerAtTheOldSharedNameReceivesNothingAndTheWindowOpens) {
    const QByteArray program = qgetenv("TRIMLET_GUI_PROGRAM");
    ASSERT_FALSE(program.isEmpty());
    test::TempDir dir;
    const QString profilePath = QString::fromStdString(dir.File("profile.ini"));
    // Where a start used to meet its window: a predictable name in the shared folder.
    QLocalServer squatter;
    const QByteArray key =
        QCryptographicHash::hash(InstanceProfileKey(profilePath).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(12);
    const QString oldName =
        QStringLiteral("trimlet-html-%1-%2").arg(getuid()).arg(QString::fromLatin1(key));
    QLocalServer::removeServer(oldName);
    ASSERT_TRUE(squatter.listen(oldName));
    QSignalSpy contacts(&squatter, &QLocalServer::newConnection);

    QProcess window;
    window.start(QString::fromLocal8Bit(program),
                 {"--profile", profilePath, QString::fromStdString(dir.File("t.trh"))});
    ASSERT_TRUE(window.waitForStarted(5000));
    // The window opens and listens at its own rendezvous; a further start reaches it.
    const QString rendezvous = InstanceSocketPath(InstanceProfileKey(profilePath));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(rendezvous), 10000);
    EXPECT_EQ(window.state(), QProcess::Running);
    EXPECT_EQ(contacts.count(), 0);
    window.kill();
    window.waitForFinished(5000);
    QLocalServer::removeServer(rendezvous);
}

}  // namespace
}  // namespace trimlet
