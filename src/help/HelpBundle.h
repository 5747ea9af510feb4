// The help file: a binary Qt resource bundle (as `rcc -binary` writes it)
// holding the rules pages and their pictures. It is read into memory and
// registered under a resource root of its own, so that the viewer can show
// its pages as qrc: URLs, and the file on disk may change or vanish meanwhile.
#pragma once

#include <QByteArray>
#include <QString>

class HelpBundle
{
public:
    enum class Status { Loaded, Missing, Damaged };

    HelpBundle();
    ~HelpBundle();
    HelpBundle(const HelpBundle &) = delete;
    HelpBundle &operator=(const HelpBundle &) = delete;

    // Reads and registers the file at `path`, replacing what was registered
    // before. A file that was loaded already is not read again.
    Status Load(const QString &path);

    bool IsLoaded() const { return registered_; }

    // The qrc: URL of a file inside the bundle, e.g. Url("rules.html").
    QString Url(const QString &name) const;
    bool Contains(const QString &name) const;

    // Whether `bytes` hold a resource bundle whose every table entry lies
    // inside it. The resource system trusts the offsets it reads, so a
    // truncated or garbled file must be turned away before it is registered.
    static bool LooksSound(const QByteArray &bytes);

private:
    void Unregister();

    QString root_; // the resource root of this bundle, unique per instance
    QString path_; // the file the registered bytes came from
    QByteArray bytes_; // registered bytes; they must live as long as the registration
    bool registered_ = false;
};
