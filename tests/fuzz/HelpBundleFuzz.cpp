// The help file: any bytes are either refused or registered, and then every
// page and folder the bundle holds can be listed and read. The resource
// system trusts the offsets it reads, and it lies outside the sanitizers'
// view; so each bundle the check accepts is also registered from a copy that
// ends right at an inaccessible page, where any read past its end crashes.
#include "FuzzSupport.h"
#include "HelpBundle.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QResource>

#include <cstdint>
#include <cstring>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// Lists the folder and reads every file in it, down to `depth` folders
// further; a crafted tree may loop, so the depth is bounded.
void ReadFolder(const QString &folder, int depth)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir()) {
            if (depth > 0)
                ReadFolder(entry.filePath(), depth - 1);
        } else {
            QFile file(entry.filePath());
            if (file.open(QIODevice::ReadOnly))
                FUZZ_CHECK(file.readAll().size() == entry.size());
        }
    }
}

void ReadWhatTheViewerReads(const HelpBundle &bundle)
{
    for (const char *name : {"rules.html", "regeln.html", "style.css", "tiles/slide.png"}) {
        QFile page(bundle.Url(QString::fromLatin1(name)).mid(3)); // "qrc:/x" -> ":/x"
        if (page.open(QIODevice::ReadOnly))
            page.readAll();
    }
}

void RegisterBeforeAGuardPage(const QByteArray &bundle)
{
    const std::size_t page = std::size_t(::sysconf(_SC_PAGESIZE));
    const std::size_t size = std::size_t(bundle.size());
    const std::size_t room = (size + page - 1) / page * page;
    void *map
        = ::mmap(nullptr, room + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    FUZZ_CHECK(map != MAP_FAILED);
    auto *base = static_cast<unsigned char *>(map);
    FUZZ_CHECK(::mprotect(base + room, page, PROT_NONE) == 0);
    unsigned char *start = base + room - size;
    std::memcpy(start, bundle.constData(), size);
    const QString root = QStringLiteral("/guarded");
    if (QResource::registerResource(start, root)) {
        ReadFolder(QLatin1Char(':') + root, 3);
        QResource::unregisterResource(start, root);
    }
    ::munmap(map, room + page);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    // As it comes: the checksum line decides first.
    {
        HelpBundle bundle;
        if (bundle.Install(input) == HelpBundle::Status::Loaded)
            ReadWhatTheViewerReads(bundle);
    }
    // As a bundle with a fitting checksum line, so that the tables are tried.
    HelpBundle bundle;
    const HelpBundle::Status status = bundle.Install(HelpBundle::Seal(input));
    FUZZ_CHECK((status == HelpBundle::Status::Loaded) == HelpBundle::LooksSound(input));
    if (status == HelpBundle::Status::Loaded) {
        ReadWhatTheViewerReads(bundle);
        RegisterBeforeAGuardPage(input);
    }
    return 0;
}
