// The real program, started as a user starts it: one copy per user runs, a
// second start ends on its own without showing anything, and the lock goes
// with the process that held it; --help and --version answer on the terminal
// without a window. Also the lock itself, across processes.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/instance_channel.h"
#include "framework/instance_lock.h"
#include "tests/gui_support.h"
#include "tests/run_process.h"
#include "tolmeri_config.h"

namespace {

// Which process holds an flock on path, as the kernel lists it; 0 if none.
// Looking does not take the lock, so it cannot disturb a program starting.
pid_t FlockHolder(const QString& path) {
    struct stat st {};
    if (stat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray inode = ":" + QByteArray::number(static_cast<qulonglong>(st.st_ino));
    for (const QByteArray& line : locks.readAll().split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() >= 6 && f[1] == "FLOCK" && f[5].endsWith(inode))
            return f[4].toInt();
    }
    return 0;
}

class RealProgram : public ::testing::Test {
protected:
    void SetUp() override {
        program = programDir.filePath(QStringLiteral("tolmeri"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(TOLMERI_EXE), program));
        lockPath = runtime.filePath(QStringLiteral("tolmeri"));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }
    void TearDown() override { qunsetenv("XDG_RUNTIME_DIR"); }

    // The program started as a user starts it, on the headless platform.
    std::unique_ptr<CChildProcess> Start(const std::vector<std::string>& args = {},
                                         ProcessOptions options = {}) {
        options.folder = runtime.String();
        if (options.env.empty())
            options.env = {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + runtime.String()};
        return std::make_unique<CChildProcess>(QFile::encodeName(program).toStdString(), args,
                                               options);
    }
    bool HeldBy(const CChildProcess& p) {
        return QTest::qWaitFor([&] { return FlockHolder(lockPath) == p.Pid(); }, 20000);
    }
    // Ends by itself within the time a start may take.
    static bool EndsBySelf(CChildProcess& p) {
        return QTest::qWaitFor([&] { return p.Ended(); }, 20000);
    }
    static void Stop(CChildProcess& p) {
        p.Signal(SIGTERM);
        if (!EndsBySelf(p))
            p.Signal(SIGKILL);
        p.Wait();
    }

    CQtTempFolder runtime, programDir;
    QString program, lockPath;
};

TEST_F(RealProgram, ASecondCopyEndsOnItsOwnAndTheFirstRunsOn) {
    const auto first = Start();
    ASSERT_TRUE(HeldBy(*first));

    const auto second = Start();
    ASSERT_TRUE(EndsBySelf(*second)) << "the second copy must end by itself";
    EXPECT_FALSE(second->Signalled());
    EXPECT_EQ(second->Status(), 0);
    EXPECT_FALSE(first->Ended());
    EXPECT_EQ(FlockHolder(lockPath), first->Pid());

    Stop(*first);
    EXPECT_EQ(FlockHolder(lockPath), 0) << "the kernel drops the lock with its process";

    const auto third = Start();
    EXPECT_TRUE(HeldBy(*third)) << "after the first ends a new start runs";
    EXPECT_FALSE(third->Ended());
    Stop(*third);
    EXPECT_FALSE(QFile::exists(programDir.filePath(QStringLiteral("tolmeri.ini"))));
}

// Started without standard input, output or error (<&- >&- 2>&-), the
// program has /dev/null on all three, so no file, socket or Qt's own
// descriptors take their place and no warning goes where it does not belong.
TEST_F(RealProgram, StartedWithClosedStandardDescriptorsItHasDevNullThere) {
    ProcessOptions options;
    options.closed = {0, 1, 2};
    const auto first = Start({}, options);
    ASSERT_TRUE(HeldBy(*first));
    for (int fd = 0; fd <= 2; ++fd) {
        const QString link = QStringLiteral("/proc/%1/fd/%2").arg(first->Pid()).arg(fd);
        EXPECT_EQ(QFileInfo(link).symLinkTarget().toStdString(), "/dev/null") << fd;
    }
    EXPECT_FALSE(first->Ended());
    Stop(*first);
}

TEST_F(RealProgram, TheRunningCopyListensBesideItsLockAndAnswersARequestToShowItself) {
    // A socket file left by a copy that ended does not stand in the way.
    const QString socket = CInstanceChannel::SocketPath(QStringLiteral("tolmeri"));
    ASSERT_EQ(socket, runtime.filePath(QStringLiteral("tolmeri.socket")));
    QFile stale(socket);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();

    const auto first = Start();
    ASSERT_TRUE(HeldBy(*first));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QLocalSocket probe;
            probe.connectToServer(socket);
            return probe.waitForConnected(1000);
        },
        20000));
    EXPECT_TRUE(CInstanceChannel::AskToActivate(QStringLiteral("tolmeri"), 20000));
    EXPECT_FALSE(first->Ended());
    Stop(*first);
    EXPECT_FALSE(CInstanceChannel::AskToActivate(QStringLiteral("tolmeri"), 20000))
        << "nobody answers once it has ended";
}

