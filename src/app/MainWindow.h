// The main window: owns the game, draws it, takes the keys and clicks, runs
// the 100 ms timer, and answers everything the rules ask of the screen.
#pragma once

#include "BoardView.h"
#include "Effects.h"
#include "FrameRatio.h"
#include "Game.h"
#include "GameHost.h"
#include "HelpHook.h"
#include "Music.h"
#include "PictureList.h"
#include "Random.h"
#include "Settings.h"
#include "SoundStart.h"
#include "StoreTexts.h"
#include "WindowKeeper.h"

#include <QKeyCombination>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class BoardBox;
class HintSpot;
class QKeyEvent;
class QLabel;
class QTimer;
class PictureButton;
class SolvableMark;
class SolvedGauge;
class StuckHelp;
class TDlgResources;
class TInfoDlg;
class TLevelOverview;
class TLoadGameDlg;
class TOptionDlg;
class TSaveGameDlg;
class TTongueDlg;
class TYesNoDlg;
class Toolbox;
struct MainWindowParts;
class QPainter;

// The toolbar grows in steps with the window's width: as designed below
// 1200 pixels, half as large again from 1200, twice as large from 1600.
qreal ToolbarScale(int windowWidth);

// Arrow keys become the virtual key codes the rules know; any other key
// becomes 0, which moves nothing.
int VirtualKey(int qtKey);

// Tells the presses of a held key that repeat it from the press that began
// it. Fed every key press and release, in order.
class HeldKeys
{
public:
    // True for a press or release that only repeats a held key.
    bool Repeats(const QKeyEvent &key);
    // Keys let go out of sight, as when another window had the keyboard,
    // are taken as let go.
    void Forget() { down_ = 0; }

private:
    int down_ = 0; // the key pressed and not yet let go
    quint64 pressedAt_ = 0; // when it was pressed
    int released_ = 0; // a key let go after it was held, perhaps to repeat
    quint64 releasedAt_ = 0;
};

class TMainForm : public QWidget, public GameHost
{
    Q_OBJECT
public:
    static constexpr int ToolbarHeight = 60; // at the design's size; see ToolbarScale
    static constexpr QSize DesignClientSize {673, 362};
    // The outer size the frame may not be dragged below.
    static constexpr QSize TrackingMinimum {680, 460};

    // Runs the whole start-up (FormCreate). When the level set cannot be
    // loaded it shows why, and Created() is false: the program then ends
    // without showing the window. `playersGamesFolder` is the player's own
    // games folder, used when the program folder cannot keep the games; empty
    // when the player has none.
    TMainForm(const std::string &programFolder, const std::filesystem::path &settingsFile,
        const std::string &playersGamesFolder = {});
    ~TMainForm() override;

    bool Created() const { return created_; }

    // The dialogs, created after the window is shown, in the program's order;
    // once only. The program makes them when a dialog is first needed: about
    // ten milliseconds then, and no memory for them in a game that asks
    // nothing.
    void CreateDialogs();
    // Gives the window its icon once the board has been painted for the
    // first time; the icon plays no part in the first picture.
    void SetIconAfterFirstPaint();

    // --- handlers ---------------------------------------------------------------
    bool FormCreate();
    void FormDestroy();
    bool FormCloseQuery();
    // False when the player chose to stay after the game could not be saved.
    bool FormClose();
    void FormKeyDown(int qtKey, Qt::KeyboardModifiers modifiers);
    void FormResize();
    // Brings the outer size the window system reports to 4 : 3 and to at
    // least the minimum, as far as the window manager lets it.
    void KeepFourToThree(RatioKeeper::Cause cause);
    void boxPaint();
    void boxMouseDown(int x, int y);
    void TimerTimer();
    void RefreshHints();

    void ExitBtnClick();
    void OptionBtnClick();
    void info();
    void rules();
    void LoadBtnClick();
    // Full screen and back to the window as it was; the board keeps 4 : 3.
    void ToggleFullScreen();
    // Every key of every command, for the rules that list them.
    static std::vector<QKeyCombination> CommandKeys();

    // --- saved games ------------------------------------------------------------
    // When nothing can be saved anywhere (a read-only medium, and no folder
    // of the player's either) shows the notice that says so, and says so.
    bool CheckCdRom();
    // Saves the game before the player leaves it, under its name or, when it
    // has none, under a name the save dialog asks for. When the save fails the
    // player chooses: another name, going on without saving, or staying. True
    // when the player may go on (the game is saved, or the player chose not
    // to save it).
    bool SavingStep(Leaving leaving);
    // Restores the game the settings remember; one that cannot be read is
    // forgotten, with a message unless it is simply gone.
    void LoadGameFile();
    // The game's name, and with it the file its record is kept in; the
    // status line follows at once.
    void SetGameName(const std::string &name, const std::string &fileName);

