// The real program, started as a user starts it: one copy per user runs, a
// second start ends on its own without showing anything, and the lock goes
// with the process that held it; --help and --version answer on the terminal
// without a window. Also the lock itself, across processes.
#include <gtest/gtest.h>

#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "instance_channel.h"
#include "instance_lock.h"
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
        ASSERT_TRUE(runtime.isValid() && programDir.isValid());
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
        program = programDir.filePath(QStringLiteral("tolmeri"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(TOLMERI_EXE), program));
        lockPath = runtime.filePath(QStringLiteral("tolmeri"));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }
    void TearDown() override {
        qunsetenv("XDG_RUNTIME_DIR");
        // By its bytes: QTemporaryDir cannot remove a name that is not UTF-8.
        std::error_code ignored;
        std::filesystem::remove_all(QFile::encodeName(programDir.path()).toStdString(), ignored);
    }

    void Start(QProcess& p) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        p.setProcessEnvironment(env);
        p.start(program, {});
        ASSERT_TRUE(p.waitForStarted(20000));
    }
    bool HeldBy(const QProcess& p) {
        return QTest::qWaitFor([&] { return FlockHolder(lockPath) == p.processId(); }, 20000);
    }
    static void Stop(QProcess& p) {
        p.terminate();
        if (!p.waitForFinished(20000))
            p.kill();
        p.waitForFinished(20000);
    }

    QTemporaryDir runtime, programDir;
    QString program, lockPath;
};

TEST_F(RealProgram, ASecondCopyEndsOnItsOwnAndTheFirstRunsOn) {
    QProcess first;
    Start(first);
    ASSERT_TRUE(HeldBy(first));

    QProcess second;
    Start(second);
    ASSERT_TRUE(second.waitForFinished(20000)) << "the second copy must end by itself";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_EQ(FlockHolder(lockPath), first.processId());

    Stop(first);
    EXPECT_EQ(FlockHolder(lockPath), 0) << "the kernel drops the lock with its process";

    QProcess third;
    Start(third);
    EXPECT_TRUE(HeldBy(third)) << "after the first ends a new start runs";
    EXPECT_EQ(third.state(), QProcess::Running);
    Stop(third);
    EXPECT_FALSE(QFile::exists(programDir.filePath(QStringLiteral("tolmeri.ini"))));
}

TEST_F(RealProgram, TheRunningCopyListensBesideItsLockAndAnswersARequestToShowItself) {
    // A socket file left by a copy that ended does not stand in the way.
    const QString socket = CInstanceChannel::SocketPath(QStringLiteral("tolmeri"));
    ASSERT_EQ(socket, runtime.filePath(QStringLiteral("tolmeri.socket")));
    QFile stale(socket);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();

    QProcess first;
    Start(first);
    ASSERT_TRUE(HeldBy(first));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QLocalSocket probe;
            probe.connectToServer(socket);
            return probe.waitForConnected(1000);
        },
        20000));
    EXPECT_TRUE(CInstanceChannel::AskToActivate(QStringLiteral("tolmeri"), 20000));
    EXPECT_EQ(first.state(), QProcess::Running);
    Stop(first);
    EXPECT_FALSE(CInstanceChannel::AskToActivate(QStringLiteral("tolmeri"), 20000))
        << "nobody answers once it has ended";
}

TEST_F(RealProgram, ASecondStartBringsTheFirstCopysWindowToTheFront) {
    // This process is the first copy: it holds the lock and listens, its
    // window minimised behind another. The real program is the second start.
    CInstanceLock mine;
    ASSERT_EQ(mine.Acquire("tolmeri"), CInstanceLock::Result::Acquired);
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

    QProcess second;
    QSignalSpy ended(&second, &QProcess::finished);
    Start(second);
    ASSERT_TRUE(ended.wait(20000)) << "the second start ends by itself";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
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

TEST_F(RealProgram, ALockHeldByAnyOtherProcessStopsTheStart) {
    CInstanceLock mine;
    ASSERT_EQ(mine.Acquire("tolmeri"), CInstanceLock::Result::Acquired);
    QProcess p;
    Start(p);
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 0);
}

TEST_F(RealProgram, OtherArgumentsAreIgnoredAndTheWindowRuns) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program,
            {QStringLiteral("--verbose"), QStringLiteral("tolmeri.ini"), QStringLiteral("-v")});
    ASSERT_TRUE(p.waitForStarted(20000));
    EXPECT_TRUE(HeldBy(p));
    EXPECT_EQ(p.state(), QProcess::Running);
    Stop(p);
}

