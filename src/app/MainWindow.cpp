#include "MainWindow.h"

#include "Controls.h"
#include "DialogResources.h"
#include "GameFolders.h"
#include "GameSettings.h"
#include "InfoDialog.h"
#include "LanguageDialog.h"
#include "LevelOverview.h"
#include "LevelSet.h"
#include "LoadDialog.h"
#include "MessageDialog.h"
#include "OptionsDialog.h"
#include "SaveDialog.h"
#include "SavedGameFile.h"
#include "SdlMusic.h"
#include "Shortcuts.h"
#include "StuckHelp.h"
#include "StuckWidgets.h"
#include "Tiles.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <cmath>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// A name as a message shows it: a very long one keeps its beginning and its
// end, so that the box stays narrower than the screen.
std::string ShortName(const std::string &name)
{
    constexpr int Head = 32;
    constexpr int Tail = 16;
    const QString text = QString::fromStdString(name);
    if (text.size() <= Head + Tail + 1)
        return name;
    return (text.left(Head) + QChar(0x2026) + text.right(Tail)).toStdString();
}

} // namespace

int VirtualKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left:
        return VkLeft;
    case Qt::Key_Up:
        return VkUp;
    case Qt::Key_Right:
        return VkRight;
    case Qt::Key_Down:
        return VkDown;
    default:
        return 0;
    }
}

TMainForm::TMainForm(const std::string &programFolder, const std::filesystem::path &settingsFile,
    const std::string &playersGamesFolder)
    : ProgramFolder(programFolder)
    , DataFolder(FindDataFolder(programFolder))
    , ini(settingsFile)
    , midi(DataFolder)
    , playersGamesFolder_(playersGamesFolder)
{
    resize(DesignClientSize);
    setMinimumSize(TrackingMinimum);

    Timer = new QTimer(this);
    Timer->setInterval(100);
    connect(Timer, &QTimer::timeout, this, &TMainForm::TimerTimer);
    // A window manager ignores size requests while the player drags the
    // frame, and tells nothing when the drag ends: the size is looked at
    // again once no new size has come for a moment.
    ratioCheck_ = new QTimer(this);
    ratioCheck_->setSingleShot(true);
    ratioCheck_->setInterval(300);
    connect(ratioCheck_, &QTimer::timeout, this,
        [this] { KeepFourToThree(RatioKeeper::Cause::Settled); });

    CreateToolbar(); // the pictures of `m`, the strip and its controls
    box = new BoardBox(view.buffer(), this);
    box->onMouseDown = [this](int x, int y) { boxMouseDown(x, y); };
    box->onHover = [this](std::optional<QPoint> at) { ShowReach(at); };
    gsol = new SolvedGauge(this);
    gsol->resize(width(), 10);
    gsol->raise(); // over the lowest pixels of the board

    view.SetScreen([this](const QRegion &r) { box->repaint(r); },
        [this](const QRegion &r) { box->update(r); });
    view.SetPiecesScreen([this](std::span<const QRect> pieces) { box->ShowNow(pieces); });
    view.SetEffectPlayer([this](int n) { PlayEffect(n); });

    CreateHelpWhenStuck();

    // Keys reach FormKeyDown whatever control has the focus.
    qApp->installEventFilter(this);

    created_ = FormCreate();
    if (created_)
        ApplyMarkOption();
}

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
    // A window that goes without closing keeps its placement, as every
    // window does; the other values are written only by a close.
    if (created_ && !settingsKept_)
        KeepSettings(false);
    FormDestroy();
    SoundReady();
    midi.Close();
}

