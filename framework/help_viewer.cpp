#include "framework/help_viewer.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/dialog.h"
#include "framework/message_box.h"
#include "framework/win_app.h"
#include "framework/win_types.h"

namespace {

// The whole file at path, when it is a regular file of at most
// kMaxHelpFileSize bytes. Opened without blocking, so a pipe or a device
// never holds up the window; its kind is known before anything is read.
bool ReadHelpFile(const QByteArray& path, QByteArray& content) {
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok =
        ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= afx::kMaxHelpFileSize;
    content.clear();
    char buffer[65536];
    while (ok) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        // A file that grows while it is read is held to the same limit.
        ok = content.size() + got <= afx::kMaxHelpFileSize;
        if (ok)
            content.append(buffer, got);
    }
    ::close(fd);
    if (!ok)
        content.clear();
    return ok;
}

// The browser of the help window. It shows the help file it was given and
// loads everything else itself, from the help file's own folder only: the
// document lives at a "help:" address, so every relative reference resolves
// to "help:/name", and anything else (a file: address, a path with a
// folder) is not loaded. A link "syscommand:N" runs command N of the
// program's window menu, as choosing its item there does (the help file
// opens the About box this way).
class CHelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    // The help file's folder (bytes, no trailing '/'), and the file itself.
    void SetFile(const QByteArray& path, const QByteArray& content) {
        const qsizetype slash = path.lastIndexOf('/');
        m_folder = slash < 0 ? QByteArray(".") : path.left(slash);
        m_content = content;
        m_document = QUrl();
        m_document.setScheme(QStringLiteral("help"));
        m_document.setPath(QLatin1Char('/') + QString::fromUtf8(path.mid(slash + 1)),
                           QUrl::DecodedMode);
    }
    const QUrl& Document() const { return m_document; }

    // Never a null variant, not even for a refusal: the document would then
    // try the file system itself.
    QVariant loadResource(int, const QUrl& url) override {
        QByteArray data;
        Load(Resolved(url), data);
        return data;
    }

protected:
    // A link to a page that cannot be loaded is refused with the framework's
    // message; the page shown stays.
    void doSetSource(const QUrl& url, QTextDocument::ResourceType type) override {
        if (url.scheme() == QLatin1String("syscommand")) {
            RunSysCommand(url.path().toUInt());
            return;
        }
        // An anchor alone stays on the page.
        if (url.isRelative() && url.path().isEmpty()) {
            QTextBrowser::doSetSource(url, type);
            return;
        }
        // The page is given on by its full address, so that what it refers
        // to resolves to "help:/name" too.
        const QUrl target = Resolved(url);
        QByteArray ignored;
        if (!Load(target.adjusted(QUrl::RemoveFragment), ignored)) {
            afx::MessageBox(window(), afx::HelpFailureText(), afx::MbIcon::kExclamation);
            return;
        }
        QTextBrowser::doSetSource(target, type);
    }

private:
    // Only while the main window takes input: with another dialog open
    // over it, the link does nothing.
    static void RunSysCommand(unsigned nID) {
        auto* main = AfxGetApp() ? qobject_cast<CDialog*>(AfxGetApp()->m_pMainWnd) : nullptr;
        const QWidget* modal = QApplication::activeModalWidget();
        if (!nID || !main || (modal && modal != main))
            return;
        // After the click is done, so the dialog's modal loop does not run
        // inside the browser's mouse handling.
        QMetaObject::invokeMethod(
            main,
            [main = QPointer<CDialog>(main), nID] {
                if (main)
                    main->SysCommand(nID);
            },
            Qt::QueuedConnection);
    }

    // Every page lives in the one folder, so a relative address means the
    // same beside any of them.
    QUrl Resolved(const QUrl& url) const {
        return url.isRelative() ? m_document.resolved(url) : url;
    }

    bool Load(const QUrl& url, QByteArray& data) const {
        if (url.adjusted(QUrl::RemoveFragment) == m_document) {
            data = m_content;
            return true;
        }
        const QString name = url.path().mid(1);
        if (url.scheme() != QStringLiteral("help") || !url.host().isEmpty() ||
            !url.path().startsWith(QLatin1Char('/')) || name.isEmpty() ||
            name.contains(QLatin1Char('/')) || name == QStringLiteral(".") ||
            name == QStringLiteral(".."))
            return false;
        return ReadHelpFile(m_folder + '/' + name.toUtf8(), data);
    }

    QByteArray m_folder;
    QByteArray m_content;
    QUrl m_document;
};

