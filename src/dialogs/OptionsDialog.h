// The options dialog: language, sound effects, music and hero animations,
// each with a button and a line that states the current choice. Every change
// takes effect at once; the settings are written when the game closes.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;
class PictureButton;
class RaisedLabel;
class TDlgResources;

// The main window's variables the dialog switches.
struct OptionVariables
{
    int *Language = nullptr;
    bool *SoundOn = nullptr;
    bool *MusicOn = nullptr;
    bool *AnimationOn = nullptr;
    // The game's own switches below the design's four; without them the
    // dialog shows only the four.
    bool *SmoothOn = nullptr;
    bool *CalmOn = nullptr;
    bool *ContrastOn = nullptr;
    // The "still solvable?" lamp; without it the dialog has no fifth switch.
    bool *SolvableMarkOn = nullptr;
};

// The music player as the dialog sees it. Without a player the music is not
// available: the button is disabled and the label says so.
struct MusicHooks
{
    std::function<bool()> available; // a piece was found and opened at start-up
    std::function<QString()> pieceName; // file name of the current piece
    std::function<bool(bool musicOn)> click; // switches the music; the new MusicOn
    // Whether a sound device could be opened; without this hook it is taken
    // to be there.
    std::function<bool()> deviceOpen;
    // Whether "*.mid" pieces lie beside the program, playable or not.
    std::function<bool()> piecesFound;
};

class TOptionDlg : public QDialog
{
    Q_OBJECT
public:
    TOptionDlg(OptionVariables variables, MusicHooks music, std::function<void()> refreshHints,
        QWidget *mainWindow);

    // Texts from the current state, then the dialog, modally.
    int ShowModal();
    void RefreshTexts();

    void TongueBtnClick();
    void SoundBtnClick();
    void MusicBtnClick();
    void AnimBtnClick();
    void MarkBtnClick();
    void exitClick() { accept(); }
    // After any of the game's own switches: the window shows the change.
    std::function<void()> onLookChanged;

    // Told when the "still solvable?" switch changes, so that the lamp
    // follows at once.
    std::function<void()> markSwitched;

    // The controls, for the main window's tests and look.
    RaisedLabel *ProgLabel;
    RaisedLabel *VersionLabel;
    PictureButton *OKBtn;
    QLabel *OptLabel;
    PictureButton *TongueBtn;
    QLabel *TongueLabel;
    PictureButton *SoundBtn;
    QLabel *SoundLabel;
    PictureButton *MusicBtn;
    QLabel *MusicLabel;
    PictureButton *AnimBtn;
    QLabel *AnimLabel;
    PictureButton *SmoothBtn;
    QLabel *SmoothLabel;
    PictureButton *CalmBtn;
    QLabel *CalmLabel;
    PictureButton *ContrastBtn;
    QLabel *ContrastLabel;
    PictureButton *MarkBtn;
    QLabel *MarkLabel;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool MusicAvailable() const;
    bool DeviceOpen() const;

    OptionVariables v_;
    MusicHooks music_;
    std::function<void()> refreshHints_;
    QWidget *mainWindow_;
};

// The language button's arithmetic: 0 becomes 1; 1 and -1 (none chosen yet)
// become 0.
constexpr int NextLanguage(int language)
{
    return (language + 1) % 2;
}