bool TMainForm::FormCreate()
{
    // ProgramFolder comes from the program's own path, with its separator.
    setWindowTitle(QStringLiteral("Tumblewick 2.0"));
    HelpHook = std::make_unique<THookHelpSystem>(QString::fromStdString(DataFolder) + HelpFileName);
    HelpHook->SetGameWindow(this);

    // Read once: from here on the values live in memory until the close
    // writes them back.
    ini.Load();
    const GameSettings s = ReadGameSettings(ini);
    game.Language = s.Language;
    SoundOn = s.SoundOn;
    MusicOn = s.MusicOn;
    game.AnimationOn = s.AnimationOn;
    GrafMode = s.GrafMode;
    view.look = {s.SmoothOn, s.CalmOn, s.ContrastOn};
    SolvableMarkOn = s.SolvableMarkOn;

    random.Seed(
        static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));

    // The first piece is opened even when music is off; it plays from the first tick on.
    StartSound();

    LevelSetResult levels = LoadLevelSet(DataFolder);
    if (!levels.ok()) {
        QMessageBox::critical(nullptr, QStringLiteral("Tumblewick"),
            QString::fromStdString(LevelSetMessage(levels, game.Language)));
        return false;
    }
    gsol->SetRange(levels.table.Count(), 0);
    game.InstallLevels(std::move(levels.table), s.Level);

    // Games stay beside a portable copy the player may write to; an installed
    // copy keeps them in the player's own folder.
    const GamesFolderChoice games
        = SettleGamesFolder(ProgramFolder, DataFolder, playersGamesFolder_);
    GamesFolder = games.folder;
    readOnlyMedium_ = games.place == GamesPlace::Nowhere;
    CreateGamesFolder(GamesFolder);

    game.GameName = s.GameName;
    if (!game.GameName.empty())
        LoadGameFile();
    game.StartUp(); // the all-solved test, then the start level on the board

    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    RefreshHints();
    Timer->start();
    FirstTick = true;
    return true;
}

void TMainForm::StartSound()
{
    // The synthesiser and its soundfont are loaded by the first play, on the
    // first tick and after the first picture: with music off, never. Loaded
    // here they would stay in this thread's own heap after the window goes;
    // the synthesiser's library holds no heap and is loaded here when music
    // is on, off the window's thread.
    soundStart_.Begin([this, musicOn = MusicOn] {
        waves = std::make_unique<SoundEffects>();
        midi.Discover();
        MusicAvailable = midi.MusicAvailable();
        if (musicOn && MusicAvailable)
            LoadSynthesiserLibrary();
    });
}

void TMainForm::SoundReady()
{
    soundStart_.Wait();
}

SoundEffects &TMainForm::Waves()
{
    SoundReady();
    return *waves;
}

void TMainForm::SetIconAfterFirstPaint()
{
    box->onFirstPaint = [this] {
        // After the paint has reached the screen.
        QTimer::singleShot(0, this, &TMainForm::SetIcon);
    };
}

bool TMainForm::DialogsReady()
{
    if (!DlgResources && shownOnce_)
        CreateDialogs();
    return DlgResources != nullptr;
}

void TMainForm::CreateDialogs()
{
    if (DlgResources)
        return;
    SetIcon(); // the help window takes the same icon
    // The picture module comes first: every dialog draws from it.
    DlgResources = std::make_unique<TDlgResources>();
    InfoDlg = std::make_unique<TInfoDlg>(*DlgResources, this);
    TongueDlg = std::make_unique<TTongueDlg>(*DlgResources, game.Language, this);
    YesNoDlg = std::make_unique<TYesNoDlg>(
        *DlgResources, [this] { return game.Language; }, this);
    OptionDlg = std::make_unique<TOptionDlg>(
        OptionVariables {&game.Language, &SoundOn, &MusicOn, &game.AnimationOn, &view.look.smooth,
            &view.look.calm, &view.look.contrast, &SolvableMarkOn},
        MusicHooks {[this] {
                        SoundReady();
                        return MusicAvailable;
                    },
            [this] {
                SoundReady();
                return QString::fromStdString(midi.PieceName());
            },
            [this](bool musicOn) {
                SoundReady();
                return midi.MusicBtnClick(musicOn);
            },
            [this] { return Waves().DeviceOpen(); },
            [this] {
                SoundReady();
                return midi.PiecesFound();
            }},
        [this] { RefreshHints(); }, this);
    // A changed look shows on the board at once, under the open dialog.
    OptionDlg->onLookChanged = [this] { boxPaint(); };
    OptionDlg->markSwitched = [this] { ApplyMarkOption(); };
    SaveGameDlg = std::make_unique<TSaveGameDlg>(
        *DlgResources, [this] { return game.Language; }, this);
    LoadGameDlg = std::make_unique<TLoadGameDlg>(
        *DlgResources, GamesFolder, [this] { return game.Language; }, this);
}

