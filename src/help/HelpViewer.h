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
