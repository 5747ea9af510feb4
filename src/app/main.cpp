// Program entry. For now the window only says what the game has loaded; the
// board and its window follow.
#include "GameSettings.h"
#include "LevelSet.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const std::string programFolder = QCoreApplication::applicationDirPath().toStdString() + "/";
    const SettingsStore ini(SettingsStore::DefaultPath());
    const StartSettings settings = ReadStartSettings(ini);
    const LevelSetResult levels = LoadLevelSet(programFolder);

    QString text = QStringLiteral("Tumblewick 2.0\n\n");
    if (levels.ok())
        text += QStringLiteral("%1 levels loaded. The board comes next.").arg(levels.table.Count());
    else
        text += QString::fromStdString(LevelSetMessage(levels, settings.Language));
    QLabel window(text);
    window.setWindowTitle(QStringLiteral("Tumblewick 2.0"));
    window.setAlignment(Qt::AlignCenter);
    window.resize(673, 362);
    window.show();
    return app.exec();
}