TEST_F(RealProgram, ASecondStartBringsTheFirstCopysWindowToTheFront) {
    // This process is the first copy: it holds the lock and listens, its
    // window minimised behind another. The real program is the second start.
    CInstanceLock mine;
    ASSERT_EQ(mine.Acquire("tolmeri"), CInstanceLock::Acquisition::kAcquired);
    QWidget window, other;
    int requests = 0;
    CInstanceChannel channel;
    ASSERT_TRUE(channel.Listen(QStringLiteral("tolmeri"), [&] {
        ++requests;
        afx::BringToFront(&window);
    }));
    window.show();
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window.showMinimized();
    ASSERT_TRUE(window.isMinimized());

    const auto second = Start();
    ASSERT_TRUE(EndsBySelf(*second)) << "the second start ends by itself";
    EXPECT_FALSE(second->Signalled());
    EXPECT_EQ(second->Status(), 0);
    EXPECT_EQ(requests, 1);
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

TEST_F(RealProgram, OnlyARequestIsAnsweredAndItsActivationTokenIsKept) {
    CInstanceChannel channel;
    int requests = 0;
    ASSERT_TRUE(channel.Listen(QStringLiteral("tolmeri"), [&] { ++requests; }));
    qunsetenv("XDG_ACTIVATION_TOKEN");
    // What a client sends, and what it hears back before the end.
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"show\n", ""},
        {"activatex\n", ""},
        {QByteArray(4096, 'a') + '\n', ""},
        {"activate bad\x01token\n", "ok\n"}, // a request, but its token is not taken
        {"activate\n", "ok\n"},
        {"activate desktop-42\n", "ok\n"},
    };
    for (const auto& [request, answer] : cases) {
        QLocalSocket client;
        client.connectToServer(CInstanceChannel::SocketPath(QStringLiteral("tolmeri")));
        ASSERT_TRUE(client.waitForConnected(20000));
        QSignalSpy closed(&client, &QLocalSocket::disconnected);
        client.write(request);
        EXPECT_TRUE(closed.wait(20000)) << request.left(20).toStdString();
        EXPECT_EQ(client.readAll(), answer) << request.left(20).toStdString();
        if (!request.contains("desktop")) {
            EXPECT_TRUE(qgetenv("XDG_ACTIVATION_TOKEN").isEmpty());
        }
    }
    EXPECT_EQ(requests, 3);
    EXPECT_EQ(qgetenv("XDG_ACTIVATION_TOKEN"), QByteArray("desktop-42"));
    qunsetenv("XDG_ACTIVATION_TOKEN");
}