MainWindowParts Parts(TMainForm &form)
{
    return {form.game, form.view, form.m, form.DataFolder, form.GamesFolder, form.FirstTick,
        form.HelpHook.get(), form.midi, form.Timer, form.gsol, form.box, form.toolbox, form.NewBtn,
        form.LoadBtn, form.StartBtn, form.NextBtn, form.Level100UpBtn, form.Level10UpBtn,
        form.Level1UpBtn, form.UnSolvedUpBtn, form.UnSolvedDnBtn, form.Level1DnBtn,
        form.Level10DnBtn, form.Level100DnBtn, form.OptionBtn, form.InfoBtn, form.RulesBtn,
        form.ExitBtn, form.LevelLabel, form.LevelLabel100, form.LevelLabel10, form.LevelLabel1,
        form.TongueDlg.get(), form.YesNoDlg.get(), form.OptionDlg.get(), form.SolvableMarkOn,
        form.hintSpot, form.solvableMark, *form.stuckHelp};
}

void TMainForm::FormDestroy()
{
    Timer->stop();
}

// --- showing, sizing, closing ----------------------------------------------------

void TMainForm::setVisible(bool visible)
{
    if (visible && !shownOnce_ && created_) {
        shownOnce_ = true;
        BringToMinimumAndRatio();
        restored_ = keeper.Restore(*this);
    }
    QWidget::setVisible(visible);
}

void TMainForm::BringToMinimumAndRatio()
{
    // Done before the window is placed, so that a centred window is centred
    // at the size it will have, as far as that is known before its frame is.
    resize(FourToThree(size().expandedTo(minimumSize())));
}

void TMainForm::FirstPlacement()
{
    // A window manager adds its frame when it maps the window; only now are
    // the outer size and the centred place known.
    placed_ = true;
    const QMargins frame = windowHandle()->frameMargins();
    setMinimumSize(TrackingMinimum.shrunkBy(frame));
    if (restored_ || (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        // A stored placement keeps its inner size where that is at 4 : 3.
        KeepFourToThree(RatioKeeper::Cause::Resized);
        return;
    }
    // The size the window is laid out for, raised to the minimum, at 4 : 3
    // with the frame. The report of this new size then finds nothing to
    // change.
    keeper.Centre(
        *this, ratio_.Want(DesignClientSize.grownBy(frame).expandedTo(TrackingMinimum)), frame);
}

void TMainForm::KeepFourToThree(RatioKeeper::Cause cause)
{
    QWindow *window = windowHandle();
    if (!placed_ || !window || !isVisible())
        return;
    // A maximised or full-screen window has the size the desktop gives it.
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
        return;
    const QMargins frame = window->frameMargins();
    if (minimumSize() != TrackingMinimum.shrunkBy(frame))
        setMinimumSize(TrackingMinimum.shrunkBy(frame));
    // The size last reported by the window system. The widget's own size may
    // be one that was asked for and not (yet) granted.
    const QSize outer = window->geometry().size().grownBy(frame);
    if (const std::optional<QSize> want = ratio_.Ask(outer, cause))
        window->resize(want->shrunkBy(frame));
}

void TMainForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TMainForm::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Full screen on a screen of the window's own size brings no new size,
    // but the board area changes all the same.
    if (event->type() == QEvent::WindowStateChange)
        FormResize();
}

