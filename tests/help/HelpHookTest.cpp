#include "HelpHook.h"
#include "CraftedHelpFiles.h"
#include "HelpLayer.h"
#include "HelpViewer.h"
#include "TempDir.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include <sys/stat.h>

namespace {

QString Q(const std::filesystem::path &path)
{
    return QString::fromStdString(path.string());
}

const QString HelpFile = QStringLiteral(TUMBLEWICK_HELP_FILE);

QWidgetList VisibleWindows()
{
    QWidgetList shown;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            shown.append(w);
    }
    return shown;
}

QString PageName(const THelpViewer &viewer)
{
    return viewer.Browser()->source().fileName();
}

QString Text(const THelpViewer &viewer)
{
    return viewer.Browser()->toPlainText();
}

// The texts of the log lines after the header, without their times.
QStringList LoggedTexts(const std::filesystem::path &log)
{
    static const QRegularExpression timed(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d   "));
    QStringList texts;
    for (const QString &line : QString::fromStdString(TempDir::Read(log)).split(u'\n')) {
        if (timed.match(line).hasMatch())
            texts.append(line.mid(15));
    }
    return texts;
}

} // namespace

TEST(HelpHook, RulesContextFollowsTheLanguage)
{
    struct Case
    {
        int language, context;
    };
    for (Case c : {Case {1, 1}, Case {0, 2}, Case {-1, 2}, Case {2, 2}, Case {7, 2}}) {
        SCOPED_TRACE(c.language);
        EXPECT_EQ(RulesContext(c.language), c.context);
    }
}

TEST(HelpHook, RulesButtonShowsTheTopicOfTheLanguage)
{
    struct Case
    {
        int language;
        const char *page;
        const char *title;
        const char *heading;
    };
    for (Case c : {Case {1, "regeln.html", "Tumblewick \u2013 Spielregeln", "Das Ziel"},
             Case {0, "rules.html", "Tumblewick \u2013 Rules of the game", "The goal"},
             Case {-1, "rules.html", "Tumblewick \u2013 Rules of the game", "The goal"}}) {
        SCOPED_TRACE(c.language);
        THookHelpSystem hook(HelpFile);
        hook.ShowRules(c.language);
        ASSERT_NE(hook.Viewer(), nullptr);
        EXPECT_TRUE(hook.Viewer()->isVisible());
        EXPECT_FALSE(hook.Viewer()->ShowsProblem());
        EXPECT_EQ(PageName(*hook.Viewer()), QString::fromUtf8(c.page));
        EXPECT_EQ(hook.Viewer()->windowTitle(), QString::fromUtf8(c.title));
        EXPECT_TRUE(Text(*hook.Viewer()).contains(QString::fromUtf8(c.heading)));
    }
}

TEST(HelpHook, TheViewerIsAWindowOfItsOwnThatDoesNotHoldUpTheGame)
{
    QWidget game;
    game.show();
    THookHelpSystem hook(HelpFile);
    hook.ShowRules(1);
    const THelpViewer *viewer = hook.Viewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isWindow());
    EXPECT_EQ(viewer->parentWidget(), nullptr);
    EXPECT_FALSE(viewer->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // Closing the game's window ends the program even with the rules open.
    EXPECT_FALSE(viewer->testAttribute(Qt::WA_QuitOnClose));
}

