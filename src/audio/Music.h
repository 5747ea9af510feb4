// Background music: the MIDI files beside the program, one at a time,
// repeated endlessly while music is on.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// What the device reports as its state.
enum class MusicMode { NotReady, Stopped, Playing };

// A MIDI playing device in the manner of a media control interface: it holds
// one open piece at a time and knows its position in it.
class MusicDevice
{
public:
    virtual ~MusicDevice() = default;

    // Opens the piece in fileName, closing one still open first. False when
    // the file cannot be played (missing, damaged, no audio device); the
    // device then holds no piece.
    virtual bool Open(const std::string &fileName) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // True once what playing the open piece needs is loaded; a device may
    // leave that to the first Play.
    virtual bool Prepared() const { return IsOpen(); }

    virtual MusicMode Mode() const = 0;
    // The position equals the length: the piece has played to its end.
    virtual bool AtEnd() const = 0;
    virtual void SeekToStart() = 0;
    // Plays on from the current position and returns at once.
    virtual void Play() = 0;
    // Stops and keeps the position.
    virtual void Stop() = 0;
};

// The running listing of the "*.mid" entries of a folder. Entries come in
// name order with case ignored, whatever their kind; the listing is taken
// anew each time the search starts.
class MusicSearch
{
public:
    // Lists the folder and moves to its first entry; false when there is none.
    bool Start(const std::string &folder);
    // Moves to the next entry; false when the listing has run out.
    bool Next();
    // The current entry's name with its extension; empty when there is none.
    std::string Current() const;

private:
    std::vector<std::string> entries_;
    std::size_t index_ = 0;
};

class MusicPlayer
{
public:
    // programFolder ends with "/". The first form plays through SDL and FluidSynth.
    explicit MusicPlayer(std::string programFolder);
    MusicPlayer(std::string programFolder, std::unique_ptr<MusicDevice> midi);
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer &) = delete;
    MusicPlayer &operator=(const MusicPlayer &) = delete;

    // At start-up: opens the first "*.mid" entry of the program folder that
    // can be opened. Nothing plays yet.
    void Discover();
    // True once the open piece is loaded for playing: with the synthesiser,
    // from its first play on.
    bool Prepared() const { return midi_->Prepared(); }
    // True once a piece was found and opened at start-up.
    bool MusicAvailable() const { return available_; }
    // True when start-up found "*.mid" entries, whether one opened or not.
    bool PiecesFound() const { return found_; }

    // On every timer tick: starts the piece again when it has ended.
    void KeepAlive(bool musicOn);

    // The options dialog's music button; returns the new MusicOn. Switching
    // off stops and closes the piece; switching on opens and plays the next
    // entry, after the last one the first again.
    bool MusicBtnClick(bool musicOn);

    // The file name of the current piece, e.g. "song.mid".
    std::string PieceName() const { return search_.Current(); }

    // At shut-down: closes the device if it holds a piece.
    void Close();

private:
    bool Open();
    void Play();
    MusicMode Mode() const;
    void Stop();

    std::string programFolder_;
    std::unique_ptr<MusicDevice> midi_;
    MusicSearch search_;
    bool available_ = false;
    bool found_ = false;
};
