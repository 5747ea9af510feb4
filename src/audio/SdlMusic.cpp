#include "SdlMusic.h"

#include "MidiFile.h"

#include "RegularFile.h"
#include "SoundFontCut.h"
#include "SoundLibraries.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// FluidSynth reads a cut soundfont through these, as it would read a file.
// The name it is given is the cut's address behind a mark of ours; no
// other name opens here.
constexpr std::string_view CutMark = "tumblewick-cut:";

std::string CutName(const SoundFontCut &cut)
{
    char address[32] = {};
    std::snprintf(address, sizeof address, "%p", static_cast<const void *>(&cut));
    return std::string(CutMark) + address;
}

struct CutFile
{
    explicit CutFile(const SoundFontCut &c)
        : cut(c)
        , file(c.Path().c_str())
    { }

    const SoundFontCut &cut;
    const RegularFile file; // the soundfont itself, for the samples
    std::int64_t at = 0;
};

void *OpenCut(const char *name)
{
    void *address = nullptr;
    if (std::strncmp(name, CutMark.data(), CutMark.size()) != 0
        || std::sscanf(name + CutMark.size(), "%p", &address) != 1 || !address) {
        return nullptr;
    }
    auto file = std::make_unique<CutFile>(*static_cast<const SoundFontCut *>(address));
    return file->file.IsOpen() ? file.release() : nullptr;
}

int ReadCut(void *to, fluid_long_long_t count, void *handle)
{
    auto &f = *static_cast<CutFile *>(handle);
    if (!f.cut.Read(f.file, f.at, static_cast<std::uint8_t *>(to), count)) {
        return FLUID_FAILED;
    }
    f.at += count;
    return FLUID_OK;
}

int SeekCut(void *handle, fluid_long_long_t offset, int origin)
{
    auto &f = *static_cast<CutFile *>(handle);
    const std::int64_t from = origin == SEEK_SET ? 0
        : origin == SEEK_CUR                     ? f.at
        : origin == SEEK_END                     ? f.cut.Size()
                                                 : -1;
    if (from < 0 || offset < -from || offset > f.cut.Size() - from) {
        return FLUID_FAILED;
    }
    f.at = from + offset;
    return FLUID_OK;
}

fluid_long_long_t TellCut(void *handle)
{
    return static_cast<CutFile *>(handle)->at;
}

int CloseCut(void *handle)
{
    delete static_cast<CutFile *>(handle);
    return FLUID_OK;
}

// The programs a piece can select: those it names, and 0, which every
// channel starts on and the synthesiser falls back to.
ProgramSet ProgramsOf(const MidiPiece &piece)
{
    ProgramSet programs;
    programs.set(0);
    for (const MidiProgram &p : piece.programs) {
        if (p.program >= 0 && std::size_t(p.program) < programs.size()) {
            programs.set(std::size_t(p.program));
        }
    }
    return programs;
}

} // namespace

// The synthesiser with its soundfont, and the player of the open piece.
struct SdlMusicDevice::Synth
{
    fluid_settings_t *settings = nullptr;
    fluid_synth_t *synth = nullptr;
    fluid_player_t *player = nullptr;
    // The soundfont as loaded: cut to the piece's programs when it could be.
    std::optional<SoundFontCut> cut;

    Synth() = default;
    Synth(const Synth &) = delete;
    Synth &operator=(const Synth &) = delete;
    ~Synth()
    {
        DropPlayer();
        if (synth) {
            LoadedSynth().delete_fluid_synth(synth);
        }
        if (settings) {
            LoadedSynth().delete_fluid_settings(settings);
        }
    }

    void DropPlayer()
    {
        if (player) {
            LoadedSynth().fluid_player_stop(player);
            LoadedSynth().delete_fluid_player(player);
            player = nullptr;
        }
    }

    int PlayerStatus() const
    {
        return player ? LoadedSynth().fluid_player_get_status(player) : FLUID_PLAYER_DONE;
    }
};