void TMainForm::FormResize()
{
    // The 4 : 3 rule follows the sizes the window system reports
    // (KeepFourToThree); this lays out whatever size the window has now.
    const int w = width();
    const int h = height();
    ScaleToolbar(ToolbarScale(w));
    const int top = ToolbarHeightNow();
    toolbox->setGeometry(0, 0, w, top);
    box->setGeometry(0, top, w, std::max(1, h - top));
    // A full screen keeps the board at 4 : 3 in its middle; the stars fill
    // the rest. The toolbar and the gauge span the whole width, as they do
    // in a window.
    const QRect area
        = (windowState() & Qt::WindowFullScreen) ? FourToThreeArea(w, h) : QRect(0, 0, w, h);
    // One pixel of the buffer per device pixel, rounded up: sharp at any
    // density, and a whole number keeps every pixel rule of the board.
    view.SetPixelRatio(static_cast<int>(std::ceil(devicePixelRatio())));
    view.Resize(w, h, box->width(), box->height(), area); // metrics and stars
    gsol->setGeometry(0, h - gsol->height(), w, gsol->height());
    PlaceRightButtons();
    boxPaint();
    update();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery() || !FormClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

bool TMainForm::FormCloseQuery()
{
    return ShowMsg(MsgQuit) == MrYes;
}

bool TMainForm::FormClose()
{
    Timer->stop();
    HelpHook->HelpCommand(HELP_QUIT, 0);
    // On a read-only medium neither the game nor any setting is written, so
    // the next start finds the old settings.
    if (CheckCdRom()) {
        KeepSettings(false);
        return true;
    }
    if (!SavingStep(Leaving::Close)) {
        Timer->start(); // the game goes on
        return false;
    }
    KeepSettings(true);
    return true;
}

void TMainForm::KeepSettings(bool values)
{
    if (values) {
        GameSettings s;
        s.Language = game.Language;
        s.SoundOn = SoundOn;
        s.MusicOn = MusicOn;
        s.AnimationOn = game.AnimationOn;
        s.GrafMode = GrafMode;
        s.Level = game.CurrentLevel;
        s.GameName = game.GameName;
        s.SmoothOn = view.look.smooth;
        s.CalmOn = view.look.calm;
        s.ContrastOn = view.look.contrast;
        s.SolvableMarkOn = SolvableMarkOn;
        WriteGameSettings(ini, s);
    }
    keeper.Store(*this);
    settingsKept_ = true;
    const FileResult written = ini.Save();
    // A file that could not be read at start was reported then, and is left
    // as it is; any other failure is told now, while the window still stands.
    if (!written.ok() && ini.MayReplace() && isVisible())
        ShowFileError(QString::fromStdString(
            SettingsNotSavedMessage(ini.Path().string(), written, game.Language)));
}

void TMainForm::ReportSettingsProblem()
{
    if (ini.MayReplace())
        return;
    ShowFileError(QString::fromStdString(
        SettingsUnreadableMessage(ini.Path().string(), ini.Loaded(), game.Language)));
}

void TMainForm::ExitBtnClick()
{
    close(); // exactly as the window's own close box
}

// --- input -------------------------------------------------------------------------

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle() && windowHandle()) {
        switch (event->type()) {
        case QEvent::Expose:
            if (!placed_ && windowHandle()->isExposed())
                FirstPlacement();
            break;
        case QEvent::Resize:
            // The window system reports a size; it is already the window's
            // geometry when this event passes here.
            KeepFourToThree(RatioKeeper::Cause::Resized);
            ratioCheck_->start();
            break;
        default:
            break;
        }
    }
    if (watched == this && event->type() == QEvent::WindowActivate)
        KeepFourToThree(RatioKeeper::Cause::Activated);
    // Without a window manager nobody gives the keyboard back when a dialog
    // closes: it goes to whatever window the pointer is over, so the arrow
    // keys would be lost. The window takes it back once the dialog is gone.
    if (event->type() == QEvent::Hide && qobject_cast<QDialog *>(watched)
        && static_cast<QWidget *>(watched)->isWindow())
        QTimer::singleShot(0, this, &TMainForm::GiveFocusBack);

    // Every key event passes the window before any control; acting only
    // there sees each key once, and leaves it for further handling. A held
    // key repeats its press; only the first one moves, so a key held a moment
    // too long, or repeats queued behind an animation, cannot walk the hero
    // on: the player presses again to move again.
    if (event->type() == QEvent::KeyPress && watched == windowHandle()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool command = !IsModifierKey(key->key())
            && CommandFor(PressedKey(key->key(), key->modifiers())) != nullptr;
        if (!keys_.Repeats(*key))
            KeyPressed(*key);
        // A command's key goes no further, repeated or not.
        if (command)
            return true;
    }
    // A key may be let go while a dialog has the keyboard.
    if (event->type() == QEvent::KeyRelease && watched->isWindowType()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        keys_.Repeats(*key);
        if (key->key() == heldModifier_ && !key->isAutoRepeat())
            PassHeldModifier();
    }
    // A click comes after the modifier pressed before it, as the design has it.
    if (event->type() == QEvent::MouseButtonPress && watched == windowHandle())
        PassHeldModifier();
    if (watched == this && event->type() == QEvent::WindowDeactivate) {
        keys_.Forget();
        PassHeldModifier();
    }
    return QWidget::eventFilter(watched, event);
}

void TMainForm::KeyPressed(const QKeyEvent &key)
{
    if (IsModifierKey(key.key())) {
        // A second modifier (Ctrl, then Shift) is still the start of a
        // combination; the first one stands for both.
        if (heldModifier_ == 0) {
            heldModifier_ = key.key();
            heldModifiers_ = key.modifiers();
        }
        return;
    }
    // A command never touches the level: the modifier that began its
    // combination is dropped with it.
    if (const Command *c = CommandFor(PressedKey(key.key(), key.modifiers()))) {
        heldModifier_ = 0;
        ShowReach(std::nullopt);
        c->run(*this);
        ShowReach(box->Pointer());
        return;
    }
    PassHeldModifier();
    FormKeyDown(key.key(), key.modifiers());
}

