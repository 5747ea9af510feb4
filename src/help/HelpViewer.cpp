#include "HelpViewer.h"

#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <cstring>

THelpViewer::THelpViewer()
    : QWidget(nullptr, Qt::Window)
    , browser_(new QTextBrowser(this))
{
    // The game goes on while the rules are open, and closing the main window
    // ends the program even when the rules are still on screen.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowModality(Qt::NonModal);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(true);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { TitleFromPage(); });

    // In the middle of the screen unless it is placed beside the game.
    QRect frame(QPoint(0, 0), PreferredSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        frame.setSize(frame.size().boundedTo(available.size() * 9 / 10));
        frame.moveCenter(available.center());
    }
    setGeometry(frame);
}

QRect THelpViewer::BesideGame(const QRect &game, QSize wanted, const QRect &screen)
{
    const QSize size = wanted.boundedTo(screen.size());
    const int roomRight = screen.x() + screen.width() - (game.x() + game.width());
    const int roomLeft = game.x() - screen.x();

    QRect place(QPoint(0, 0), size);
    // Against the game where there is room for it, else against the
    // screen's edge.
    const auto right = [&](int width) {
        place.setWidth(width);
        place.moveLeft(screen.x() + screen.width() - std::max(roomRight, width));
    };
    const auto left = [&](int width) {
        place.setWidth(width);
        place.moveLeft(screen.x() + std::max(roomLeft - width, 0));
    };
    if (roomRight >= size.width())
        right(size.width());
    else if (roomLeft >= size.width())
        left(size.width());
    else if (roomRight >= NarrowestBeside)
        right(roomRight);
    else if (roomLeft >= NarrowestBeside)
        left(roomLeft);
    else if (roomRight >= roomLeft)
        right(std::min(NarrowestBeside, size.width()));
    else
        left(std::min(NarrowestBeside, size.width()));
    place.moveTop(
        std::max(std::min(game.y(), screen.y() + screen.height() - place.height()), screen.y()));
    return place;
}

void THelpViewer::PlaceBeside(const QWidget &game)
{
    setWindowIcon(game.windowIcon());
    const QScreen *screen = game.screen() ? game.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // This window's frame is not known before it is first shown; the game's,
    // drawn by the same window manager, stands in for it.
    const QRect gameFrame = game.frameGeometry();
    const QRect gameInner = game.geometry();
    const QMargins frame(gameInner.left() - gameFrame.left(), gameInner.top() - gameFrame.top(),
        gameFrame.right() - gameInner.right(), gameFrame.bottom() - gameInner.bottom());
    const QSize wanted = PreferredSize.grownBy(frame);
    setGeometry(BesideGame(gameFrame, wanted, screen->availableGeometry()).marginsRemoved(frame));
}

THelpViewer::~THelpViewer() = default;

QString THelpViewer::TopicPage(int context)
{
    switch (context) {
    case 1:
        return QStringLiteral("regeln.html");
    case 2:
        return QStringLiteral("rules.html");
    default:
        return {};
    }
}

QString THelpViewer::UnreadableReason(int errorNumber, bool german)
{
    switch (errorNumber) {
    case EACCES:
    case EPERM:
        return german ? QStringLiteral("Du hast keine Berechtigung, sie zu lesen. Gib dir das "
                                       "Leserecht f\u00fcr die Datei, oder frage den, der das "
                                       "Spiel eingerichtet hat.")
                      : QStringLiteral("You have no permission to read it. Give yourself read "
                                       "access to the file, or ask whoever set up the game.");
    case ELOOP:
        return german ? QStringLiteral("Ihr Name ist ein Verweis, der im Kreis f\u00fchrt.")
                      : QStringLiteral("Its name is a link that leads round in a circle.");
    default:
        // The system's own words, which it gives in English.
        return (german ? QStringLiteral("Das System meldet: %1.")
                       : QStringLiteral("The system reports: %1."))
            .arg(QString::fromLocal8Bit(std::strerror(errorNumber)));
    }
}

