// What the help layer sets up once at program start, before any window
// exists: the debug decision and the diagnostic log. It lives until the
// program ends; the help hook finds it through Current().
#pragma once

#include "HelpDebugLog.h"

#include <QString>
#include <QStringList>

class HelpLayer
{
public:
    // `arguments` as QCoreApplication::arguments() gives them (the program
    // itself first); `programFolder` is the program's folder.
    HelpLayer(const QStringList &arguments, const QString &programFolder);
    ~HelpLayer();
    HelpLayer(const HelpLayer &) = delete;
    HelpLayer &operator=(const HelpLayer &) = delete;

    // The layer started last and not yet ended, or nullptr.
    static HelpLayer *Current();

    bool DebugMode() const { return debugMode_; }
    const TDLogFile &Log() const { return log_; }

    // Debug mode: a file "debug.debug" in the program folder, or an argument
    // "/debug" or "-debug" in any case.
    static bool DebugRequested(const QStringList &arguments, const QString &programFolder);

    // The program folder when a file can be created there, else the system's
    // temporary folder.
    static QString LogFolder(const QString &programFolder);

private:
    bool debugMode_ = false;
    TDLogFile log_;
    HelpLayer *previous_ = nullptr;
};