void TMainForm::PassHeldModifier()
{
    if (heldModifier_ == 0)
        return;
    const int key = heldModifier_;
    heldModifier_ = 0;
    FormKeyDown(key, heldModifiers_);
}

void TMainForm::ToggleFullScreen()
{
    setWindowState(windowState() ^ Qt::WindowFullScreen);
}

bool HeldKeys::Repeats(const QKeyEvent &key)
{
    // X repeats a held key as a release and a press at the same moment. Qt
    // marks them as repeats, but not when it sees the release before the
    // press has arrived; their equal time tells them apart all the same.
    // Only a key held for a while repeats, so a quick tap followed at once
    // by another press (as a program may send them) is not taken for one.
    constexpr quint64 ShortestRepeatDelay = 100; // milliseconds
    bool repeat = key.isAutoRepeat();
    if (key.type() == QEvent::KeyPress) {
        if (!repeat)
            repeat
                = key.key() == down_ || (key.key() == released_ && key.timestamp() == releasedAt_);
        if (!repeat)
            pressedAt_ = key.timestamp();
        down_ = key.key();
        released_ = 0;
    } else if (!repeat) {
        const bool held = key.key() == down_ && key.timestamp() >= pressedAt_ + ShortestRepeatDelay;
        down_ = 0;
        released_ = held ? key.key() : 0;
        releasedAt_ = key.timestamp();
    }
    return repeat;
}

void TMainForm::GiveFocusBack()
{
    if (!isVisible() || isMinimized())
        return;
    // A dialog still open (one that opened another) keeps the keyboard.
    QWidget *modal = QApplication::activeModalWidget();
    QWidget *target = modal && modal->isVisible() ? modal : this;
    target->activateWindow();
}

void TMainForm::FormKeyDown(int qtKey, Qt::KeyboardModifiers modifiers)
{
    ShowReach(std::nullopt);
    const int key = VirtualKey(qtKey);
    if (key != 0)
        HideHintNow(); // before the move draws
    game.FormKeyDown(key, modifiers.testFlag(Qt::ShiftModifier));
    stuckHelp->Look();
    ShowReach(box->Pointer());
}

void TMainForm::boxMouseDown(int x, int y)
{
    ShowReach(std::nullopt);
    HideHintNow();
    const Metrics &m = view.metrics();
    game.boxMouseDown(x - m.OriginX, y - m.OriginY, m.CellW, m.CellH);
    stuckHelp->Look();
    ShowReach(box->Pointer());
}

void TMainForm::ShowReach(std::optional<QPoint> at)
{
    // Drawn over the board on the screen only, never into its pixels: the
    // board itself stays exactly as designed, stars and all, and with the
    // pointer elsewhere nothing of it shows.
    const Metrics &m = view.metrics();
    std::optional<Cell> cell;
    if (at)
        cell = ClickTarget(at->x() - m.OriginX, at->y() - m.OriginY, m.CellW, m.CellH);
    if (!cell || !game.CanReach(cell->col, cell->row)) {
        box->SetOutline({});
        return;
    }
    box->SetOutline(TopFaceOf(m, CellX(m, cell->col, cell->row), CellY(m, cell->row)));
}

// --- painting and the timer --------------------------------------------------------

void TMainForm::boxPaint()
{
    // Only the board: the level display and the status are updated where
    // they change, and the toolbar paints itself.
    view.PaintBoard();
}

void TMainForm::TimerTimer()
{
    view.Twinkle();
    if (game.PlayState == PlaySolved)
        view.Dance();
    // The first tick waits for the sound's start-up, so that the music
    // starts with it; a piece that has ended starts again. An output that
    // has been quiet for a while rests.
    SoundReady();
    midi.KeepAlive(MusicOn);
    AudioDevice::Rest(AudioDevice::Clock::now());
    if (FirstTick) {
        // Cleared first: ticks that come while the question is open do nothing here.
        FirstTick = false;
#ifdef __GLIBC__
        // The start-up's helper threads are done; what they freed goes back
        // to the system instead of waiting in their heaps.
        malloc_trim(0);
#endif
        game.Language = ReadGameSettings(ini).Language;
        // Settings that could not be read are told once, before any question.
        if (!ini.MayReplace())
            QTimer::singleShot(0, this, &TMainForm::ReportSettingsProblem);
        if (game.Language == -1) {
            // A dialog opened inside this tick would stop the timer for as
            // long as it is open; the question waits for the tick to end.
            QTimer::singleShot(0, this, &TMainForm::AskLanguage);
        }
    }
}