TEST(HelpViewer, BesideTheGameRightLeftNarrowedOrOverItsEdge)
{
    struct Case
    {
        const char *what;
        QRect screen, game;
        QRect place;
    };
    const QSize wanted(802, 785);
    const QRect wide(0, 0, 1920, 1080);
    const QRect square(0, 0, 1280, 1024);
    for (const Case &c : {
             Case {"right", wide, {100, 100, 680, 510}, {780, 100, 802, 785}},
             Case {"left", wide, {1200, 50, 680, 510}, {398, 50, 802, 785}},
             Case {"left, the right too narrow", wide, {900, 285, 680, 510}, {98, 285, 802, 785}},
             Case {"narrowed on the right", wide, {620, 285, 680, 510}, {1300, 285, 620, 785}},
             Case {"narrowed, the right first", wide, {622, 285, 680, 510}, {1302, 285, 618, 785}},
             Case {"narrowed on the left", wide, {700, 285, 1000, 510}, {0, 285, 700, 785}},
             Case {"narrowed beside a centred game", square, {300, 257, 680, 510},
                 {980, 239, 300, 785}},
             Case {"over the edge", {0, 0, 1024, 768}, {172, 129, 680, 510}, {744, 0, 280, 768}},
             Case {"on a second screen", {1920, 0, 1280, 1024}, {2000, 100, 680, 510},
                 {2680, 100, 520, 785}},
             Case {
                 "a game partly off the screen", square, {-100, 50, 680, 510}, {580, 50, 700, 785}},
             Case {"a screen smaller than the window", {0, 0, 800, 600}, {60, 45, 680, 510},
                 {520, 0, 280, 600}},
         }) {
        SCOPED_TRACE(c.what);
        const QRect place = THelpViewer::BesideGame(c.game, wanted, c.screen);
        EXPECT_EQ(place, c.place);
        EXPECT_TRUE(c.screen.contains(place));
    }
}

TEST(HelpHook, TheRulesOpenBesideTheGameWithItsIcon)
{
    QWidget game;
    QPixmap picture(32, 32);
    picture.fill(Qt::red);
    game.setWindowIcon(QIcon(picture));
    game.setGeometry(20, 30, 300, 200);
    game.show();
    THookHelpSystem hook(HelpFile);
    hook.SetGameWindow(&game);
    hook.ShowRules(0);
    THelpViewer *viewer = hook.Viewer();
    ASSERT_NE(viewer, nullptr);
    const QRect screen = game.screen()->availableGeometry();
    const QMargins frame(game.geometry().left() - game.frameGeometry().left(),
        game.geometry().top() - game.frameGeometry().top(),
        game.frameGeometry().right() - game.geometry().right(),
        game.frameGeometry().bottom() - game.geometry().bottom());
    const QRect place = THelpViewer::BesideGame(
        game.frameGeometry(), THelpViewer::PreferredSize.grownBy(frame), screen);
    EXPECT_EQ(viewer->geometry(), place.marginsRemoved(frame));
    EXPECT_FALSE(place.intersects(game.frameGeometry())) << "the screen has room beside it";
    EXPECT_EQ(viewer->windowIcon().cacheKey(), game.windowIcon().cacheKey());

    // An open window stays where the player put it; a closed one opens
    // beside the game again.
    viewer->move(place.topLeft() + QPoint(5, 7));
    const QRect moved = viewer->geometry();
    hook.ShowRules(1);
    EXPECT_EQ(viewer->geometry(), moved);
    viewer->close();
    hook.ShowRules(1);
    EXPECT_EQ(viewer->geometry(), place.marginsRemoved(frame));
}

TEST(HelpHook, ASecondRequestReusesTheWindowWithTheNewTopic)
{
    THookHelpSystem hook(HelpFile);
    hook.ShowRules(1);
    THelpViewer *viewer = hook.Viewer();
    ASSERT_NE(viewer, nullptr);
    viewer->close();
    ASSERT_FALSE(viewer->isVisible());

    hook.ShowRules(0);
    EXPECT_EQ(hook.Viewer(), viewer);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(PageName(*viewer), QStringLiteral("rules.html"));

    viewer->showMinimized();
    hook.HelpCommand(HELP_CONTEXTPOPUP, GermanRulesContext);
    EXPECT_FALSE(viewer->isMinimized());
    EXPECT_EQ(PageName(*viewer), QStringLiteral("regeln.html"));
    EXPECT_EQ(VisibleWindows().size(), 1);
}

TEST(HelpHook, TheSameTopicAgainKeepsTheReadersPlace)
{
    THookHelpSystem hook(HelpFile);
    hook.ShowRules(0);
    QTextBrowser *browser = hook.Viewer()->Browser();
    browser->scrollToAnchor(QStringLiteral("toolbar"));
    const QUrl source = browser->source();
    const int position = browser->verticalScrollBar()->value();
    ASSERT_GT(position, 0);
    hook.ShowRules(0);
    EXPECT_EQ(browser->source(), source);
    EXPECT_EQ(browser->verticalScrollBar()->value(), position);
}