// The socket is the user's alone, made without a name left behind, taken by
// one channel only, and gone with the channel that made it.
TEST_F(RealProgram, TheChannelsSocketIsTheUsersAloneAndGoesWithTheChannel) {
    const QByteArray path =
        QFile::encodeName(CInstanceChannel::SocketPath(QStringLiteral("tolmeri")));
    {
        CInstanceChannel channel;
        ASSERT_TRUE(channel.Listen(QStringLiteral("tolmeri"), [] {}));
        EXPECT_FALSE(channel.Listen(QStringLiteral("tolmeri"), [] {})) << "listens once";
        struct stat st {};
        ASSERT_EQ(::stat(path.constData(), &st), 0);
        EXPECT_TRUE(S_ISSOCK(st.st_mode));
        EXPECT_EQ(st.st_mode & 077, 0u) << "no access for group or others";
        EXPECT_EQ(
            QDir(runtime.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
            QStringList{QStringLiteral("tolmeri.socket")});
        QLocalSocket client;
        client.connectToServer(QFile::decodeName(path));
        EXPECT_TRUE(client.waitForConnected(20000));
    }
    EXPECT_FALSE(QFile::exists(QFile::decodeName(path)));
    EXPECT_FALSE(CInstanceChannel::AskToActivate(QStringLiteral("tolmeri"), 20000));

    // A lock folder whose path no socket address holds: no channel, and no
    // request sent anywhere.
    const QString deep = runtime.filePath(QString(120, u'd'));
    ASSERT_TRUE(QDir().mkpath(deep));
    ASSERT_EQ(::chmod(QFile::encodeName(deep).constData(), 0700), 0);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(deep));
    CInstanceChannel channel;
    EXPECT_FALSE(channel.Listen(QStringLiteral("tolmeri"), [] {}));
    EXPECT_FALSE(CInstanceChannel::AskToActivate(QStringLiteral("tolmeri"), 20000));
}

// What the asking start makes of the answer, whole, in pieces, wrong, cut
// short or never given (the last within its timeout).
TEST_F(RealProgram, ASecondStartTakesOnlyTheWholeAnswer) {
    struct Case {
        std::vector<QByteArray> pieces;
        bool silent;
        bool answered;
    };
    const Case cases[] = {
        {{"ok\n"}, false, true},  {{"o", "k", "\n"}, false, true}, {{"ok\nmore"}, false, true},
        {{"no\n"}, false, false}, {{"ok"}, false, false},          {{}, false, false},
        {{}, true, false},
    };
    const QByteArray path =
        QFile::encodeName(CInstanceChannel::SocketPath(QStringLiteral("tolmeri")));
    for (const Case& c : cases) {
        const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ASSERT_GE(server, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        ASSERT_LT(static_cast<std::size_t>(path.size()), sizeof address.sun_path);
        std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
        ::unlink(path.constData());
        ASSERT_EQ(::bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(::listen(server, 4), 0);
        QByteArray request;
        std::thread peer([&] {
            const int fd = ::accept(server, nullptr, nullptr);
            if (fd < 0)
                return;
            char b;
            while (!request.endsWith('\n') && ::recv(fd, &b, 1, 0) == 1)
                request += b;
            if (c.silent) { // until the asking side gives up
                while (::recv(fd, &b, 1, 0) > 0) {
                }
            }
            for (const QByteArray& piece : c.pieces)
                ::send(fd, piece.constData(), static_cast<std::size_t>(piece.size()), MSG_NOSIGNAL);
            ::close(fd);
        });
        const bool answered = CInstanceChannel::AskToActivate(QStringLiteral("tolmeri"), 300);
        peer.join();
        ::close(server);
        EXPECT_EQ(answered, c.answered) << c.pieces.size() << (c.silent ? " silent" : "");
        EXPECT_EQ(request, QByteArray("activate\n"));
    }
    ::unlink(path.constData());
}

TEST_F(RealProgram, ALockHeldByAnyOtherProcessStopsTheStart) {
    CInstanceLock mine;
    ASSERT_EQ(mine.Acquire("tolmeri"), CInstanceLock::Acquisition::kAcquired);
    const auto p = Start();
    ASSERT_TRUE(EndsBySelf(*p));
    EXPECT_EQ(p->Status(), 0);
}

TEST_F(RealProgram, QtsOptionsRunTheWindow) {
    const auto p = Start({"-style", "fusion", "--reverse", "-geometry=640x480"});
    EXPECT_TRUE(HeldBy(*p));
    EXPECT_FALSE(p->Ended());
    Stop(*p);
}

// Without a display, for any other argument and for a start that needs the
// window: one line and status 1, no abort, no lock taken.
TEST_F(RealProgram, OtherArgumentsAndAMissingDisplayGetOneLine) {
    ProcessOptions headless;
    headless.env = {"XDG_RUNTIME_DIR=" + runtime.String()};
    headless.unset = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    const std::string noDisplay =
        "tolmeri: ウィンドウを開けません（画面につながりません。DISPLAY か "
        "WAYLAND_DISPLAY を確かめてください）\n";
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"--bogus"}, "tolmeri: 引数 \"--bogus\" は使えません（使い方は tolmeri --help）\n"},
        {{"-style", "fusion", "tolmeri.ini"},
         "tolmeri: 引数 \"tolmeri.ini\" は使えません（使い方は tolmeri --help）\n"},
        {{"-v"}, "tolmeri: 引数 \"-v\" は使えません（使い方は tolmeri --help）\n"},
        {{std::string(100, 'x')},
         "tolmeri: 引数 \"" + std::string(64, 'x') +
             "\" は使えません（使い方は tolmeri --help）\n"},
        {{}, noDisplay},
        {{"-style", "fusion"}, noDisplay},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const auto p = Start(c.args, headless);
        ASSERT_TRUE(EndsBySelf(*p));
        EXPECT_FALSE(p->Signalled());
        EXPECT_EQ(p->Status(), 1);
        EXPECT_EQ(p->Err(), c.err);
        EXPECT_EQ(p->Out(), "");
    }
    EXPECT_FALSE(QFile::exists(programDir.filePath(QStringLiteral("tolmeri.ini"))));
}