void TMainForm::AskLanguage()
{
    if (DialogsReady())
        TongueDlg->exec();
    RefreshHints();
}

// --- what the rules ask --------------------------------------------------------------

void TMainForm::DrawCell(int col, int row, bool visible)
{
    view.DrawCell(col, row, visible);
}

void TMainForm::DrawCellsAfter(int col, int row)
{
    view.DrawCellsAfter(col, row);
}

void TMainForm::DrawHero(int col, int row)
{
    view.DrawHero(col, row);
}

void TMainForm::AnimateMove(int fromCol, int fromRow, int toCol, int toRow, bool teleport)
{
    view.AnimateMove(fromCol, fromRow, toCol, toRow, teleport);
}

void TMainForm::AnimateTileFall(int col, int row)
{
    view.AnimateTileFall(col, row);
}

void TMainForm::AnimateLayerDrop(int col, int row)
{
    view.AnimateLayerDrop(col, row);
}

void TMainForm::AnimateHeroFall(int col, int row)
{
    view.AnimateHeroFall(col, row);
}

void TMainForm::AnimateBothFall(int tileCol, int tileRow, int heroCol, int heroRow)
{
    view.AnimateBothFall(tileCol, tileRow, heroCol, heroRow);
}

void TMainForm::LevelSweepOut()
{
    view.LevelSweepOut();
}

void TMainForm::LevelSweepIn()
{
    view.LevelSweepIn();
}

void TMainForm::PlayEffect(int n)
{
    Waves().PlayEffect(n, SoundOn);
}

bool TMainForm::SaveCurrentGame()
{
    // Before a new game: on a read-only medium only the saving is skipped.
    return CheckCdRom() || SavingStep(Leaving::NewGame);
}

void TMainForm::LevelMarked()
{
    // Written at once, the same way as on closing, so that a crash loses no
    // solved level; silent unless it fails, and a failure is told once per
    // game rather than after every level (the close still tells it).
    if (game.GameName.empty() || readOnlyMedium_)
        return;
    if (SaveUnder(game.GameName, gameFile_).ok()) {
        saveFailureReported_ = false;
        return;
    }
    if (saveFailureReported_)
        return;
    saveFailureReported_ = true;
    ShowFileError(
        QString::fromStdString(SaveFailedMessage(ShortName(game.GameName), game.Language)));
}

// --- saved games ---------------------------------------------------------------------

bool TMainForm::CheckCdRom()
{
    if (!readOnlyMedium_)
        return false;
    ShowMsgText(MsgCdRom, QString::fromStdString(ReadOnlyMediumNotice(game.Language)));
    return true;
}

bool TMainForm::SavingStep(Leaving leaving)
{
    std::string name = game.GameName;
    std::string file = gameFile_;
    // A game without a name is saved only under a name the player gives; a
    // player who gives none has chosen not to save it.
    if (name.empty()) {
        if (!AskForName(name))
            return true;
        file.clear();
    }
    while (true) {
        if (SaveUnder(name, file).ok())
            return true;
        switch (AskAfterFailedSave(name, leaving)) {
        case AfterFailedSave::GoOn:
            return true;
        case AfterFailedSave::Stay:
            return false;
        case AfterFailedSave::AnotherName:
            if (AskForName(name))
                file.clear();
            break; // no other name given: the same name is tried once more
        }
    }
}

FileResult TMainForm::SaveUnder(const std::string &name, const std::string &fileName)
{
    const FileResult saved = fileName.empty() || name != game.GameName
        ? ::SaveGameFile(GamesFolder, name, game.SolvedFlags)
        : ::SaveGameFile(GamesFolder, SavedGame {name, fileName}, game.SolvedFlags);
    // Only a name the game could be saved under becomes its name, so that a
    // refused name is never remembered.
    if (saved.ok() && name != game.GameName)
        SetGameName(name, "");
    return saved;
}

