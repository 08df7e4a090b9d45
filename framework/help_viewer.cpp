#include "help_viewer.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "dialog.h"
#include "win_app.h"
#include "win_types.h"

namespace {

// The browser of the help window. A link "syscommand:N" runs command N of
// the program's window menu, as choosing its item there does (the help file
// opens the About box this way); every other link navigates as usual.
class CHelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

protected:
    void doSetSource(const QUrl& url, QTextDocument::ResourceType type) override {
        if (url.scheme() == QLatin1String("syscommand")) {
            RunSysCommand(url.path().toUInt());
            return;
        }
        QTextBrowser::doSetSource(url, type);
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
        back->setEnabled(false);
        forward->setEnabled(false);
        for (QPushButton* button : {contents, back, forward})
            button->setAutoDefault(false);
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
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(buttons);
        layout->addWidget(m_pBrowser);
        resize(600, 640);
    }

    QTextBrowser* Browser() const { return m_pBrowser; }

    void Open(const QString& helpFile, const QString& anchor) {
        m_file = QUrl::fromLocalFile(helpFile);
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
        QUrl url = m_file;
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

    QTextBrowser* m_pBrowser;
    QUrl m_file;
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

bool ShowHelpFile(QWidget* window, const QString& helpFile, unsigned command, unsigned data) {
    if (command != HELP_CONTEXT)
        return false;
    QFile file(helpFile);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    file.close();

    QPointer<CHelpWindow>& help = HelpWindow();
    const bool isNew = !help;
    if (isNew)
        help = new CHelpWindow;
    help->Open(helpFile, HelpAnchor(data));
    if (isNew)
        help->PlaceBeside(window);
    help->showNormal();
    help->raise();
    help->activateWindow();
    return true;
}

} // namespace afx
