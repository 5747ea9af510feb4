#include "HelpLayer.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

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

namespace {

// Creates the probe file anew, never through a link and never over a file
// that is already there; true when that worked.
bool CreateProbe(const QByteArray &name)
{
    int fd;
    do {
        fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(name.constData());
    return true;
}

} // namespace

QString HelpLayer::LogFolder(const QString &programFolder)
{
    // Writability is tried, not read from the permissions: a folder on a
    // read-only medium or one owned by someone else looks the same here.
    if (!programFolder.isEmpty()) {
        const QByteArray probe
            = QFile::encodeName(QDir(programFolder).filePath(QStringLiteral("$_Temp_$.$$$")));
        // A probe left by a run that ended before it could delete it is
        // deleted (a link only as a name; deleting never follows it).
        bool writable = CreateProbe(probe);
        if (!writable && errno == EEXIST && ::unlink(probe.constData()) == 0)
            writable = CreateProbe(probe);
        if (writable)
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
