// Shows the rules window beside a black stand-in for the game window, as the
// game will: show_rules [language] [help file]. Language 1 is German.
#include "HelpHook.h"
#include "HelpLayer.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    HelpLayer helpLayer(QCoreApplication::arguments(), QCoreApplication::applicationDirPath());
    const QStringList args = QCoreApplication::arguments();
    const int language = args.size() > 1 ? args[1].toInt() : 1;
    const QString file = args.size() > 2 ? args[2] : QStringLiteral(TUMBLEWICK_HELP_FILE);

    QLabel game(QStringLiteral("Tumblewick 2.0"));
    game.setWindowTitle(QStringLiteral("Tumblewick 2.0"));
    game.setAlignment(Qt::AlignCenter);
    game.setStyleSheet(QStringLiteral("background: black; color: white; font-size: 24px"));
    game.resize(480, 360);
    game.move(20, 20);
    game.show();

    THookHelpSystem hook(file);
    hook.ShowRules(language);
    return app.exec();
}
