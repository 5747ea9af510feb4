// Program entry: the command line is read first; then the main window runs
// the start-up while it is created; the message loop runs until it closes,
// and the dialogs are made when the first of them is needed.
#include "CommandLine.h"
#include "GameFolders.h"
#include "HelpLayer.h"
#include "MainWindow.h"

#include <QApplication>

#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <thread>

namespace {

QStringList RawArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char *argv[])
{
    const CommandLine command = ReadCommandLine(RawArguments(argc, argv));
    if (command.action != CommandLine::Run) {
        const bool refused = command.action == CommandLine::Refuse;
        std::fputs(command.text.toLocal8Bit().constData(), refused ? stderr : stdout);
        return refused ? UsageError : 0;
    }

    // Pixels go to an X display in plain requests, not through shared
    // memory. With shared memory, painting pixels that were sent a moment
    // before first waits for the display to answer, and the twinkling stars
    // do that on almost every tick; the game paints small pieces, for which
    // plain requests cost less. Set before any other thread runs: the
    // environment is not safe to change while another thread reads it.
    qputenv("QT_XCB_NO_MITSHM", "1");

    // The font library reads its configuration and font caches when the
    // first text is laid out, some milliseconds on the way to the first
    // picture; it does so here while the window connects to the display.
    const std::jthread fonts([] { FcInit(); });
    QApplication app(argc, argv);
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TUMBLEWICK_APP_ID));
    // The help layer settles its diagnostic log before any window exists.
    const HelpLayer helpLayer(command.helpLayerArguments, QCoreApplication::applicationDirPath());

    TMainForm MainForm(QCoreApplication::applicationDirPath().toStdString() + "/",
        SettingsStore::DefaultPath(), PlayersGamesFolder());
    if (!MainForm.Created())
        return 1; // the level set could not be loaded; the player has been told why
    MainForm.show();
    // The icon waits until the board is on the screen; the dialogs are made
    // when the first is needed.
    MainForm.SetIconAfterFirstPaint();
    return app.exec();
}
