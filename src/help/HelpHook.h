// The help hook: every help request of the game goes through it. The main
// window creates it at start-up with the help file beside the program:
//
//     HelpHook = std::make_unique<THookHelpSystem>(ProgramFolder + HelpFileName);
//     HelpHook->ShowRules(Language);          // the rules button
//     HelpHook->HelpCommand(HELP_QUIT, 0);    // on closing; changes nothing on screen
//
// HelpLayer (HelpLayer.h) must have been started before, in the program entry.
#pragma once

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

class THelpViewer;
class QWidget;

// The help file beside the program: the rules in German and in English, as a
// binary resource bundle built with the game.
inline constexpr char HelpFileName[] = "tmbw.rcc";

// Help topics.
constexpr int GermanRulesContext = 1;
constexpr int EnglishRulesContext = 2;

// Help commands, numbered as the platform's help protocol numbers them.
constexpr int HELP_CONTEXT = 1;
constexpr int HELP_QUIT = 2;
constexpr int HELP_CONTEXTPOPUP = 8;
constexpr int HELP_SETPOPUP_POS = 13;

// The topic of the rules: German when `Language` is 1, English for every
// other value, the unset -1 included.
constexpr int RulesContext(int Language)
{
    return Language == 1 ? GermanRulesContext : EnglishRulesContext;
}

// "%20" becomes a blank, then blanks around the path are removed.
QString CleanHelpPath(QString path);

// The protocol's name of a help command, for the diagnostic log.
const char *HelpCommandName(int command);

class THookHelpSystem
{
public:
    // A viewer that cannot be created (nullptr) means no help viewer is
    // available; the player is then told so once per request.
    using ViewerFactory = std::function<std::unique_ptr<THelpViewer>()>;

    explicit THookHelpSystem(QString helpFile, QString windowDefinition = {}, int viewerKind = 0);
    ~THookHelpSystem();
    THookHelpSystem(const THookHelpSystem &) = delete;
    THookHelpSystem &operator=(const THookHelpSystem &) = delete;

    // The game's help entry. Commands 1 and 8 show the topic numbered by
    // `data`, 13 remembers the pop-up position (x in the low 16 bits of
    // `data`, y in the high 16 bits); every other command, the quit command
    // among them, is left to no one and changes nothing. True when the hook
    // handled the command itself.
    bool HelpCommand(int command, qintptr data);

    // The rules button: the topic of the current language.
    void ShowRules(int Language) { HelpCommand(HELP_CONTEXT, RulesContext(Language)); }

    const QString &HelpFile() const { return helpFile_; }
    QPoint PopupPosition() const { return popupPosition_; }

    // The viewer window once a topic has been shown, else nullptr.
    THelpViewer *Viewer() const { return viewer_.get(); }

    void SetViewerFactory(ViewerFactory factory) { viewerFactory_ = std::move(factory); }

    // The game's window: the rules open beside it, with its icon.
    void SetGameWindow(QWidget *game);

private:
    enum TopicResult { TopicShown = 0, NotInstalled = 1 };
    TopicResult ShowTopic(int context);
    void Log(const QString &text) const;

    QString helpFile_;
    QString windowDefinition_;
    int viewerKind_;
    QPoint popupPosition_;
    ViewerFactory viewerFactory_;
    std::unique_ptr<THelpViewer> viewer_;
    QPointer<QWidget> game_;
};