// --help and --version: one answer on standard output and status 0, with no
// display at all (a window would abort the start) and while another copy
// holds the lock (a start that looked at it would end silently).
TEST_F(RealProgram, HelpAndVersionAnswerWithoutAWindowOrTheLock) {
    CInstanceLock other;
    ASSERT_EQ(other.Acquire("tolmeri"), CInstanceLock::Acquisition::kAcquired);
    ProcessOptions headless;
    headless.env = {"XDG_RUNTIME_DIR=" + runtime.String()};
    headless.unset = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};

    const std::string version = "tolmeri " TOLMERI_VERSION "\n";
    const struct {
        std::vector<std::string> args;
        bool usage; // else the version line
    } cases[] = {
        {{"--version"}, false},
        {{"--help"}, true},
        {{"-h"}, true},
        {{"-geometry", "10x10", "--version"}, false},
        {{"--version", "--help"}, false}, // the first one answers
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const auto p = Start(c.args, headless);
        ASSERT_TRUE(EndsBySelf(*p));
        EXPECT_FALSE(p->Signalled());
        EXPECT_EQ(p->Status(), 0);
        const std::string out = p->Out();
        if (c.usage) {
            EXPECT_EQ(out.rfind("使い方: tolmeri [-h | --help | --version]\n", 0), 0u) << out;
            EXPECT_NE(out.find("tolmeri-hours --help"), std::string::npos);
        } else {
            EXPECT_EQ(out, version);
        }
        EXPECT_EQ(p->Err(), "");
    }
    EXPECT_FALSE(QFile::exists(programDir.filePath(QStringLiteral("tolmeri.ini"))));

    // An answer that cannot be written is reported, not taken for success.
    ProcessOptions full = headless;
    full.stdoutPath = "/dev/full";
    const auto p = Start({"--version"}, full);
    ASSERT_TRUE(EndsBySelf(*p));
    EXPECT_EQ(p->Status(), 1);
    EXPECT_EQ(p->Err().rfind("tolmeri: 出力を書けませんでした", 0), 0u) << p->Err();
}

