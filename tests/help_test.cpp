// Help as a user meets it: the ヘルプ button and F1 in each dialog ask for
// their contexts of the file beside the program; the viewer opens the file
// at the section of the context in one window that stays usable while a
// dialog is modal; a missing file is reported.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextBrowser>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

#include "framework/help_viewer.h"
#include "framework/win_types.h"
#include "res/resource.h"
#include "tests/main_dialog_fixture.h"
#include "ui/about_dlg.h"

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
// The line at the top of the help window's page.
QString TopLine() {
    QTextBrowser* browser = afx::HelpBrowser();
    return browser ? browser->cursorForPosition(QPoint(4, 4)).block().text().trimmed() : QString();
}

class Help : public OpenMainDialogTest {
protected:
    void TearDown() override {
        delete (afx::HelpBrowser() ? afx::HelpBrowser()->window() : nullptr);
    }
    QString HelpFile() const { return app.dir.filePath(QStringLiteral("tolmeri.HLP")); }
};

TEST_F(Help, TheButtonAndF1AloneAskForTheContextOfTheirDialog) {
    HelpRecorder help;
    QTest::keyClick(dlg->focusWidget(), Qt::Key_Space, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    Click(*dlg, IDC_HELP_BUTTON);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "help closes open menus";
    for (Qt::KeyboardModifier held : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier})
        QTest::keyClick(dlg->focusWidget(), Qt::Key_F1, held); // nothing
    QTest::keyClick(dlg->focusWidget(), Qt::Key_F1);
    InModal([this] { dlg->OnSystemCommand(IDM_ABOUTBOX, 0); },
            [](CDialog& about) { QTest::keyClick(about.focusWidget(), Qt::Key_F1); });
    InModal([this] { Click(*dlg, IDC_CHOOSE_LOCATION); },
            [](CDialog& list) { QTest::keyClick(list.GetDlgItem(IDC_LOCATION_LIST), Qt::Key_F1); });

    std::vector<unsigned> contexts;
    for (const HelpCall& call : help.calls) {
        contexts.push_back(call.data);
        EXPECT_EQ(call.command, afx::HELP_CONTEXT);
        EXPECT_EQ(call.file, QFile::encodeName(HelpFile()));
    }
    EXPECT_EQ(contexts, (std::vector<unsigned>{1, 131174, 131172, 131201}));
}

