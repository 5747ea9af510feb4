// Shows the rules window beside a black stand-in for the game window, as the
// game will: show_rules [language [anchor [help file]]]. Language 1 is German;
// the anchor names a section to scroll to, e.g. "toolbar" ("-" for none).
#include "HelpHook.h"
#include "HelpLayer.h"
#include "HelpViewer.h"

#include <QApplication>
#include <QLabel>
#include <QTextBrowser>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    HelpLayer helpLayer(QCoreApplication::arguments(), QCoreApplication::applicationDirPath());
    const QStringList args = QCoreApplication::arguments();
    const int language = args.size() > 1 ? args[1].toInt() : 1;

    QLabel game(QStringLiteral("Tumblewick 2.0"));
    game.setWindowTitle(QStringLiteral("Tumblewick 2.0"));
    game.setAlignment(Qt::AlignCenter);
    game.setStyleSheet(QStringLiteral("background: black; color: white; font-size: 24px"));
    game.resize(480, 360);
    game.move(20, 20);
    game.show();

    THookHelpSystem hook(args.size() > 3 ? args[3] : QStringLiteral(TUMBLEWICK_HELP_FILE));
    hook.SetGameWindow(&game);
    hook.ShowRules(language);
    if (args.size() > 2 && args[2] != QLatin1String("-") && hook.Viewer())
        hook.Viewer()->Browser()->scrollToAnchor(args[2]);
    return app.exec();
}
