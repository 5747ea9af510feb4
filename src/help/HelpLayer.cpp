#include "HelpLayer.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

HelpLayer *current = nullptr;

} // namespace

bool HelpLayer::DebugRequested(const QStringList &arguments, const QString &programFolder)
{
    if (QFileInfo::exists(QDir(programFolder).filePath(QStringLiteral("debug.debug"))))
        return true;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i].compare(QLatin1String("/debug"), Qt::CaseInsensitive) == 0
            || arguments[i].compare(QLatin1String("-debug"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString HelpLayer::LogFolder(const QString &programFolder)
{
    // Writability is tried, not read from the permissions: a folder on a
    // read-only medium or one owned by someone else looks the same here.
    QFile probe(QDir(programFolder).filePath(QStringLiteral("$_Temp_$.$$$")));
    if (!programFolder.isEmpty() && probe.open(QIODevice::WriteOnly)) {
        probe.close();
        probe.remove();
        return QDir(programFolder).absolutePath();
    }
    return QDir::tempPath();
}

HelpLayer::HelpLayer(const QStringList &arguments, const QString &programFolder)
    : debugMode_(DebugRequested(arguments, programFolder))
    , log_(QDir(LogFolder(programFolder)).filePath(QStringLiteral("HHDebug.txt")), debugMode_)
    , previous_(current)
{
    current = this;
    log_.Add(QStringLiteral("="));
    log_.Add(QStringLiteral("!Log file: ") + QDir::toNativeSeparators(log_.Path()));
    log_.Add(QStringLiteral("!Date: ") + QDate::currentDate().toString(Qt::ISODate));
    log_.Add(QStringLiteral("!Tumblewick ") + QStringLiteral(TUMBLEWICK_VERSION)
        + QStringLiteral(", help viewer: Qt text browser ") + QLatin1String(qVersion()));
    log_.Add(QStringLiteral("="));
}

HelpLayer::~HelpLayer()
{
    log_.Add(QStringLiteral("Help layer ended"));
    current = previous_;
}

HelpLayer *HelpLayer::Current()
{
    return current;
}
