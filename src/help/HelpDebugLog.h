// The help layer's diagnostic log, "HHDebug.txt". Nothing else in the game logs.
#pragma once

#include <QString>
#include <QTime>

class TDLogFile
{
public:
    TDLogFile() = default; // a log that writes nothing

    // An old log at `path` is deleted, also when `enabled` is false, so a log
    // never outlives the run that wrote it. Only an enabled log is written.
    // A link or anything else that is not a plain file in the log's place is
    // neither deleted nor written through.
    TDLogFile(QString path, bool enabled);

    // Appends one line and flushes it at once, so a crash loses nothing.
    void Add(const QString &text) const;

    // A line is the time, three blanks and the text. A text beginning with
    // "!", "-" or "=" is written without the time and without that first
    // character; a text of just "-" or "=" becomes a rule of 80 of them.
    static QString FormatLine(const QString &text, const QTime &time);

    bool Enabled() const { return enabled_; }
    const QString &Path() const { return path_; }

private:
    QString path_;
    bool enabled_ = false;
};
