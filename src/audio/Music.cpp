#include "Music.h"

#include "SdlMusic.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Matches "*.mid" as the game always has: the extension in any case.
bool IsMidiName(const std::string &name)
{
    static const std::string ext = ".mid";
    if (name.size() < ext.size()) {
        return false;
    }
    return std::equal(ext.begin(), ext.end(), name.end() - std::ptrdiff_t(ext.size()),
        [](char a, char b) { return a == Lower(b); });
}

bool LessIgnoringCase(const std::string &a, const std::string &b)
{
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
        [](char x, char y) { return Lower(x) == Lower(y); });
    if (ia == a.end() || ib == b.end()) {
        // One name is the other's beginning, or they differ in case only:
        // the plain order keeps the listing the same on every run.
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    }
    return (unsigned char)Lower(*ia) < (unsigned char)Lower(*ib);
}

} // namespace

bool MusicSearch::Start(const std::string &folder)
{
    entries_.clear();
    index_ = 0;
    std::error_code error;
    // Every kind of entry counts, folders and hidden files too; one that
    // cannot be played is passed over when it fails to open.
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::string name = it->path().filename().string();
        if (IsMidiName(name)) {
            entries_.push_back(std::move(name));
        }
    }
    std::sort(entries_.begin(), entries_.end(), LessIgnoringCase);
    return !entries_.empty();
}

bool MusicSearch::Next()
{
    if (index_ < entries_.size()) {
        ++index_;
    }
    return index_ < entries_.size();
}

std::string MusicSearch::Current() const
{
    return index_ < entries_.size() ? entries_[index_] : std::string();
}

MusicPlayer::MusicPlayer(std::string programFolder)
    : MusicPlayer(std::move(programFolder), std::make_unique<SdlMusicDevice>())
{ }

MusicPlayer::MusicPlayer(std::string programFolder, std::unique_ptr<MusicDevice> midi)
    : programFolder_(std::move(programFolder))
    , midi_(std::move(midi))
{ }

MusicPlayer::~MusicPlayer()
{
    Close();
}

void MusicPlayer::Discover()
{
    // A damaged file or one the device cannot play is passed over; music is
    // available only when a piece really opened.
    available_ = false;
    found_ = search_.Start(programFolder_);
    for (bool found = found_; found; found = search_.Next()) {
        if (Open()) {
            available_ = true;
            return;
        }
    }
}

void MusicPlayer::KeepAlive(bool musicOn)
{
    if (available_ && musicOn && Mode() != MusicMode::Playing) {
        Play();
    }
}

bool MusicPlayer::MusicBtnClick(bool musicOn)
{
    if (!available_) {
        // The button is disabled then.
        return musicOn;
    }
    if (musicOn) {
        Stop();
        midi_->Close();
        return false;
    }
    // The next entry, after the last one the first again. Entries that fail
    // to open are passed over; when the listing has run out twice in this
    // one click, none of them can be played and music stays off.
    int runOuts = 0;
    while (true) {
        bool found = search_.Next();
        if (!found) {
            if (++runOuts == 2) {
                return false;
            }
            found = search_.Start(programFolder_);
            if (!found) {
                return false;
            }
        }
        if (Open()) {
            Play();
            return true;
        }
    }
}

void MusicPlayer::Close()
{
    if (midi_->IsOpen()) {
        midi_->Close();
    }
}

bool MusicPlayer::Open()
{
    return midi_->Open(programFolder_ + search_.Current());
}

void MusicPlayer::Play()
{
    if (!midi_->IsOpen()) {
        return;
    }
    if (midi_->AtEnd()) {
        midi_->SeekToStart();
    }
    midi_->Play();
}

MusicMode MusicPlayer::Mode() const
{
    return midi_->Mode();
}

void MusicPlayer::Stop()
{
    if (midi_->IsOpen()) {
        midi_->Stop();
    }
}
