#include "HelpDebugLog.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The log may lie in the system's shared temporary folder, where anyone can
// put a link named HHDebug.txt that points at one of the player's files. So
// nothing here ever goes through a link: a link, or anything else that is
// not a plain file, is left alone, and so is what it points to.

void DeleteOldLog(const QByteArray &name)
{
    struct stat info
    { };
    if (::lstat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return;
    // Deleting a file depends on its folder, not on its own mode, so a
    // read-only log from an earlier run goes as well, and its mode need not
    // be changed first. Deleting a name never follows a link.
    ::unlink(name.constData());
}

} // namespace

TDLogFile::TDLogFile(QString path, bool enabled)
    : path_(std::move(path))
    , enabled_(enabled)
{
    DeleteOldLog(QFile::encodeName(path_));
}

QString TDLogFile::FormatLine(const QString &text, const QTime &time)
{
    if (text == QLatin1String("-") || text == QLatin1String("="))
        return QString(80, text.front());
    if (text.startsWith(u'!') || text.startsWith(u'-') || text.startsWith(u'='))
        return text.mid(1);
    return time.toString(QStringLiteral("hh:mm:ss.zzz")) + QStringLiteral("   ") + text;
}

void TDLogFile::Add(const QString &text) const
{
    if (!enabled_)
        return;
    // Opened for each line: the log holds no file open between lines, and a
    // log that cannot be written simply stays silent. A link in the log's
    // place is not followed (O_NOFOLLOW), a pipe does not block (O_NONBLOCK),
    // and a file that is not a plain one of our own is not written to.
    const QByteArray name = QFile::encodeName(path_);
    int fd;
    do {
        fd = ::open(name.constData(),
            O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return;
    struct stat info
    { };
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid()) {
        const QByteArray line = (FormatLine(text, QTime::currentTime()) + u'\n').toUtf8();
        qsizetype written = 0;
        while (written < line.size()) {
            const ssize_t n
                = ::write(fd, line.constData() + written, size_t(line.size() - written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            written += n;
        }
    }
    ::close(fd);
}