TEST_F(Help, AMissingHelpFileIsReportedAndNothingElseHappens) {
    Click(*dlg, IDC_HELP_BUTTON);
    ASSERT_EQ(messages.calls.size(), 1u);
    EXPECT_EQ(messages.calls[0].text, QStringLiteral("ﾍﾙﾌﾟの起動に失敗しました。"));
    EXPECT_EQ(messages.calls[0].icon, afx::MbIcon::kExclamation);
    EXPECT_EQ(afx::HelpBrowser(), nullptr);
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(Help, TheViewerShowsEachContextAtItsSectionInOneUsableWindow) {
    ASSERT_TRUE(QFile::copy(QStringLiteral(TOLMERI_HELP_INSTALLED), HelpFile()));
    Click(*dlg, IDC_HELP_BUTTON);
    QTextBrowser* browser = afx::HelpBrowser();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(TopLine(), QStringLiteral("刻しらべ (tolmeri) ヘルプ"));
    QTest::keyClick(dlg->focusWidget(), Qt::Key_F1);
    EXPECT_EQ(TopLine(), QStringLiteral("メイン画面の使い方"));
    EXPECT_TRUE(
        afx::ShowHelpFile(dlg.get(), QFile::encodeName(HelpFile()), afx::HELP_CONTEXT, 131201));
    EXPECT_EQ(TopLine(), QStringLiteral("場所の一覧"));
    EXPECT_EQ(afx::HelpBrowser(), browser) << "one window, reused";

    // Opened from the modal About box, it still takes clicks.
    InModal([this] { dlg->OnSystemCommand(IDM_ABOUTBOX, 0); },
            [](CDialog& about) {
                QTest::keyClick(about.focusWidget(), Qt::Key_F1);
                EXPECT_EQ(TopLine(), QStringLiteral("バージョン情報"));
                for (QPushButton* b : afx::HelpBrowser()->window()->findChildren<QPushButton*>())
                    if (b->text() == QStringLiteral("目次(&C)"))
                        SystemClick(b);
                EXPECT_EQ(TopLine(), QStringLiteral("刻しらべ (tolmeri) ヘルプ"));
            });
    EXPECT_TRUE(messages.calls.empty());
}

// The window closes by Esc wherever the focus is in it, and by its own
// 閉じる; the next request opens it anew.
TEST_F(Help, TheViewerClosesByEscAndByItsCloseButton) {
    ASSERT_TRUE(QFile::copy(QStringLiteral(TOLMERI_HELP_INSTALLED), HelpFile()));
    for (const bool byEsc : {true, false}) {
        SCOPED_TRACE(byEsc ? "Esc" : "閉じる");
        Click(*dlg, IDC_HELP_BUTTON);
        ASSERT_NE(afx::HelpBrowser(), nullptr);
        QPointer<QWidget> window = afx::HelpBrowser()->window();
        ASSERT_TRUE(window->isVisible());
        if (byEsc) {
            afx::HelpBrowser()->setFocus();
            QTest::keyClick(afx::HelpBrowser(), Qt::Key_Escape);
        } else {
            QPushButton* close = nullptr;
            for (QPushButton* b : window->findChildren<QPushButton*>())
                if (b->text() == QStringLiteral("閉じる"))
                    close = b;
            ASSERT_NE(close, nullptr);
            QTest::mouseClick(close, Qt::LeftButton);
        }
        EXPECT_TRUE(!window || !window->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(afx::HelpBrowser(), nullptr) << "made anew at the next request";
        EXPECT_TRUE(dlg->isVisible()) << "the main window stays";
    }
}

// Scrolls the first link to href on the page shown into view, and gives
// the point to click it at.
std::optional<QPoint> ShowLink(QTextBrowser* browser, const QString& href) {
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorHref() != href)
                continue;
            QTextCursor at(browser->document());
            at.setPosition(it.fragment().position() + 1);
            browser->setTextCursor(at);
            browser->ensureCursorVisible();
            return browser->cursorRect(at).center();
        }
    }
    ADD_FAILURE() << "no link to " << href.toStdString();
    return std::nullopt;
}

// Clicks the first link to href on the page shown, as a user does.
void ClickLink(QTextBrowser* browser, const QString& href) {
    if (const std::optional<QPoint> at = ShowLink(browser, href))
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, *at);
}

TEST_F(Help, ItsFirstPageLinksToTheAboutBoxWhileTheMainWindowIsFree) {
    ASSERT_TRUE(QFile::copy(QStringLiteral(TOLMERI_HELP_INSTALLED), HelpFile()));
    Click(*dlg, IDC_HELP_BUTTON);
    QTextBrowser* browser = afx::HelpBrowser();
    ASSERT_NE(browser, nullptr);
    const QString aboutLink = QStringLiteral("syscommand:16");
    // The command runs once the click is over; the page stays where the
    // link was shown.
    const std::optional<QPoint> at = ShowLink(browser, aboutLink);
    ASSERT_TRUE(at.has_value());
    const QString top = TopLine();
    const QUrl page = browser->source();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, *at);
    InModal([] { QCoreApplication::sendPostedEvents(); },
            [this](CDialog& about) {
                EXPECT_NE(qobject_cast<CAboutDlg*>(&about), nullptr);
                EXPECT_EQ(about.parentWidget(), dlg.get());
            });
    EXPECT_EQ(TopLine(), top) << "the page stays";
    EXPECT_EQ(browser->source(), page);

    // With the place list open over the main window the link does nothing.
    InModal([this] { Click(*dlg, IDC_CHOOSE_LOCATION); },
            [&](CDialog& list) {
                ClickLink(browser, aboutLink);
                QCoreApplication::sendPostedEvents();
                EXPECT_EQ(QApplication::activeModalWidget(), &list);
            });
}

