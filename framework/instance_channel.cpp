#include "framework/instance_channel.h"

#include <QApplication>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include "framework/instance_lock.h"

namespace {

// One request line: "activate", then a space and the activation token when
// there is one. Anything longer or different is not a request.
constexpr char kActivate[] = "activate";
constexpr qint64 kMaxRequest = 512;
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

} // namespace

CInstanceChannel::CInstanceChannel() : m_pServer(new QLocalServer(this)) {}

CInstanceChannel::~CInstanceChannel() = default;

QString CInstanceChannel::SocketPath(const QString& name) {
    const std::string dir = CInstanceLock::LockDirectory();
    if (dir.empty())
        return {};
    return QFile::decodeName(QByteArray::fromStdString(dir)) + QLatin1Char('/') + name +
           QStringLiteral(".socket");
}

bool CInstanceChannel::Listen(const QString& name, std::function<void()> onActivate) {
    const QString path = SocketPath(name);
    if (path.isEmpty())
        return false;
    m_onActivate = std::move(onActivate);
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(path); // the lock is ours: a socket there is stale
    if (!m_pServer->listen(path))
        return false;
    connect(m_pServer, &QLocalServer::newConnection, this, &CInstanceChannel::OnConnection);
    return true;
}

void CInstanceChannel::OnConnection() {
    while (QLocalSocket* socket = m_pServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // The request comes as one short line; it is read as it arrives, so
        // a silent or slow client never holds up the window.
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxRequest)
                    socket->abort();
                return;
            }
            QByteArray line = socket->readLine(kMaxRequest);
            line.chop(1);
            const qsizetype space = line.indexOf(' ');
            if ((space < 0 ? line : line.left(space)) != kActivate) {
                socket->abort();
                return;
            }
            const QByteArray token = space < 0 ? QByteArray() : line.mid(space + 1);
            if (!token.isEmpty() && IsToken(token))
                qputenv("XDG_ACTIVATION_TOKEN", token);
            if (m_onActivate)
                m_onActivate();
            socket->write(kAnswer);
            socket->disconnectFromServer();
        });
    }
}

bool CInstanceChannel::AskToActivate(const QString& name, int timeoutMs) {
    const QString path = SocketPath(name);
    if (path.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
    if (!IsToken(token))
        token.clear();
    socket.write(QByteArray(kActivate) + (token.isEmpty() ? QByteArray() : ' ' + token) + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The answer may come together with the end of the connection.
    while (!socket.canReadLine() && socket.waitForReadyRead(timeoutMs)) {
    }
    return socket.canReadLine() && socket.readLine(kMaxRequest) == kAnswer;
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
