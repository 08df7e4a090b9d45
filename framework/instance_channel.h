// framework: the word a later start of the program sends to the running one.
// The running instance listens on a per-user local socket beside its
// single-instance lock; a later start, which finds the lock held, connects
// and asks it to come to the front, then ends. The socket is a plain Unix
// stream socket watched by the event loop, so the program needs no network
// library to start.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <map>

class QSocketNotifier;
class QWidget;

class CInstanceChannel : public QObject {
    Q_OBJECT
public:
    CInstanceChannel();
    ~CInstanceChannel() override;

    // Listens at SocketPath(name); onActivate runs for every request, then
    // the asking start is answered. Only the holder of the lock of name may
    // listen: any socket file left there by an instance that ended is
    // replaced; the socket file goes when the channel does. False when no
    // socket can be made (the program runs on).
    bool Listen(const QString& name, std::function<void()> onActivate);

    // Asks the running instance of name to come to the front and waits up to
    // timeoutMs for its answer; true when it answered. The activation token
    // a desktop gave this start (XDG_ACTIVATION_TOKEN) goes along, so the
    // window may take the focus.
    static bool AskToActivate(const QString& name, int timeoutMs = 3000);

    // The socket beside the lock: "<lock directory>/<name>.socket"; empty
    // when there is no lock directory.
    static QString SocketPath(const QString& name);

private:
    void OnConnection();
    void OnReadable(int fd);
    void Drop(int fd);

    struct Client {
        QSocketNotifier* pNotifier;
        QByteArray strReceived;
    };
    int m_nListenFd = -1;
    QByteArray m_strPath; // the socket file while listening
    QSocketNotifier* m_pNotifier = nullptr;
    std::map<int, Client> m_clients;
    std::function<void()> m_onActivate;
};

namespace afx {

// Shows window (restored if minimised) above the others and gives it the
// focus, or to the dialog that is modal over it.
void BringToFront(QWidget* window);

} // namespace afx
