#include "framework/instance_channel.h"

#include <QApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QWidget>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include "framework/instance_lock.h"

namespace {

// One request line: "activate", then a space and the activation token when
// there is one. Anything longer or different is not a request.
constexpr char kActivate[] = "activate";
constexpr qsizetype kMaxRequest = 512;
constexpr char kAnswer[] = "ok\n";

// An activation token is printable ASCII of modest length; anything else is
// dropped rather than put into the environment.
bool IsToken(const QByteArray& token) {
    if (token.size() > 400)
        return false;
    for (char c : token)
        if (c <= ' ' || c > '~')
            return false;
    return true;
}

// The address of a socket file; false when the path does not fit one.
bool SocketAddress(const QByteArray& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return true;
}

// The whole of data sent on a blocking socket (its send timeout applies).
bool SendAll(int fd, const QByteArray& data) {
    qsizetype sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(fd, data.constData() + sent,
                                 static_cast<std::size_t>(data.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

void SetTimeouts(int fd, int timeoutMs) {
    // A zero timeval would mean no limit at all.
    timeoutMs = std::max(timeoutMs, 1);
    const timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
}

} // namespace

CInstanceChannel::CInstanceChannel() = default;

CInstanceChannel::~CInstanceChannel() {
    while (!m_clients.empty())
        Drop(m_clients.begin()->first);
    if (m_nListenFd >= 0) {
        delete m_pNotifier;
        ::close(m_nListenFd);
        ::unlink(m_strPath.constData());
    }
}

QString CInstanceChannel::SocketPath(const QString& name) {
    const std::string dir = CInstanceLock::LockDirectory();
    if (dir.empty())
        return {};
    return QFile::decodeName(QByteArray::fromStdString(dir)) + QLatin1Char('/') + name +
           QStringLiteral(".socket");
}

bool CInstanceChannel::Listen(const QString& name, std::function<void()> onActivate) {
    if (m_nListenFd >= 0)
        return false;
    const QByteArray path = QFile::encodeName(SocketPath(name));
    // Made under a name of its own, closed to everyone else, then put in
    // place: the lock is ours, so a socket already there is stale.
    const QByteArray made = path + '.' + QByteArray::number(::getpid());
    sockaddr_un address;
    if (!SocketAddress(made, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    ::unlink(made.constData());
    const bool ok = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                    ::chmod(made.constData(), S_IRWXU) == 0 && ::listen(fd, SOMAXCONN) == 0 &&
                    ::rename(made.constData(), path.constData()) == 0;
    if (!ok) {
        ::close(fd);
        ::unlink(made.constData());
        return false;
    }
    m_nListenFd = fd;
    m_strPath = path;
    m_onActivate = std::move(onActivate);
    m_pNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &CInstanceChannel::OnConnection);
    return true;
}

void CInstanceChannel::OnConnection() {
    for (;;) {
        const int fd = ::accept4(m_nListenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return; // none waiting (EAGAIN), or none to be had now
        }
        // The request comes as one short line; it is read as it arrives, so
        // a silent or slow client never holds up the window.
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        m_clients[fd] = Client{notifier, {}};
        connect(notifier, &QSocketNotifier::activated, this, [this, fd] { OnReadable(fd); });
    }
}

void CInstanceChannel::OnReadable(int fd) {
    const auto it = m_clients.find(fd);
    if (it == m_clients.end())
        return;
    QByteArray& received = it->second.strReceived;
    char buffer[kMaxRequest + 1];
    ssize_t n;
    do
        n = ::recv(fd, buffer, sizeof buffer, 0);
    while (n < 0 && errno == EINTR);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        return;
    if (n <= 0) { // the client went, or its connection broke
        Drop(fd);
        return;
    }
    received.append(buffer, n);
    const qsizetype end = received.indexOf('\n');
    if (end < 0) {
        if (received.size() > kMaxRequest)
            Drop(fd);
        return;
    }
    const QByteArray line = received.left(end);
    const qsizetype space = line.indexOf(' ');
    if (end >= kMaxRequest || (space < 0 ? line : line.left(space)) != kActivate) {
        Drop(fd);
        return;
    }
    const QByteArray token = space < 0 ? QByteArray() : line.mid(space + 1);
    if (!token.isEmpty() && IsToken(token))
        qputenv("XDG_ACTIVATION_TOKEN", token);
    if (m_onActivate)
        m_onActivate();
    if (m_clients.count(fd)) {
        ::send(fd, kAnswer, sizeof kAnswer - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        Drop(fd);
    }
}

void CInstanceChannel::Drop(int fd) {
    const auto it = m_clients.find(fd);
    if (it == m_clients.end())
        return;
    // The notifier may be the one whose signal is being handled.
    it->second.pNotifier->setEnabled(false);
    it->second.pNotifier->deleteLater();
    m_clients.erase(it);
    ::close(fd);
}

bool CInstanceChannel::AskToActivate(const QString& name, int timeoutMs) {
    const QString path = SocketPath(name);
    sockaddr_un address;
    if (path.isEmpty() || !SocketAddress(QFile::encodeName(path), address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // Every step waits at most timeoutMs: the connection (a full queue of
    // waiting clients), the request, and each part of the answer.
    SetTimeouts(fd, timeoutMs);
    int connected;
    do
        connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    while (connected != 0 && errno == EINTR);
    QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
    if (!IsToken(token))
        token.clear();
    QByteArray answer;
    if (connected == 0 && SendAll(fd, QByteArray(kActivate) +
                                          (token.isEmpty() ? QByteArray() : ' ' + token) + '\n')) {
        // The answer may come together with the end of the connection.
        char buffer[64];
        while (!answer.contains('\n') && answer.size() < kMaxRequest) {
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            answer.append(buffer, n);
        }
    }
    ::close(fd);
    return answer.left(answer.indexOf('\n') + 1) == kAnswer;
}

namespace afx {

void BringToFront(QWidget* window) {
    if (!window)
        return;
    if (window->isMinimized())
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
    // A dialog modal over the window (a message, the About box, the list)
    // is what takes input: it comes on top.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != window && modal->isVisible()) {
        modal->raise();
        modal->activateWindow();
    }
}

} // namespace afx
