// The help file: a binary Qt resource bundle (as `rcc -binary` writes it)
// holding the rules pages and their pictures, followed by a line with the
// SHA-256 checksum of the bundle. It is read into memory and registered under
// a resource root of its own, so that the viewer can show its pages as qrc:
// URLs, and the file on disk may change or vanish meanwhile.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class HelpBundle
{
public:
    enum class Status {
        Loaded,
        Missing, // no file of that name
        Damaged, // not a help file, or one whose bytes were changed
        Unreadable, // a file is there but the system refused to read it; see ErrorNumber()
    };

    // A real help file holds two pages and a few dozen small pictures; the
    // built one is about 60 KB. A larger file is no help file of ours.
    static constexpr qint64 MaxFileBytes = 8 * 1024 * 1024;

    HelpBundle();
    ~HelpBundle();
    HelpBundle(const HelpBundle &) = delete;
    HelpBundle &operator=(const HelpBundle &) = delete;

    // Reads and registers the file at `path`, replacing what was registered
    // before. A file that was loaded already is not read again. Only a
    // regular file (or a link to one) is read, and never more than
    // MaxFileBytes of it, so neither a device nor a named pipe can stall the
    // game or fill its memory.
    Status Load(const QString &path);

    // Registers the bytes of a whole help file, checksum line included.
    Status Install(QByteArray file);

    bool IsLoaded() const { return registered_; }

    // The system's error number of the last Unreadable load, else 0.
    int ErrorNumber() const { return errorNumber_; }

    // The qrc: URL of a file inside the bundle, e.g. Url("rules.html").
    QString Url(const QString &name) const;
    bool Contains(const QString &name) const;

    // Whether `bundle` (without the checksum line) is a resource bundle that
    // the resource system can read without ever leaving its bytes: every
    // table entry lies inside it, and no entry is compressed. The resource
    // system trusts the offsets it reads and allocates whatever a compressed
    // entry claims to unpack to, so the build stores every entry as it is,
    // and anything else is turned away before it is registered.
    static bool LooksSound(const QByteArray &bundle);

    // The file as the build writes it: the bundle and its checksum line.
    static QByteArray Seal(const QByteArray &bundle);
    // The bundle of a sealed file; nothing when the checksum line is missing
    // or does not match the bundle's bytes.
    static std::optional<QByteArray> Unseal(const QByteArray &file);

private:
    void Unregister();

    QString root_; // the resource root of this bundle, unique per instance
    QString path_; // the file the registered bytes came from
    QByteArray bytes_; // registered bytes; they must live as long as the registration
    bool registered_ = false;
    int errorNumber_ = 0;
};