bool LoadSynthesiserLibrary()
{
    return Synthesiser() != nullptr;
}

SdlMusicDevice::SdlMusicDevice() = default;

SdlMusicDevice::~SdlMusicDevice()
{
    Close();
}

bool SdlMusicDevice::Open(const std::string &fileName)
{
    Close();
    if (!device_) {
        device_.emplace();
    }
    if (!device_->Available()) {
        return false;
    }
    // The synthesiser accepts a damaged file and then plays nothing; our own
    // reader turns such a file away first. Without a soundfont nothing could
    // sound; its header is all that is read here.
    auto bytes = ReadMidiBytes(fileName);
    const auto piece = bytes ? ReadMidiFile(*bytes) : std::nullopt;
    if (!piece || !AudioDevice::IsSoundFont(AudioDevice::SoundFont())) {
        return false;
    }
    programs_ = ProgramsOf(*piece);
    fileName_ = fileName;
    bytes_ = std::move(*bytes);
    return true;
}

void SdlMusicDevice::Prepare()
{
    if (fileName_.empty() || synth_ || loadFailed_) {
        return;
    }
    // A piece the synthesiser cannot take stays silent; it is not tried
    // again on every tick.
    loadFailed_ = true;
    const AudioDevice::Format format = AudioDevice::OutputFormat();
    if (format.channels < 1 || !Synthesiser()) {
        return;
    }
    auto synth = std::make_unique<Synth>();
    synth->settings = LoadedSynth().new_fluid_settings();
    if (!synth->settings) {
        return;
    }
    LoadedSynth().fluid_settings_setnum(synth->settings, "synth.sample-rate", double(format.rate));
    LoadedSynth().fluid_settings_setint(synth->settings, "synth.polyphony", GameSynth.polyphony);
    LoadedSynth().fluid_settings_setint(
        synth->settings, "synth.dynamic-sample-loading", GameSynth.loadSamplesOnDemand ? 1 : 0);
    synth->synth = LoadedSynth().new_fluid_synth(synth->settings);
    if (!synth->synth || !LoadSoundFont(*synth)) {
        return;
    }
    LoadedSynth().fluid_synth_set_gain(synth->synth, GameSynth.gain);
#ifdef __GLIBC__
    // Reading the soundfont leaves megabytes freed in the heap; they go back
    // to the system.
    malloc_trim(0);
#endif
    outputChannels_ = format.channels;
    // A mono output gets the synthesiser's two channels mixed, a piece at a
    // time; any other takes them on its first two channels.
    stereo_.assign(format.channels == 1 ? 2 * 2048 : 0, 0);
    synth_ = std::move(synth);
    loadFailed_ = false;
}

bool LoadCutSoundFont(fluid_synth_t *synth, fluid_settings_t *settings, const SoundFontCut &cut)
{
    const SynthLibrary &fluid = LoadedSynth();
    fluid_sfloader_t *loader = fluid.new_fluid_defsfloader(settings);
    if (!loader) {
        return false;
    }
    if (fluid.fluid_sfloader_set_callbacks(loader, OpenCut, ReadCut, SeekCut, TellCut, CloseCut)
        != FLUID_OK) {
        fluid.delete_fluid_sfloader(loader);
        return false;
    }
    // The synthesiser owns the loader from here on and asks it first; it
    // opens no other name.
    fluid.fluid_synth_add_sfloader(synth, loader);
    return fluid.fluid_synth_sfload(synth, CutName(cut).c_str(), 1) != FLUID_FAILED;
}

bool SdlMusicDevice::LoadSoundFont(Synth &synth) const
{
    const char *font = AudioDevice::SoundFont();
    // The synthesiser would hold every instrument of the font, megabytes of
    // them, for the few the piece plays.
    synth.cut = SoundFontCut::Make(font, programs_);
    if (synth.cut && LoadCutSoundFont(synth.synth, synth.settings, *synth.cut)) {
        return true;
    }
    // The whole font, read by the synthesiser itself.
    return LoadedSynth().fluid_synth_sfload(synth.synth, font, 1) != FLUID_FAILED;
}

