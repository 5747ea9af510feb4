// Reading and replacing the small files the game keeps (saved games and
// settings) so that nothing a file or a folder holds can crash the game, hang
// it, or lose what was there before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// How a read or a write ended. `error` is the errno of the step that failed.
struct FileResult
{
    enum Outcome {
        Done,
        Missing, // no such file (a read only)
        NotRegular, // a folder, a device, a pipe: never read or replaced
        TooLarge, // larger than a real file of its kind can be
        Failed, // any other failure; `error` says which
    };
    Outcome outcome = Done;
    int error = 0;

    bool ok() const { return outcome == Done; }
};

// Reads at most `limit` bytes of a regular file into `bytes`; a file that
// holds more is TooLarge unless `truncate` is set, when only the first
// `limit` bytes are read. Links are followed (the player's own files may be
// links), but a pipe or a device is refused without blocking on it.
FileResult ReadSmallFile(
    const std::filesystem::path &path, std::size_t limit, bool truncate, std::string &bytes);

// Replaces `path` with `bytes` in one step: a new file with a short name is
// created exclusively in the same folder (never through a link someone
// planted there), written, flushed to the disk and closed, each step
// checked, and only then renamed over the old file, after which the folder
// itself is flushed. Any failure keeps the old file whole and removes the
// new one.
FileResult ReplaceFile(const std::filesystem::path &path, std::string_view bytes);

// Removes new files that a run of the game which ended during a save left
// behind in `folder`. Files of a run that is still going are left alone.
void RemoveStaleTemporaries(const std::filesystem::path &folder);

// Whether a file name is one of the new files ReplaceFile makes.
bool IsTemporaryName(std::string_view fileName);

// Tests make single steps fail, as a full disk or a failing device would.
enum class WriteStep { Create, Write, Sync, Close, Rename, SyncFolder };
using WriteFault = std::function<int(WriteStep step)>; // an errno, or 0 to go on
void SetWriteFault(WriteFault fault); // an empty function restores the real steps