bool TMainForm::AskForName(std::string &name)
{
    if (!DialogsReady() || SaveGameDlg->ShowModal(name) != MrOk || SaveGameDlg->Name().empty())
        return false;
    name = SaveGameDlg->Name();
    return true;
}

TMainForm::AfterFailedSave TMainForm::AskAfterFailedSave(const std::string &name, Leaving leaving)
{
    // The design's error box, with the choices that keep the player's record.
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tumblewick"),
        QString::fromStdString(SaveFailedMessage(ShortName(name), game.Language)),
        QMessageBox::NoButton, isVisible() ? this : nullptr);
    box.setInformativeText(QString::fromStdString(UnsavedExplanation(game.Language)));
    QPushButton *another = box.addButton(
        QString::fromStdString(SaveUnderAnotherName(game.Language)), QMessageBox::AcceptRole);
    QPushButton *goOn
        = box.addButton(QString::fromStdString(GoOnWithoutSaving(leaving, game.Language)),
            QMessageBox::DestructiveRole);
    QPushButton *stay = box.addButton(
        QString::fromStdString(StayInTheGame(game.Language)), QMessageBox::RejectRole);
    box.setDefaultButton(another);
    box.setEscapeButton(stay);
    box.exec();
    if (box.clickedButton() == another)
        return AfterFailedSave::AnotherName;
    if (box.clickedButton() == goOn)
        return AfterFailedSave::GoOn;
    return AfterFailedSave::Stay; // also when the box was closed any other way
}

void TMainForm::ShowFileError(const QString &text)
{
    QMessageBox::critical(isVisible() ? this : nullptr, QStringLiteral("Tumblewick"), text);
}

void TMainForm::SetGameName(const std::string &name, const std::string &fileName)
{
    if (name != game.GameName)
        saveFailureReported_ = false;
    game.GameName = name;
    gameFile_ = fileName.empty() ? SavedGameFileName(GamesFolder, name) : fileName;
    game.UpdateStatus();
}

void TMainForm::LoadGameFile()
{
    // The game the settings remember, restored at start.
    const LoadedGame loaded = ::LoadGameFile(GamesFolder, game.GameName);
    if (loaded.result.ok()) {
        game.SolvedFlags = loaded.record;
        gameFile_ = SavedGameFileName(GamesFolder, game.GameName);
        return;
    }
    if (loaded.result.outcome != FileResult::Missing)
        ShowFileError(
            QString::fromStdString(LoadFailedMessage(ShortName(game.GameName), game.Language)));
    game.GameName.clear();
    gameFile_.clear();
}

void TMainForm::LoadBtnClick()
{
    if (CheckCdRom())
        return;
    if (!SavingStep(Leaving::Load))
        return;
    if (!DialogsReady() || LoadGameDlg->ShowModal() != MrOk || !LoadGameDlg->Picked())
        return; // nothing picked: nothing is loaded, and nothing is cleared
    const SavedGame picked = *LoadGameDlg->Picked();
    // The file that was listed is the file that is read; a game that cannot
    // be read leaves the current one as it was.
    const LoadedGame loaded = LoadSavedGame(GamesFolder, picked);
    if (!loaded.result.ok()) {
        ShowFileError(
            QString::fromStdString(LoadFailedMessage(ShortName(picked.name), game.Language)));
        return;
    }
    // The level, the board and the all-solved state stay as they are.
    game.SolvedFlags = loaded.record;
    SetGameName(picked.name, picked.fileName);
}

ModalResult TMainForm::ShowMsg(int id)
{
    stuckHelp->Look(); // a lost level shows its red lamp before the question
    if (!DialogsReady())
        return MrNone;
    const ModalResult answer = YesNoDlg->ShowMsg(id);
    // What the dialog covered is drawn again at once, before an animation
    // that may follow keeps the window from painting.
    repaint();
    return answer;
}

ModalResult TMainForm::ShowMsgText(int id, const QString &text)
{
    if (!DialogsReady())
        return MrNone;
    const ModalResult answer = YesNoDlg->ShowMsgText(id, text);
    repaint();
    return answer;
}

void TMainForm::ShowCaption(const std::string &caption)
{
    setWindowTitle(QString::fromStdString(caption));
}

void TMainForm::ShowGauge(const GaugeDisplay &gauge)
{
    gsol->SetRange(gauge.maximum, gauge.progress);
    gsol->setToolTip(QString::fromStdString(gauge.hint));
}