    // --- what the rules ask -----------------------------------------------------
    void DrawCell(int col, int row, bool visible) override;
    void DrawCellsAfter(int col, int row) override;
    void DrawHero(int col, int row) override;
    void AnimateMove(int fromCol, int fromRow, int toCol, int toRow, bool teleport) override;
    void AnimateTileFall(int col, int row) override;
    void AnimateLayerDrop(int col, int row) override;
    void AnimateHeroFall(int col, int row) override;
    void AnimateBothFall(int tileCol, int tileRow, int heroCol, int heroRow) override;
    void LevelSweepOut() override;
    void LevelSweepIn() override;
    void PlayEffect(int n) override;
    ModalResult ShowMsg(int id) override;
    ModalResult ShowMsgText(int id, const QString &text);
    bool SaveCurrentGame() override;
    void LevelMarked() override;
    void ShowCaption(const std::string &caption) override;
    void ShowLevel(const LevelDisplay &display) override;
    void ShowGauge(const GaugeDisplay &gauge) override;

protected:
    void setVisible(bool visible) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // --- the game's state ---------------------------------------------------
    std::string ProgramFolder;
    // The level set, the music and the help file: the program folder, or the
    // data folder of an installed copy.
    std::string DataFolder;
    // Where games are saved and listed, chosen at start; empty when nothing
    // can be saved anywhere.
    std::string GamesFolder;
    SettingsStore ini;
    Game game {*this};
    bool SoundOn = true;
    bool MusicOn = true;
    int GrafMode = 0;
    bool MusicAvailable = false;
    bool FirstTick = false;
    bool SolvableMarkOn = false; // the "still solvable?" lamp, off by default

    std::unique_ptr<THookHelpSystem> HelpHook;
    // Made by the sound's start-up beside the window thread; reached only
    // through Waves() and SoundReady(), which wait for it.
    std::unique_ptr<SoundEffects> waves;
    MusicPlayer midi;
    SoundStart soundStart_;

    Random random;
    BoardView view {game, random};
    PictureList m;

    // --- controls -------------------------------------------------------------
    QTimer *Timer;
    SolvedGauge *gsol;
    BoardBox *box;
    Toolbox *toolbox;
    WindowKeeper keeper {ini};
    PictureButton *NewBtn, *LoadBtn, *StartBtn, *NextBtn;
    PictureButton *Level100UpBtn, *Level10UpBtn, *Level1UpBtn, *UnSolvedUpBtn;
    PictureButton *UnSolvedDnBtn, *Level1DnBtn, *Level10DnBtn, *Level100DnBtn;
    PictureButton *OptionBtn, *InfoBtn, *RulesBtn, *ExitBtn;
    QLabel *LevelLabel, *LevelLabel100, *LevelLabel10, *LevelLabel1;
    HintSpot *hintSpot; // over the solved indicator
    SolvableMark *solvableMark; // beside it

    // --- dialogs --------------------------------------------------------------
    // Declared in the order CreateDialogs makes them, so that they go in the
    // reverse order, the pictures they all draw from last.
    std::unique_ptr<TDlgResources> DlgResources;
    std::unique_ptr<TInfoDlg> InfoDlg;
    std::unique_ptr<TTongueDlg> TongueDlg;
    std::unique_ptr<TYesNoDlg> YesNoDlg;
    std::unique_ptr<TOptionDlg> OptionDlg;
    std::unique_ptr<TSaveGameDlg> SaveGameDlg;
    std::unique_ptr<TLoadGameDlg> LoadGameDlg;
    std::unique_ptr<TLevelOverview> LevelOverview; // made when first opened

    // --- help when stuck ----------------------------------------------------------
    // Its search thread ends before the game it reads goes.
    std::unique_ptr<StuckHelp> stuckHelp;
    void AskHint();
    void OpenLevelOverview();
    // The lamp shown or hidden as the option says, and the search told.
    void ApplyMarkOption();

