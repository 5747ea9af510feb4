#include "Main.h"

#include "Controls.h"
#include "DlgRes.h"
#include "GameSettings.h"
#include "InfoDlg.h"
#include "LevelSet.h"
#include "LoadGame.h"
#include "Options.h"
#include "SaveGame.h"
#include "SavedGameFile.h"
#include "Tongdlg.h"
#include "YesNo.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>

#include <chrono>

QSize FourToThree(QSize outer)
{
    int w = outer.width();
    int h = outer.height();
    if (w * 3 / 4 > h)
        h = w * 3 / 4;
    if (w * 3 / 4 < h)
        w = h * 4 / 3;
    return {w, h};
}

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

TMainForm::TMainForm(const std::string &programFolder, const std::filesystem::path &settingsFile)
    : ProgramFolder(programFolder)
    , ini(settingsFile)
    , midi(programFolder)
{
    resize(DesignClientSize);
    setMinimumSize(TrackingMinimum);

    Timer = new QTimer(this);
    Timer->setInterval(100);
    connect(Timer, &QTimer::timeout, this, &TMainForm::TimerTimer);

    CreateToolbar(); // the pictures of `m`, the strip and its controls
    box = new BoardBox(view.buffer(), this);
    box->onMouseDown = [this](int x, int y) { boxMouseDown(x, y); };
    gsol = new SolvedGauge(this);
    gsol->resize(width(), 10);
    gsol->raise(); // over the lowest pixels of the board

    view.SetScreen(
        [this](const QRect &r) { box->repaint(r); }, [this](const QRect &r) { box->update(r); });
    view.SetEffectPlayer([this](int n) { PlayEffect(n); });

    // Keys reach FormKeyDown whatever control has the focus.
    qApp->installEventFilter(this);

    created_ = FormCreate();
}

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
    // The dialogs go first, in the reverse order of their creation.
    LoadGameDlg.reset();
    SaveGameDlg.reset();
    OptionDlg.reset();
    YesNoDlg.reset();
    TongueDlg.reset();
    InfoDlg.reset();
    DlgResources.reset();
    if (created_)
        keeper.Store(*this);
    FormDestroy();
    midi.Close();
}

bool TMainForm::FormCreate()
{
    // ProgramFolder comes from the program's own path, with its separator.
    setWindowTitle(QStringLiteral("Tumblewick 2.0"));
    HelpHook
        = std::make_unique<THookHelpSystem>(QString::fromStdString(ProgramFolder) + HelpFileName);

    const StartSettings s = ReadStartSettings(ini);
    game.Language = s.Language;
    SoundOn = s.SoundOn;
    MusicOn = s.MusicOn;
    game.AnimationOn = s.AnimationOn;
    GrafMode = s.GrafMode;

    random.Seed(
        static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));

    // The first piece is opened even when music is off; it plays from the first tick on.
    midi.Discover();
    MusicAvailable = midi.MusicAvailable();

    LevelSetResult levels = LoadLevelSet(ProgramFolder);
    if (!levels.ok()) {
        QMessageBox::critical(nullptr, QStringLiteral("Tumblewick"),
            QString::fromStdString(LevelSetMessage(levels, game.Language)));
        return false;
    }
    gsol->SetRange(levels.table.Count(), 0);
    game.InstallLevels(std::move(levels.table), ReadLevelSetting(ini));

    if (!IsReadOnlyMedium(ProgramFolder))
        CreateGamesFolder(ProgramFolder);

    game.GameName = ReadGameSetting(ini);
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

void TMainForm::CreateDialogs()
{
    // The picture module comes first: every dialog draws from it.
    DlgResources = std::make_unique<TDlgResources>();
    InfoDlg = std::make_unique<TInfoDlg>(*DlgResources, this);
    TongueDlg = std::make_unique<TTongueDlg>(*DlgResources, game.Language, this);
    YesNoDlg = std::make_unique<TYesNoDlg>(
        *DlgResources, [this] { return game.Language; }, this);
    OptionDlg = std::make_unique<TOptionDlg>(
        OptionVariables {&game.Language, &SoundOn, &MusicOn, &game.AnimationOn},
        MusicHooks {[this] { return MusicAvailable; },
            [this] { return QString::fromStdString(midi.PieceName()); },
            [this](bool musicOn) { return midi.MusicBtnClick(musicOn); }},
        [this] { RefreshHints(); }, this);
    SaveGameDlg = std::make_unique<TSaveGameDlg>(
        *DlgResources, game.GameName, [this] { return game.Language; }, this);
    LoadGameDlg = std::make_unique<TLoadGameDlg>(
        *DlgResources, ProgramFolder, game.GameName, [this] { return game.Language; }, this);
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
        keeper.Restore(*this);
    }
    QWidget::setVisible(visible);
}

void TMainForm::BringToMinimumAndRatio()
{
    // Done before the window is placed, so that a centred window is centred
    // at the size it will have.
    resize(FourToThree(size().expandedTo(minimumSize())));
}

void TMainForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TMainForm::FormResize()
{
    const QSize frame = frameGeometry().size() - size();
    const QSize minimum = TrackingMinimum - frame;
    if (minimumSize() != minimum && frame.isValid())
        setMinimumSize(minimum);

    // A maximised or full-screen window has the size the desktop gives it.
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))) {
        const QSize outer = frameGeometry().size();
        const QSize want = FourToThree(outer);
        // Asked once per size: a window manager that refuses it is not
        // asked again and again.
        if (want != outer && want != lastAsked_) {
            lastAsked_ = want;
            const int before = resizes_;
            resize(want - frame);
            if (resizes_ != before)
                return; // the resize this caused came at once and has done the rest
        }
    }
    ++resizes_;

    const int w = width();
    const int h = height();
    toolbox->setGeometry(0, 0, w, ToolbarHeight);
    box->setGeometry(0, ToolbarHeight, w, std::max(1, h - ToolbarHeight));
    view.Resize(w, h, box->width(), box->height()); // metrics and stars
    gsol->setGeometry(0, h - gsol->height(), w, gsol->height());
    PlaceRightButtons();
    boxPaint();
    update();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

