#include "DLogFile.h"

#include <QFile>

TDLogFile::TDLogFile(QString path, bool enabled)
    : path_(std::move(path))
    , enabled_(enabled)
{
    QFile old(path_);
    if (old.exists()) {
        // A read-only log from an earlier run must not survive either.
        old.setPermissions(old.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
        old.remove();
    }
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
    // log that cannot be written simply stays silent.
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    file.write((FormatLine(text, QTime::currentTime()) + u'\n').toUtf8());
}
