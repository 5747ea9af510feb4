// The rules viewer: a top-level window of its own beside the game, neither
// modal nor owned by the main window.
#pragma once

#include "HelpBundle.h"

#include <QWidget>

class QTextBrowser;
class QUrl;

class THelpViewer : public QWidget
{
    Q_OBJECT

public:
    THelpViewer();
    ~THelpViewer() override;

    // Shows topic `context` of the help file at `helpFile` and brings the
    // window to the front. A missing, unreadable or damaged file, or a topic
    // the file does not hold, is explained in the window itself, in German for
    // context 1 and in English otherwise.
    void ShowTopic(const QString &helpFile, int context);

    // The page of a topic inside the help file; empty for an unknown context.
    static QString TopicPage(int context);

    // Why a help file that is there could not be read, from the system's
    // error number, in German or English.
    static QString UnreadableReason(int errorNumber, bool german);

    // Puts the window beside the game's window, on the screen the game is
    // on, and gives it the game's icon.
    void PlaceBeside(const QWidget &game);

    // The size the window asks for, frame excluded, screen permitting.
    static constexpr QSize PreferredSize {800, 760};
    // Narrower than this the rules read badly; rather than narrow the window
    // further it goes over the game's edge.
    static constexpr int NarrowestBeside = 280;

    // Where the window goes, all rectangles as outer frames: right of the
    // game where the screen has room for `wanted`, else left of it; failing
    // both, narrowed to the room beside the game, right before left, down to
    // NarrowestBeside; failing that too, that narrow at the screen's edge on
    // the roomier side, over the game's edge. Its top is the game's top as
    // far as the screen allows, and it lies within the screen.
    static QRect BesideGame(const QRect &game, QSize wanted, const QRect &screen);

    QTextBrowser *Browser() const { return browser_; }
    bool ShowsProblem() const { return showingProblem_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void ShowPage(const QUrl &url);
    void ShowProblem(const QString &title, const QString &html);
    void TitleFromPage();
    void BringToFront();

    QTextBrowser *browser_;
    HelpBundle bundle_;
    bool showingProblem_ = false;
};
