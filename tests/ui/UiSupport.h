// Helpers for the tests of the window, the view and the dialogs: a Qt
// application for the whole test program, a clock that records the pauses
// instead of sleeping, level sets in a fresh program folder, and answers to
// the next modal dialog.
#pragma once

#include "Board.h"
#include "LevelSet.h"
#include "Pause.h"

#include <QImage>
#include <QString>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

class QTimer;
class QWindow;

// Records every pause; `onPause` may look at the screen at that moment.
class CountingClock : public AnimationClock
{
public:
    std::vector<int> pauses;
    std::function<void()> onPause;
    void Pause(int ms) override
    {
        pauses.push_back(ms);
        if (onPause)
            onPause();
    }
    int Count(int ms) const;
    int Total() const;
};

// Eight rows of eight tokens, row 0 first as on screen: "." empty, else the
// code in decimal.
Board Rows(std::initializer_list<const char *> rows);
LevelRecord Level(const Board &board, int col, int row);

// A program folder with a level set and a settings file, removed afterwards.
class ProgramFolder
{
public:
    // Each of `savedGames` becomes a saved game with no level solved.
    explicit ProgramFolder(const std::vector<LevelRecord> &levels,
        const std::string &settings = "[common]\ntongue=0\n",
        const std::vector<std::string> &savedGames = {});
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder &) = delete;
    ProgramFolder &operator=(const ProgramFolder &) = delete;

    std::string Folder() const { return path_.string() + "/"; }
    std::filesystem::path Settings() const { return path_ / "V2.conf"; }
    std::string ReadSettings() const;

private:
    std::filesystem::path path_;
};

// Keys for a window, as a player's fingers give them: the modifiers first,
// then the key. Each event carries a time of its own, ten milliseconds after
// the one before, however long the game took over the last one; the test
// clock decides, not the machine's pace, so a tap is never taken for a key
// held down and repeated.
void TapKey(QWindow *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void PressKey(QWindow *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void ReleaseKey(QWindow *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Answers the next modal dialog, as soon as it is open, with a key or with
// a function of the dialog. Stops looking when it goes out of scope.
class DialogAnswer
{
public:
    explicit DialogAnswer(int key);
    explicit DialogAnswer(std::function<void(QWidget *dialog)> answer);
    ~DialogAnswer();
    bool Answered() const { return answered_; }
    QWidget *Dialog() const { return dialog_; }

private:
    QTimer *timer_;
    bool answered_ = false;
    QWidget *dialog_ = nullptr;
};

// Answers every modal dialog that opens while it lives, each once, by
// passing it to `answer`; counts what it answered.
class DialogAnswers
{
public:
    explicit DialogAnswers(std::function<void(QWidget *dialog)> answer);
    ~DialogAnswers();
    int Count() const { return count_; }

private:
    QTimer *timer_;
    QWidget *answered_ = nullptr; // waited for until it is hidden again
    int count_ = 0;
};

// Red pixels of the hero ball: the bounding box in the image, or an empty
// rectangle when there is no ball.
QRect BallBox(const QImage &image);
