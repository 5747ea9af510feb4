// Program entry: the main window runs the start-up while it is created; the
// dialogs follow once it is shown; then the message loop runs until it closes.
#include "Main.h"
#include "HelpLayer.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The help layer settles its diagnostic log before any window exists.
    const HelpLayer helpLayer(
        QCoreApplication::arguments(), QCoreApplication::applicationDirPath());

    TMainForm MainForm(
        QCoreApplication::applicationDirPath().toStdString() + "/", SettingsStore::DefaultPath());
    if (!MainForm.Created())
        return 1; // the level set could not be loaded; the player has been told why
    MainForm.show();
    MainForm.CreateDialogs();
    return app.exec();
}