    // Saves under `name` (in `fileName` when given, else the name's own
    // file); true on success, when the name becomes the game's name.
    FileResult SaveUnder(const std::string &name, const std::string &fileName);
    enum class AfterFailedSave { AnotherName, GoOn, Stay };
    AfterFailedSave AskAfterFailedSave(const std::string &name, Leaving leaving);
    // Asks for a name with the save dialog, `name` filled in; false when the
    // player gave none.
    bool AskForName(std::string &name);
    void ShowFileError(const QString &text);
    // The settings and the placement, written in one step. `values` false
    // writes only the placement (on a read-only medium, or when the window
    // goes without closing).
    void KeepSettings(bool values);
    void ReportSettingsProblem();
    void CreateToolbar();
    void CreateHelpWhenStuck();
    void RefreshHelpHints();
    // Takes the hint's arrow off the board at once, before a move draws.
    void HideHintNow();
    void PaintHint(QPainter &painter);
    QRect HintArea() const; // where the hint's arrow is drawn, if one is shown
    void ShowHelpMessage(const QString &german, const QString &english);
    // The program's icon at the sizes a desktop asks for; not part of the
    // first picture, so it is made with the dialogs.
    void SetIcon();
    // Starts the effects and the music beside the window thread.
    void StartSound();
    // Waits until the sound's start-up has ended; from then on the effects
    // and the music may be used.
    void SoundReady();
    SoundEffects &Waves();
    // False while the dialogs cannot exist yet (the window is being made).
    bool DialogsReady();
    void PlaceRightButtons();
    // Grows the toolbar for a wide window: every control's place, size,
    // picture and font by the same step, so that its layout stays the design's.
    void ScaleToolbar(qreal scale);
    int ToolbarHeightNow() const;
    struct ToolbarItem
    {
        QWidget *control;
        QRect place; // at the design's size
        int normal = -1, hot = -1, greyed = -1; // faces in `m`; none for a label
    };
    std::vector<ToolbarItem> toolbarItems_;
    qreal toolbarScale_ = 1;
    void AskLanguage();
    void BringToMinimumAndRatio();
    void FirstPlacement();
    void GiveFocusBack();
    // The outline of the cell under the pointer when a click there moves the
    // hero; none otherwise, and none while a move runs.
    void ShowReach(std::optional<QPoint> at);

    // A command of the window: the button that runs it (none for a command
    // without a button), what it runs, its keys (the first ones a hint
    // names), and the design's hint of its button. A new command with keys is
    // one more line of Commands().
    struct Command
    {
        PictureButton *TMainForm::*button;
        void (*run)(TMainForm &form);
        std::vector<QKeyCombination> keys;
        const char *german;
        const char *english;
    };
    static const std::vector<Command> &Commands();
    static const Command *CommandFor(QKeyCombination key);
    // A key press that is no repeat: a command's key runs the command, any
    // other key goes to the game.
    void KeyPressed(const QKeyEvent &key);
    // A modifier pressed alone touches the level only when no command's key
    // follows it: it is held back until then.
    void PassHeldModifier();

    friend MainWindowParts Parts(TMainForm &form);

    bool created_ = false;
    std::string playersGamesFolder_;
    bool readOnlyMedium_ = false; // and no folder of the player's either
    bool settingsKept_ = false;
    std::string gameFile_; // the file in the games folder that holds the game
    bool saveFailureReported_ = false; // once per game for the saves after each level
    bool shownOnce_ = false;
    bool restored_ = false; // shown at a stored placement
    bool placed_ = false; // placed once its frame was known
    RatioKeeper ratio_ {TrackingMinimum};
    HeldKeys keys_;
    int heldModifier_ = 0; // a modifier pressed, not yet passed to the game
    Qt::KeyboardModifiers heldModifiers_;
    QTimer *ratioCheck_;
    struct ShownArrow
    {
        int col, row, dCol, dRow;
    };
    std::optional<ShownArrow> arrow_; // the hint on the board
};

// The window's inner parts, for the tests and the benchmark tools that look
// inside it; the game itself never reaches them this way.
struct MainWindowParts
{
    Game &game;
    BoardView &view;
    PictureList &m;
    const std::string &DataFolder;
    const std::string &GamesFolder;
    bool &FirstTick;
    THookHelpSystem *HelpHook;
    MusicPlayer &midi; // wait for the sound's start-up (a tick) before looking
    QTimer *Timer;
    SolvedGauge *gsol;
    BoardBox *box;
    Toolbox *toolbox;
    PictureButton *NewBtn, *LoadBtn, *StartBtn, *NextBtn;
    PictureButton *Level100UpBtn, *Level10UpBtn, *Level1UpBtn, *UnSolvedUpBtn;
    PictureButton *UnSolvedDnBtn, *Level1DnBtn, *Level10DnBtn, *Level100DnBtn;
    PictureButton *OptionBtn, *InfoBtn, *RulesBtn, *ExitBtn;
    QLabel *LevelLabel, *LevelLabel100, *LevelLabel10, *LevelLabel1;
    TTongueDlg *TongueDlg; // the dialogs: null until CreateDialogs
    TYesNoDlg *YesNoDlg;
    TOptionDlg *OptionDlg;
    bool &SolvableMarkOn;
    HintSpot *hintSpot;
    SolvableMark *solvableMark;
    StuckHelp &stuckHelp;
};

MainWindowParts Parts(TMainForm &form);