// One top-level window: a row of navigation buttons over the browser. It is
// deleted when the user closes it, and made anew at the next request.
class CHelpWindow : public QWidget {
public:
    CHelpWindow() {
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(QStringLiteral("ヘルプ"));
        setFont(CDialog::DialogFont(11));

        m_pBrowser = new CHelpBrowser(this);
        m_pBrowser->setOpenLinks(true);
        m_pBrowser->setOpenExternalLinks(false);

        auto* contents = new QPushButton(QStringLiteral("目次(&C)"), this);
        auto* back = new QPushButton(QStringLiteral("戻る(&B)"), this);
        auto* forward = new QPushButton(QStringLiteral("進む(&F)"), this);
        auto* closeButton = new QPushButton(QStringLiteral("閉じる"), this);
        back->setEnabled(false);
        forward->setEnabled(false);
        for (QPushButton* button : {contents, back, forward, closeButton})
            button->setAutoDefault(false);
        // Closed by a button of its own and by Esc (keyPressEvent), as a
        // dialog is.
        connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
        connect(contents, &QPushButton::clicked, this, [this] { ShowAnchor(afx::HelpAnchor(1)); });
        connect(back, &QPushButton::clicked, m_pBrowser, &QTextBrowser::backward);
        connect(forward, &QPushButton::clicked, m_pBrowser, &QTextBrowser::forward);
        connect(m_pBrowser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        connect(m_pBrowser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
        connect(m_pBrowser, &QTextBrowser::sourceChanged, this, [this] {
            const QString title = m_pBrowser->documentTitle();
            setWindowTitle(title.isEmpty() ? QStringLiteral("ヘルプ") : title);
        });

        auto* buttons = new QHBoxLayout;
        buttons->addWidget(contents);
        buttons->addWidget(back);
        buttons->addWidget(forward);
        buttons->addStretch();
        buttons->addWidget(closeButton);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(buttons);
        layout->addWidget(m_pBrowser);
        resize(600, 640);
    }

    QTextBrowser* Browser() const { return m_pBrowser; }

protected:
    // Esc reaches the window from the browser and the buttons, which leave it.
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            close();
            return;
        }
        QWidget::keyPressEvent(event);
    }

public:
    void Open(const QByteArray& helpFile, const QByteArray& content, const QString& anchor) {
        m_pBrowser->SetFile(helpFile, content);
        ShowAnchor(anchor);
    }

    // Beside the asking window where the screen has room, else over it.
    void PlaceBeside(const QWidget* window) {
        if (!window)
            return;
        const QRect owner = window->frameGeometry();
        const QScreen* screen = window->screen();
        const QRect room = screen ? screen->availableGeometry() : QRect();
        QPoint at(owner.right() + 8, owner.top());
        if (room.isValid() && at.x() + width() > room.right())
            at.setX(std::max(room.left(), room.right() - width()));
        move(at);
    }

private:
    void ShowAnchor(const QString& anchor) {
        QUrl url = m_pBrowser->Document();
        url.setFragment(anchor);
        m_pBrowser->setSource(url, QTextDocument::HtmlResource);
        // An anchor the file lacks would leave the view wherever it was; the
        // top of the file is the better answer.
        if (!HasAnchor(*m_pBrowser->document(), anchor))
            m_pBrowser->verticalScrollBar()->setValue(0);
    }

    static bool HasAnchor(const QTextDocument& document, const QString& name) {
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            if (block.charFormat().anchorNames().contains(name))
                return true;
            for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
                if (it.fragment().charFormat().anchorNames().contains(name))
                    return true;
            }
        }
        return false;
    }

    CHelpBrowser* m_pBrowser;
};

QPointer<CHelpWindow>& HelpWindow() {
    static QPointer<CHelpWindow> window;
    return window;
}

} // namespace

namespace afx {

QString HelpAnchor(unsigned context) {
    return QStringLiteral("context-%1").arg(context);
}

QTextBrowser* HelpBrowser() {
    return HelpWindow() ? HelpWindow()->Browser() : nullptr;
}

QString HelpFailureText() {
    return QStringLiteral("ﾍﾙﾌﾟの起動に失敗しました。");
}

bool ShowHelpFile(QWidget* window, const QByteArray& helpFile, unsigned command, unsigned data) {
    QByteArray content;
    if (command != HELP_CONTEXT || !ReadHelpFile(helpFile, content))
        return false;

    QPointer<CHelpWindow>& help = HelpWindow();
    const bool isNew = !help;
    if (isNew)
        help = new CHelpWindow;
    help->Open(helpFile, content, HelpAnchor(data));
    if (isNew)
        help->PlaceBeside(window);
    help->showNormal();
    help->raise();
    help->activateWindow();
    return true;
}

} // namespace afx