TEST_F(Help, TheBuiltFileHasEveryContextAndEveryLinkLands) {
    // Beside the program, with the version the About box shows filled in.
    const QByteArray built = ReadAll(QStringLiteral(TOLMERI_HELP_INSTALLED));
    EXPECT_TRUE(built.contains("（Version 1.4）"));
    EXPECT_FALSE(built.contains('@')) << "a placeholder left unfilled";
    const QString html = QString::fromUtf8(built);
    QStringList ids;
    for (const auto& m :
         QRegularExpression(QStringLiteral(R"re(id="([^"]+)")re")).globalMatch(html))
        ids << m.captured(1);
    for (unsigned context : {1u, 131174u, 131172u, 131201u, 131202u, 131203u, 131204u, 131205u})
        EXPECT_EQ(ids.count(afx::HelpAnchor(context)), 1) << context;
    for (const auto& m :
         QRegularExpression(QStringLiteral(R"re(href="#([^"]+)")re")).globalMatch(html))
        EXPECT_TRUE(ids.contains(m.captured(1))) << m.captured(1).toStdString();
}

TEST_F(Help, OnlyARegularFileOfAtMost16MiBIsOpened) {
    const QByteArray file = QFile::encodeName(HelpFile());
    const struct {
        const char* what;
        std::function<void()> make;
    } cases[] = {
        // A pipe nobody writes to would block the window for ever.
        {"pipe", [&] { ASSERT_EQ(mkfifo(file.constData(), 0644), 0); }},
        {"folder", [&] { ASSERT_EQ(mkdir(file.constData(), 0755), 0); }},
        {"endless device", [&] { ASSERT_EQ(symlink("/dev/zero", file.constData()), 0); }},
        {"over 16 MiB",
         [&] {
             QFile f(HelpFile());
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("<html><body><h1 id=\"context-1\">x</h1>");
             ASSERT_TRUE(f.resize(16 * 1024 * 1024 + 1));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        messages.Clear();
        Click(*dlg, IDC_HELP_BUTTON);
        EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("ﾍﾙﾌﾟの起動に失敗しました。")});
        EXPECT_EQ(afx::HelpBrowser(), nullptr);
        ASSERT_EQ(::remove(file.constData()), 0);
    }
    // Exactly 16 MiB is still read.
    const QByteArray head = "<html><body><h1 id=\"context-1\">Sixteen</h1><!--";
    const QByteArray tail = "--></body></html>";
    QFile f(HelpFile());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(head + QByteArray(16 * 1024 * 1024 - head.size() - tail.size(), ' ') + tail);
    f.close();
    messages.Clear();
    Click(*dlg, IDC_HELP_BUTTON);
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_EQ(TopLine(), QStringLiteral("Sixteen"));
}

TEST_F(Help, PicturesAndPagesComeOnlyFromRegularFilesBesideTheHelpFile) {
    const QString folder = app.dir.path();
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(folder + QStringLiteral("/picture.png")));
    ASSERT_EQ(mkfifo(QFile::encodeName(folder + QStringLiteral("/pipe.png")).constData(), 0644), 0);
    ASSERT_EQ(symlink("/dev/zero", QFile::encodeName(folder + QStringLiteral("/zero.png"))), 0);
    QDir(folder).mkdir(QStringLiteral("sub"));
    ASSERT_TRUE(QFile::copy(folder + QStringLiteral("/picture.png"),
                            folder + QStringLiteral("/sub/picture.png")));
    QFile big(folder + QStringLiteral("/big.png"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(16 * 1024 * 1024 + 1));
    big.close();
    QFile other(folder + QStringLiteral("/other.html"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("<html><body><h1>Other page</h1><img src=\"picture.png\"></body></html>");
    other.close();
    QFile help(HelpFile());
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("<html><body><h1 id=\"context-1\">Pictures</h1><img src=\"picture.png\"></body>"
               "</html>");
    help.close();

    Click(*dlg, IDC_HELP_BUTTON);
    QTextBrowser* browser = afx::HelpBrowser();
    ASSERT_NE(browser, nullptr);
    // What the document gets for each reference, relative ones resolved as
    // for an <img src>. Only a regular file of the folder gives a picture; a
    // pipe must not even be waited for.
    const std::pair<QString, bool> pictures[] = {
        {QStringLiteral("picture.png"), true},
        {QStringLiteral("pipe.png"), false},
        {QStringLiteral("zero.png"), false},
        {QStringLiteral("big.png"), false},
        {QStringLiteral("sub/picture.png"), false},
        {QStringLiteral("missing.png"), false},
        {QUrl::fromLocalFile(folder + QStringLiteral("/picture.png")).toString(), false},
        {QUrl::fromLocalFile(folder + QStringLiteral("/pipe.png")).toString(), false},
    };
    for (const auto& [src, loads] : pictures) {
        const QVariant got = browser->document()->resource(QTextDocument::ImageResource, QUrl(src));
        const QImage image = got.value<QImage>();
        EXPECT_EQ(!image.isNull() && image.pixel(0, 0) == QColor(Qt::red).rgb(), loads)
            << src.toStdString();
    }

    // A page beside it opens; anything else is refused with the message and
    // the page shown stays.
    browser->setSource(QUrl(QStringLiteral("other.html")));
    EXPECT_EQ(TopLine(), QStringLiteral("Other page\uFFFC"));
    EXPECT_FALSE(browser->document()
                     ->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("picture.png")))
                     .value<QImage>()
                     .isNull())
        << "its own pictures come from the same folder";
    browser->setSource(QUrl(QStringLiteral("tolmeri.HLP#context-1")));
    EXPECT_EQ(TopLine(), QStringLiteral("Pictures\uFFFC")) << "the picture's place";
    browser->backward();
    EXPECT_EQ(TopLine(), QStringLiteral("Other page\uFFFC"));
    EXPECT_TRUE(messages.calls.empty());
    for (const QUrl& url : {QUrl::fromLocalFile(folder + QStringLiteral("/other.html")),
                            QUrl(QStringLiteral("pipe.png")), QUrl(QStringLiteral("sub/x.html"))}) {
        messages.Clear();
        browser->setSource(url);
        EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("ﾍﾙﾌﾟの起動に失敗しました。")})
            << url.toString().toStdString();
        EXPECT_EQ(TopLine(), QStringLiteral("Other page\uFFFC"));
    }
}

TEST_F(Help, AProgramFolderNamedInShiftJisHasItsHelpThere) {
    // 東京 in Shift-JIS: the folder's name is not UTF-8.
    const QByteArray folder = QFile::encodeName(app.dir.path()) + "/\x93\x8c\x8b\x9e";
    ASSERT_EQ(mkdir(folder.constData(), 0755), 0);
    const QByteArray source = ReadAll(QStringLiteral(TOLMERI_HELP_INSTALLED));
    FILE* f = fopen((folder + "/tolmeri.HLP").constData(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(source.constData(), 1, static_cast<size_t>(source.size()), f);
    fclose(f);
    app.InitPaths(folder + "/tolmeri");
    Click(*dlg, IDC_HELP_BUTTON);
    EXPECT_TRUE(messages.calls.empty());
    EXPECT_EQ(TopLine(), QStringLiteral("刻しらべ (tolmeri) ヘルプ"));
}

} // namespace