void THelpViewer::ShowTopic(const QString &helpFile, int context)
{
    const bool german = context == 1;
    const QString file = QDir::toNativeSeparators(helpFile).toHtmlEscaped();
    const QString title = german ? QStringLiteral("Tumblewick \u2013 Hilfe")
                                 : QStringLiteral("Tumblewick \u2013 Help");
    const QString page = TopicPage(context);

    switch (bundle_.Load(helpFile)) {
    case HelpBundle::Status::Missing:
        ShowProblem(title,
            german ? QStringLiteral("<h2>Die Spielregeln k\u00f6nnen nicht angezeigt werden</h2>"
                                    "<p>Die Hilfedatei fehlt:</p><p><tt>%1</tt></p>"
                                    "<p>Sie geh\u00f6rt in den Ordner des Spiels, neben das "
                                    "Programm. Installiere das Spiel neu oder baue es neu, "
                                    "dann ist sie wieder da.</p>")
                         .arg(file)
                   : QStringLiteral("<h2>The rules cannot be shown</h2>"
                                    "<p>The help file is missing:</p><p><tt>%1</tt></p>"
                                    "<p>It belongs in the game's folder, beside the program. "
                                    "Install or build the game again to bring it back.</p>")
                         .arg(file));
        break;
    case HelpBundle::Status::Damaged:
        ShowProblem(title,
            german ? QStringLiteral("<h2>Die Spielregeln k\u00f6nnen nicht angezeigt werden</h2>"
                                    "<p>Die Hilfedatei ist besch\u00e4digt:</p>"
                                    "<p><tt>%1</tt></p><p>Installiere das Spiel neu oder baue "
                                    "es neu, dann ist sie wieder in Ordnung.</p>")
                         .arg(file)
                   : QStringLiteral("<h2>The rules cannot be shown</h2>"
                                    "<p>The help file is damaged:</p><p><tt>%1</tt></p>"
                                    "<p>Install or build the game again to repair it.</p>")
                         .arg(file));
        break;
    case HelpBundle::Status::Unreadable:
        ShowProblem(title,
            (german ? QStringLiteral("<h2>Die Spielregeln k\u00f6nnen nicht angezeigt werden</h2>"
                                     "<p>Die Hilfedatei kann nicht gelesen werden:</p>"
                                     "<p><tt>%1</tt></p><p>%2</p>")
                    : QStringLiteral("<h2>The rules cannot be shown</h2>"
                                     "<p>The help file cannot be read:</p><p><tt>%1</tt></p>"
                                     "<p>%2</p>"))
                .arg(file, UnreadableReason(bundle_.ErrorNumber(), german).toHtmlEscaped()));
        break;
    case HelpBundle::Status::Loaded:
        if (page.isEmpty() || !bundle_.Contains(page)) {
            ShowProblem(title,
                german ? QStringLiteral("<h2>Dieses Hilfethema gibt es nicht</h2>"
                                        "<p>Die Hilfedatei <tt>%1</tt> enth\u00e4lt kein Thema "
                                        "mit der Nummer %2.</p>")
                             .arg(file)
                             .arg(context)
                       : QStringLiteral("<h2>There is no such help topic</h2>"
                                        "<p>The help file <tt>%1</tt> holds no topic with the "
                                        "number %2.</p>")
                             .arg(file)
                             .arg(context));
            break;
        }
        ShowPage(QUrl(bundle_.Url(page)));
        break;
    }
    BringToFront();
}

void THelpViewer::ShowPage(const QUrl &url)
{
    // The page already on screen keeps the reader's place; another topic
    // starts at its top. After a problem text the browser still names the
    // last page as its source, so that page is loaded afresh.
    if (browser_->source() != url)
        browser_->setSource(url);
    else if (showingProblem_)
        browser_->reload();
    showingProblem_ = false;
    TitleFromPage();
}

void THelpViewer::ShowProblem(const QString &title, const QString &html)
{
    browser_->setHtml(html);
    showingProblem_ = true;
    setWindowTitle(title);
}

void THelpViewer::TitleFromPage()
{
    const QString title = browser_->documentTitle();
    if (!title.isEmpty())
        setWindowTitle(title);
}

void THelpViewer::BringToFront()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void THelpViewer::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
