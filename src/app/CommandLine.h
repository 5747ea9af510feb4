// The program's command line, read before any window exists, so that
// --help and --version work without a display: the options Linux programs
// have, "-debug" or "/debug" (in any case) for the help layer's diagnostic
// log, and the options Qt itself takes (-platform, -style, ...), which are
// left to it.
#pragma once

#include <QString>
#include <QStringList>

struct CommandLine
{
    enum Action {
        Run, // start the game
        Print, // print `text` on standard output and end with status 0
        Refuse, // print `text` on standard error and end with status 2
    };
    Action action = Run;
    QString text;
    // The arguments for the help layer, each form of the debug switch
    // ("--debug" too) written as "-debug", a form it knows.
    QStringList helpLayerArguments;
};

// `arguments` as the program got them, the program itself first.
CommandLine ReadCommandLine(const QStringList &arguments);

// "Tumblewick 2.0" and the licence.
QString VersionText();

// The status a refused command line ends the program with.
constexpr int UsageError = 2;