// --help and --version: one answer on standard output and status 0, with no
// display at all (a window would abort the start) and while another copy
// holds the lock (a start that looked at it would end silently).
TEST_F(RealProgram, HelpAndVersionAnswerWithoutAWindowOrTheLock) {
    CInstanceLock other;
    ASSERT_EQ(other.Acquire("tolmeri"), CInstanceLock::Result::Acquired);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());

    const QByteArray version = "tolmeri " TOLMERI_VERSION "\n";
    const struct {
        QStringList args;
        bool usage; // else the version line
    } cases[] = {
        {{QStringLiteral("--version")}, false},
        {{QStringLiteral("--help")}, true},
        {{QStringLiteral("-h")}, true},
        {{QStringLiteral("-geometry"), QStringLiteral("10x10"), QStringLiteral("--version")},
         false},
        {{QStringLiteral("--version"), QStringLiteral("--help")}, false}, // the first one answers
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program, c.args);
        ASSERT_TRUE(p.waitForFinished(20000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0);
        const QByteArray out = p.readAllStandardOutput();
        if (c.usage) {
            EXPECT_TRUE(out.startsWith("使い方: tolmeri [-h | --help | --version]\n"))
                << out.data();
            EXPECT_TRUE(out.contains("tolmeri-hours --help"));
        } else {
            EXPECT_EQ(out, version);
        }
        EXPECT_EQ(p.readAllStandardError(), QByteArray());
    }
    EXPECT_FALSE(QFile::exists(programDir.filePath(QStringLiteral("tolmeri.ini"))));

    // An answer that cannot be written is reported, not taken for success.
    QProcess full;
    full.setProcessEnvironment(env);
    full.setStandardOutputFile(QStringLiteral("/dev/full"));
    full.start(program, {QStringLiteral("--version")});
    ASSERT_TRUE(full.waitForFinished(20000));
    EXPECT_EQ(full.exitCode(), 1);
    EXPECT_TRUE(full.readAllStandardError().startsWith("tolmeri: 出力を書けませんでした"));
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

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("XDG_RUNTIME_DIR=" + runtime.path().toStdString());
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(exe.constData()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, QFile::encodeName(runtime.path()).constData());
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, exe.constData(), &actions, nullptr, argv, envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);

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
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(opened) << "the settings file beside the program was never read";
    EXPECT_FALSE(QFile::exists(runtime.filePath(QStringLiteral(".ini"))));
}

TEST(InstanceLock, OneHolderAtATimeAcrossProcesses) {
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    EXPECT_EQ(CInstanceLock::LockDirectory(), runtime.path().toStdString());

    int toChild[2], toParent[2];
    ASSERT_EQ(pipe(toChild), 0);
    ASSERT_EQ(pipe(toParent), 0);
    const pid_t child = fork();
    if (child == 0) {
        CInstanceLock lock;
        const char got = lock.Acquire("tolmeri") == CInstanceLock::Result::Acquired ? 'y' : 'n';
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
        EXPECT_EQ(second.Acquire("tolmeri"), CInstanceLock::Result::HeldElsewhere);
        EXPECT_FALSE(second.IsHeld());
    }
    (void)!write(toChild[1], "x", 1);
    int status = 0;
    waitpid(child, &status, 0);
    CInstanceLock after;
    EXPECT_EQ(after.Acquire("tolmeri"), CInstanceLock::Result::Acquired);
    qunsetenv("XDG_RUNTIME_DIR");
}

TEST(InstanceLock, AnUnsafeRuntimeDirectoryIsNotUsed) {
    QTemporaryDir open;
    QFile::setPermissions(open.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner | QFileDevice::WriteOther |
                                           QFileDevice::ReadOther | QFileDevice::ExeOther);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(open.path()));
    const std::string dir = CInstanceLock::LockDirectory();
    EXPECT_NE(dir, open.path().toStdString()) << "a world-writable folder is not private";
    EXPECT_EQ(dir, "/tmp/tolmeri-" + std::to_string(geteuid()));
    qputenv("XDG_RUNTIME_DIR", "relative/path");
    EXPECT_EQ(CInstanceLock::LockDirectory(), "/tmp/tolmeri-" + std::to_string(geteuid()));
    qunsetenv("XDG_RUNTIME_DIR");
}

} // namespace