TEST_F(RealProgram, AFolderNameThatIsNotUtf8StillHoldsTheSettingsFile) {
    // A copy of the program in a folder named 東京 in Shift-JIS, started from
    // elsewhere: it must read the settings file beside itself.
    const QByteArray folder = QFile::encodeName(programDir.path()) + "/\x93\x8c\x8b\x9e";
    ASSERT_EQ(mkdir(folder.constData(), 0755), 0);
    const QByteArray exe = folder + "/tolmeri";
    ASSERT_EQ(rename(QFile::encodeName(program).constData(), exe.constData()), 0);
    const QByteArray ini = folder + "/tolmeri.ini";
    std::ofstream(ini.constData()) << "[Time]\nYear=1999\n";

    const int watch = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, folder.constData(), IN_OPEN), 0);

    CChildProcess child(
        exe.toStdString(), {},
        {.folder = runtime.String(),
         .env = {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + runtime.String()}});

    // The kernel reports the open of tolmeri.ini in that folder.
    bool opened = false;
    pollfd p{watch, POLLIN, 0};
    while (!opened && poll(&p, 1, 20000) == 1) {
        alignas(inotify_event) char buffer[4096];
        const ssize_t n = read(watch, buffer, sizeof buffer);
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            if (e->len && std::string(e->name) == "tolmeri.ini")
                opened = true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
    }
    close(watch);
    child.Signal(SIGTERM);
    child.Wait();
    EXPECT_TRUE(opened) << "the settings file beside the program was never read";
    EXPECT_FALSE(QFile::exists(runtime.filePath(QStringLiteral(".ini"))));
}

TEST(InstanceLock, OneHolderAtATimeAcrossProcesses) {
    CQtTempFolder runtime;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    EXPECT_EQ(CInstanceLock::LockDirectory(), runtime.path().toStdString());

    int toChild[2], toParent[2];
    ASSERT_EQ(pipe(toChild), 0);
    ASSERT_EQ(pipe(toParent), 0);
    const pid_t child = fork();
    if (child == 0) {
        CInstanceLock lock;
        const char got =
            lock.Acquire("tolmeri") == CInstanceLock::Acquisition::kAcquired ? 'y' : 'n';
        (void)!write(toParent[1], &got, 1);
        char go;
        (void)!read(toChild[0], &go, 1); // hold until told to end
        _exit(0);
    }
    char got = 0;
    ASSERT_EQ(read(toParent[0], &got, 1), 1);
    EXPECT_EQ(got, 'y');
    {
        CInstanceLock second;
        EXPECT_EQ(second.Acquire("tolmeri"), CInstanceLock::Acquisition::kHeldElsewhere);
        EXPECT_FALSE(second.IsHeld());
    }
    (void)!write(toChild[1], "x", 1);
    int status = 0;
    waitpid(child, &status, 0);
    CInstanceLock after;
    EXPECT_EQ(after.Acquire("tolmeri"), CInstanceLock::Acquisition::kAcquired);
    qunsetenv("XDG_RUNTIME_DIR");
}

TEST(InstanceLock, AnUnsafeRuntimeDirectoryIsNotUsed) {
    CQtTempFolder open;
    QFile::setPermissions(open.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner | QFileDevice::WriteOther |
                                           QFileDevice::ReadOther | QFileDevice::ExeOther);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(open.path()));
    const std::string fallback = "/tmp/tolmeri-" + std::to_string(geteuid());
    struct stat before {};
    const bool existed = lstat(fallback.c_str(), &before) == 0;
    const std::string dir = CInstanceLock::LockDirectory();
    EXPECT_NE(dir, open.path().toStdString()) << "a world-writable folder is not private";
    EXPECT_EQ(dir, fallback);
    qputenv("XDG_RUNTIME_DIR", "relative/path");
    EXPECT_EQ(CInstanceLock::LockDirectory(), fallback);
    qunsetenv("XDG_RUNTIME_DIR");
    if (!existed) // made for this test alone, and empty
        rmdir(fallback.c_str());
}

} // namespace
