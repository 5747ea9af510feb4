#include "CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {

constexpr const char *Program = "tumblewick";

// The options QGuiApplication, QApplication and the X11 platform read from
// the command line themselves; accepted here and left to them.
const char *const QtOptionsWithValue[] = {"platform", "platformpluginpath", "platformtheme",
    "plugin", "qwindowgeometry", "qwindowicon", "qwindowtitle", "geometry", "icon", "title",
    "session", "display", "name", "style", "stylesheet", "qmljsdebugger"};
const char *const QtSwitches[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

bool IsDebugArgument(const QString &argument)
{
    for (const char *form : {"-debug", "/debug", "--debug"}) {
        if (argument.compare(QLatin1String(form), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString TryHelp()
{
    return QStringLiteral("Try '%1 --help' for more information.\n").arg(QLatin1String(Program));
}

} // namespace

QString VersionText()
{
    return QStringLiteral("Tumblewick " TUMBLEWICK_VERSION "\n"
                          "Licence GPL-3.0-or-later: GNU General Public License, version 3 or "
                          "later <https://www.gnu.org/licenses/gpl-3.0.html>.\n"
                          "This is free software: you are free to change and redistribute it.\n"
                          "There is NO WARRANTY, to the extent permitted by law.\n");
}

CommandLine ReadCommandLine(const QStringList &arguments)
{
    CommandLine result;
    QStringList normalised;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const bool debug = i > 0 && IsDebugArgument(argument);
        normalised << (debug ? QStringLiteral("--debug") : argument);
        result.helpLayerArguments << (debug ? QStringLiteral("-debug") : argument);
    }
    if (normalised.isEmpty())
        normalised << QLatin1String(Program);

    QCommandLineParser parser;
    // "-debug" is one option, as the game has always read it, not six letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("A puzzle game: hop across a board of tiles until only one is left."));
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and end."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
        QStringLiteral("Show the version and the licence and end."));
    const QCommandLineOption debug(QStringLiteral("debug"),
        QStringLiteral("Write the help window's diagnostic log HHDebug.txt; -debug and /debug "
                       "do the same."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(debug);
    for (const char *name : QtOptionsWithValue) {
        QCommandLineOption option(QLatin1String(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : QtSwitches) {
        QCommandLineOption option {QString::fromLatin1(name)};
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    if (!parser.parse(normalised)) {
        result.action = CommandLine::Refuse;
        result.text = QStringLiteral("%1: %2\n").arg(QLatin1String(Program), parser.errorText())
            + TryHelp();
        return result;
    }
    if (parser.isSet(help)) {
        result.action = CommandLine::Print;
        QString text = parser.helpText();
        // The parser names the program by its path when it knows one; the
        // help names it as the player types it.
        const qsizetype end = text.indexOf(QLatin1String(" [options]"));
        if (text.startsWith(QLatin1String("Usage: ")) && end > 0)
            text.replace(7, end - 7, QLatin1String(Program));
        result.text = text;
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::Print;
        result.text = VersionText();
        return result;
    }
    const QStringList extra = parser.positionalArguments();
    if (!extra.isEmpty()) {
        result.action = CommandLine::Refuse;
        result.text = QStringLiteral("%1: unexpected argument '%2'\n")
                          .arg(QLatin1String(Program), extra.front())
            + TryHelp();
    }
    return result;
}