bool TMainForm::FormCloseQuery()
{
    return ShowMsg(MsgQuit) == MrYes;
}

void TMainForm::FormClose()
{
    Timer->stop();
    HelpHook->HelpCommand(HELP_QUIT, 0);
    // On a read-only medium neither the game nor any setting is written, so
    // the next start finds the old settings.
    if (CheckCdRom())
        return;
    SavingStep();
    WriteCloseSettings(ini,
        {{game.Language, SoundOn, MusicOn, game.AnimationOn, GrafMode}, game.CurrentLevel,
            game.GameName});
}

void TMainForm::ExitBtnClick()
{
    close(); // exactly as the window's own close box
}

// --- input -------------------------------------------------------------------------

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    // Every key event passes the window before any control; acting only
    // there sees each key once, and leaves it for further handling.
    if (event->type() == QEvent::KeyPress && watched == windowHandle()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        FormKeyDown(key->key(), key->modifiers());
    }
    return QWidget::eventFilter(watched, event);
}

void TMainForm::FormKeyDown(int qtKey, Qt::KeyboardModifiers modifiers)
{
    game.FormKeyDown(VirtualKey(qtKey), modifiers.testFlag(Qt::ShiftModifier));
}

void TMainForm::boxMouseDown(int x, int y)
{
    game.boxMouseDown(x, y, view.metrics().CellW, view.metrics().CellH);
}

// --- painting and the timer --------------------------------------------------------

void TMainForm::boxPaint()
{
    view.PaintBoard();
    game.ShowLevel();
    game.UpdateStatus();
}

void TMainForm::TimerTimer()
{
    view.Twinkle();
    if (game.PlayState == PlaySolved)
        view.Dance();
    midi.KeepAlive(MusicOn); // a piece that has ended starts again
    if (FirstTick) {
        // Cleared first: ticks that come while the question is open do nothing here.
        FirstTick = false;
        game.Language = ReadLanguageSetting(ini);
        if (game.Language == -1) {
            // A dialog opened inside this tick would stop the timer for as
            // long as it is open; the question waits for the tick to end.
            QTimer::singleShot(0, this, &TMainForm::AskLanguage);
        }
    }
}

void TMainForm::AskLanguage()
{
    if (TongueDlg)
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
    waves.PlayEffect(n, SoundOn);
}

void TMainForm::SaveCurrentGame()
{
    // Before a new game: on a read-only medium only the saving is skipped.
    if (!CheckCdRom())
        SavingStep();
}

void TMainForm::LevelMarked()
{
    // Written at once, the same way as on closing, so that a crash loses no
    // solved level; silent unless it fails.
    if (!game.GameName.empty() && !IsReadOnlyMedium(ProgramFolder))
        SaveGameFile();
}

// --- saved games ---------------------------------------------------------------------

bool TMainForm::CheckCdRom()
{
    if (!IsReadOnlyMedium(ProgramFolder))
        return false;
    ShowMsgText(MsgCdRom, QString::fromStdString(ReadOnlyMediumNotice(game.Language)));
    return true;
}

void TMainForm::SavingStep()
{
    if (game.GameName.empty()) {
        if (!SaveGameDlg || SaveGameDlg->ShowModal() != MrOk || game.GameName.empty())
            return;
    }
    SaveGameFile();
}

void TMainForm::SaveGameFile()
{
    // A name that cannot name a file in the games folder fails like a name the
    // file system refuses; the game goes on with the same name.
    if (::SaveGameFile(ProgramFolder, game.GameName, game.SolvedFlags) == SaveOutcome::Failed)
        QMessageBox::critical(isVisible() ? this : nullptr, QStringLiteral("Tumblewick"),
            QString::fromStdString(SaveFailedMessage(game.GameName, game.Language)));
}

void TMainForm::LoadGameFile()
{
    switch (::LoadGameFile(ProgramFolder, game.GameName, game.SolvedFlags)) {
    case LoadOutcome::Loaded:
        return;
    case LoadOutcome::Failed:
        QMessageBox::critical(isVisible() ? this : nullptr, QStringLiteral("Tumblewick"),
            QString::fromStdString(LoadFailedMessage(game.GameName, game.Language)));
        [[fallthrough]];
    case LoadOutcome::Missing:
        game.GameName.clear();
    }
}

void TMainForm::LoadBtnClick()
{
    if (CheckCdRom())
        return;
    SavingStep();
    if (!LoadGameDlg || LoadGameDlg->ShowModal() == MrCancel || game.GameName.empty())
        return;
    // The level, the board and the all-solved state stay as they are.
    LoadGameFile();
    game.UpdateStatus();
}

ModalResult TMainForm::ShowMsg(int id)
{
    if (!YesNoDlg)
        return MrNone;
    const ModalResult answer = YesNoDlg->ShowMsg(id);
    // What the dialog covered is drawn again at once, before an animation
    // that may follow keeps the window from painting.
    repaint();
    return answer;
}

ModalResult TMainForm::ShowMsgText(int id, const QString &text)
{
    if (!YesNoDlg)
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