TEST(HelpHook, QuitAndOtherCommandsChangeNothingOnScreen)
{
    THookHelpSystem hook(HelpFile);
    for (int command : {HELP_QUIT, 0, 3, 4, 5, 9, 11, 0x101, 0x102}) {
        SCOPED_TRACE(command);
        EXPECT_FALSE(hook.HelpCommand(command, 2));
        EXPECT_EQ(hook.Viewer(), nullptr);
        EXPECT_TRUE(VisibleWindows().isEmpty());
    }

    hook.ShowRules(-1);
    ASSERT_NE(hook.Viewer(), nullptr);
    EXPECT_FALSE(hook.HelpCommand(HELP_QUIT, 0));
    EXPECT_TRUE(hook.Viewer()->isVisible());
    EXPECT_EQ(PageName(*hook.Viewer()), QStringLiteral("rules.html"));
    EXPECT_EQ(VisibleWindows().size(), 1);
}

TEST(HelpHook, PopupPositionIsRememberedAndShowsNothing)
{
    THookHelpSystem hook(HelpFile);
    struct Case
    {
        qintptr data;
        QPoint position;
    };
    for (Case c : {Case {(300 << 16) | 120, QPoint(120, 300)},
             Case {(0xFFFF << 16) | 0xFFFB, QPoint(-5, -1)}, Case {0, QPoint(0, 0)}}) {
        EXPECT_TRUE(hook.HelpCommand(HELP_SETPOPUP_POS, c.data));
        EXPECT_EQ(hook.PopupPosition(), c.position);
    }
    EXPECT_EQ(hook.Viewer(), nullptr);
    EXPECT_TRUE(VisibleWindows().isEmpty());
}

TEST(HelpHook, PathIsCleanedOfEncodedBlanksAndSurroundingBlanks)
{
    struct Case
    {
        const char *given, *cleaned;
    };
    for (Case c : {Case {"/opt/my%20games/tmbw.rcc", "/opt/my games/tmbw.rcc"},
             Case {"  /opt/games/tmbw.rcc  ", "/opt/games/tmbw.rcc"},
             Case {"%20/opt/a%20%20b/tmbw.rcc%20", "/opt/a  b/tmbw.rcc"},
             Case {"/opt/100%/tmbw.rcc", "/opt/100%/tmbw.rcc"}}) {
        SCOPED_TRACE(c.given);
        EXPECT_EQ(CleanHelpPath(QString::fromUtf8(c.given)), QString::fromUtf8(c.cleaned));
    }
}

TEST(HelpHook, AProgramFolderWithEncodedBlanksIsOpenedWithBlanks)
{
    TempDir dir;
    std::filesystem::create_directories(dir / "my games");
    std::filesystem::copy_file(TUMBLEWICK_HELP_FILE, dir / "my games" / "tmbw.rcc");
    THookHelpSystem hook(QStringLiteral(" ") + Q(dir.Path()) + QStringLiteral("/my%20games/")
        + QLatin1String(HelpFileName) + QStringLiteral(" "));
    hook.ShowRules(1);
    ASSERT_NE(hook.Viewer(), nullptr);
    EXPECT_FALSE(hook.Viewer()->ShowsProblem()) << Text(*hook.Viewer()).toStdString();
    EXPECT_EQ(PageName(*hook.Viewer()), QStringLiteral("regeln.html"));
}