bool SdlMusicDevice::Start()
{
    synth_->DropPlayer();
    // Whatever still sounds from before ends here, and every channel starts
    // as a fresh one.
    LoadedSynth().fluid_synth_system_reset(synth_->synth);
    // The player takes a copy of the bytes checked on opening.
    synth_->player = LoadedSynth().new_fluid_player(synth_->synth);
    if (!synth_->player
        || LoadedSynth().fluid_player_add_mem(synth_->player, bytes_.data(), bytes_.size())
            != FLUID_OK) {
        synth_->DropPlayer();
        return false;
    }
    // The player repeats the piece by itself, without a pause between the
    // end and the beginning. A piece that stops all the same is started
    // again by the caller.
    LoadedSynth().fluid_player_set_loop(synth_->player, -1);
    if (LoadedSynth().fluid_player_play(synth_->player) != FLUID_OK) {
        synth_->DropPlayer();
        return false;
    }
    return true;
}

void SdlMusicDevice::Hook(bool on)
{
    if (on == hooked_) {
        return;
    }
    // Once this returns, Render is not running and will not run again until
    // hooked anew.
    device_->SetMusic(on ? &SdlMusicDevice::Render : nullptr, this);
    hooked_ = on;
}

void SdlMusicDevice::Render(void *self, std::int16_t *out, int frames)
{
    auto &device = *static_cast<SdlMusicDevice *>(self);
    fluid_synth_t *synth = device.synth_->synth;
    const int channels = device.outputChannels_;
    if (channels >= 2) {
        LoadedSynth().fluid_synth_write_s16(synth, frames, out, 0, channels, out, 1, channels);
        return;
    }
    std::int16_t *stereo = device.stereo_.data();
    const int piece = int(device.stereo_.size() / 2);
    for (int done = 0; done < frames;) {
        const int n = std::min(piece, frames - done);
        LoadedSynth().fluid_synth_write_s16(synth, n, stereo, 0, 2, stereo, 1, 2);
        for (int i = 0; i < n; ++i) {
            out[done + i] = std::int16_t((int(stereo[2 * i]) + int(stereo[2 * i + 1])) / 2);
        }
        done += n;
    }
}

void SdlMusicDevice::Close()
{
    Hook(false);
    synth_.reset();
    fileName_.clear();
    bytes_.clear();
    loadFailed_ = false;
    started_ = false;
    stopped_ = false;
}

MusicMode SdlMusicDevice::Mode() const
{
    if (fileName_.empty()) {
        return MusicMode::NotReady;
    }
    return (hooked_ && synth_ && synth_->PlayerStatus() == FLUID_PLAYER_PLAYING)
        ? MusicMode::Playing
        : MusicMode::Stopped;
}

bool SdlMusicDevice::AtEnd() const
{
    return synth_ && started_ && !stopped_ && synth_->PlayerStatus() == FLUID_PLAYER_DONE;
}

void SdlMusicDevice::SeekToStart()
{
    // The next play begins the piece anew; a stopped piece stays silent
    // until then.
    started_ = false;
    stopped_ = false;
}

void SdlMusicDevice::Play()
{
    Prepare();
    if (!synth_) {
        return;
    }
    if (stopped_) {
        Hook(true);
        stopped_ = false;
        return;
    }
    if (started_ && hooked_ && synth_->PlayerStatus() == FLUID_PLAYER_PLAYING) {
        return;
    }
    Hook(false);
    started_ = Start();
    Hook(started_);
}

void SdlMusicDevice::Stop()
{
    if (synth_ && started_ && !stopped_ && hooked_) {
        // The synthesiser keeps its place, mid-note, until it is pulled again.
        Hook(false);
        stopped_ = true;
    }
}