TEST(HelpHook, AMissingHelpFileIsExplainedInTheWindowInTheRequestsLanguage)
{
    TempDir dir;
    const QString missing = Q(dir / "tmbw.rcc");
    THookHelpSystem hook(missing);
    hook.ShowRules(1);
    ASSERT_NE(hook.Viewer(), nullptr);
    EXPECT_TRUE(hook.Viewer()->isVisible());
    EXPECT_TRUE(hook.Viewer()->ShowsProblem());
    EXPECT_TRUE(Text(*hook.Viewer()).contains(QStringLiteral("Die Hilfedatei fehlt")));
    EXPECT_TRUE(Text(*hook.Viewer()).contains(missing));
    EXPECT_EQ(hook.Viewer()->windowTitle(), QStringLiteral("Tumblewick \u2013 Hilfe"));

    hook.ShowRules(0);
    EXPECT_TRUE(Text(*hook.Viewer()).contains(QStringLiteral("The help file is missing")));
    EXPECT_EQ(hook.Viewer()->windowTitle(), QStringLiteral("Tumblewick \u2013 Help"));

    // Once the file is there, the next request shows the rules.
    std::filesystem::copy_file(TUMBLEWICK_HELP_FILE, dir / "tmbw.rcc");
    hook.ShowRules(0);
    EXPECT_FALSE(hook.Viewer()->ShowsProblem());
    EXPECT_EQ(PageName(*hook.Viewer()), QStringLiteral("rules.html"));
}

TEST(HelpHook, ADamagedHelpFileOrAnUnknownTopicIsExplainedInTheWindow)
{
    TempDir dir;
    const std::string whole = TempDir::Read(TUMBLEWICK_HELP_FILE);
    TempDir::Write(dir / "tmbw.rcc", whole.substr(0, whole.size() / 2));
    THookHelpSystem damaged(Q(dir / "tmbw.rcc"));
    damaged.ShowRules(1);
    ASSERT_NE(damaged.Viewer(), nullptr);
    EXPECT_TRUE(
        Text(*damaged.Viewer()).contains(QStringLiteral("Die Hilfedatei ist besch\u00e4digt")));
    damaged.ShowRules(0);
    EXPECT_TRUE(Text(*damaged.Viewer()).contains(QStringLiteral("The help file is damaged")));

    THookHelpSystem hook(HelpFile);
    hook.HelpCommand(HELP_CONTEXT, 7);
    ASSERT_NE(hook.Viewer(), nullptr);
    EXPECT_TRUE(hook.Viewer()->ShowsProblem());
    EXPECT_TRUE(Text(*hook.Viewer()).contains(QStringLiteral("holds no topic with the number 7")));
}

TEST(HelpHook, WithoutAViewerEachRequestShowsTheNotInstalledMessage)
{
    THookHelpSystem hook(HelpFile);
    hook.SetViewerFactory([] { return std::unique_ptr<THelpViewer>(); });
    struct Seen
    {
        QString text, title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
    };
    QList<Seen> seen;
    for (int click = 0; click < 2; ++click) {
        QTimer::singleShot(0, [&seen] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen.append({box->text(), box->windowTitle(), box->icon(),
                static_cast<int>(box->buttons().size())});
            box->accept();
        });
        hook.ShowRules(1);
    }
    ASSERT_EQ(seen.size(), 2);
    for (const Seen &s : seen) {
        EXPECT_EQ(s.text, QStringLiteral("MS Html Help is not installed on this PC."));
        EXPECT_EQ(s.title, QGuiApplication::applicationDisplayName());
        EXPECT_EQ(s.icon, QMessageBox::Warning);
        EXPECT_EQ(s.buttons, 1);
    }
    EXPECT_EQ(hook.Viewer(), nullptr);
}

TEST(HelpHook, InDebugModeEveryCommandAndTopicIsLogged)
{
    TempDir dir;
    TempDir::Write(dir / "debug.debug", "");
    const QString file = Q(dir / "tmbw.rcc");
    {
        const HelpLayer layer({QStringLiteral("tumblewick")}, Q(dir.Path()));
        THookHelpSystem hook(file);
        hook.ShowRules(0);
        hook.HelpCommand(HELP_SETPOPUP_POS, 0);
        hook.HelpCommand(HELP_QUIT, 0);
    }
    const QStringList expected {
        QStringLiteral("THookHelpSystem created: help file \"%1\", window definition \"\", "
                       "viewer kind 0")
            .arg(file),
        QStringLiteral("HelpCommand 1 HELP_CONTEXT, data 2"),
        QStringLiteral("Show topic 2 of \"%1\": result 0").arg(file),
        QStringLiteral("HelpCommand 13 HELP_SETPOPUP_POS, data 0"),
        QStringLiteral("HelpCommand 2 HELP_QUIT, data 0"),
        QStringLiteral("THookHelpSystem destroyed"),
        QStringLiteral("Help layer ended"),
    };
    EXPECT_EQ(LoggedTexts(dir / "HHDebug.txt"), expected);
}

TEST(HelpHook, ABadHelpFileShowsTheDamagedFilePageAndNeverStallsTheGame)
{
    TempDir dir;
    struct Case
    {
        const char *what;
        std::function<void(const std::filesystem::path &)> make;
    };
    const auto write = [](const QByteArray &bytes) {
        return [bytes](const std::filesystem::path &file) {
            TempDir::Write(file, bytes.toStdString());
        };
    };
    for (const Case &c : {
             Case {"a page marked compressed, claiming 2^40 bytes",
                 write(HelpBundle::Seal(crafted::WithCompressedPage(
                     QStringLiteral("rules.html"), 0x04, crafted::ZstdClaimingATerabyte())))},
             Case {"a page marked compressed, claiming 4 GB",
                 write(HelpBundle::Seal(crafted::WithCompressedPage(
                     QStringLiteral("rules.html"), 0x01, crafted::ZlibClaimingFourGigabytes())))},
             Case {"a letter of the page changed", write(crafted::WithChangedPageText())},
             Case {"a link to /dev/zero",
                 [](const std::filesystem::path &file) {
                     std::filesystem::create_symlink("/dev/zero", file);
                 }},
             Case {"a named pipe",
                 [](const std::filesystem::path &file) {
                     ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
                 }},
         }) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(dir / "tmbw.rcc");
        c.make(dir / "tmbw.rcc");
        THookHelpSystem hook(Q(dir / "tmbw.rcc"));
        hook.ShowRules(0);
        ASSERT_NE(hook.Viewer(), nullptr);
        EXPECT_TRUE(hook.Viewer()->ShowsProblem());
        EXPECT_TRUE(Text(*hook.Viewer()).contains(QStringLiteral("The help file is damaged")))
            << Text(*hook.Viewer()).toStdString();
        hook.ShowRules(1);
        EXPECT_TRUE(
            Text(*hook.Viewer()).contains(QStringLiteral("Die Hilfedatei ist besch\u00e4digt")));
    }
}

TEST(HelpHook, AHelpFileThatCannotBeReadIsExplainedNotCalledDamaged)
{
    TempDir dir;
    std::filesystem::create_symlink("tmbw.rcc", dir / "tmbw.rcc"); // a link to itself
    THookHelpSystem hook(Q(dir / "tmbw.rcc"));
    hook.ShowRules(1);
    ASSERT_NE(hook.Viewer(), nullptr);
    EXPECT_TRUE(hook.Viewer()->ShowsProblem());
    QString text = Text(*hook.Viewer());
    EXPECT_TRUE(text.contains(QStringLiteral("Die Hilfedatei kann nicht gelesen werden")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(THelpViewer::UnreadableReason(ELOOP, true)));
    EXPECT_TRUE(text.contains(Q(dir / "tmbw.rcc")));
    EXPECT_FALSE(text.contains(QStringLiteral("besch\u00e4digt")));
    hook.ShowRules(0);
    text = Text(*hook.Viewer());
    EXPECT_TRUE(text.contains(QStringLiteral("The help file cannot be read")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("a link that leads round in a circle")));
    EXPECT_FALSE(text.contains(QStringLiteral("damaged")));

    // Each reason in the player's language; the system's own words for the rest.
    EXPECT_TRUE(THelpViewer::UnreadableReason(EACCES, true).contains(QStringLiteral("Leserecht")));
    EXPECT_TRUE(
        THelpViewer::UnreadableReason(EACCES, false).contains(QStringLiteral("no permission")));
    EXPECT_EQ(THelpViewer::UnreadableReason(EIO, false),
        QStringLiteral("The system reports: %1.").arg(QString::fromLocal8Bit(std::strerror(EIO))));
    EXPECT_TRUE(
        THelpViewer::UnreadableReason(EIO, true).startsWith(QStringLiteral("Das System meldet: ")));
}
