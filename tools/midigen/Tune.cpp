#include "Tune.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <sstream>

namespace {

constexpr int Division = 480; // ticks per quarter note

// ---- the tune as read ----------------------------------------------------

struct Voice
{
    bool present = false;
    int channel = 0;
    int program = 0;
    int volume = 100;
    int pan = 64;
    int reverb = 48;
    int velocity = 60;
};

struct Note
{
    enum Kind { Pitch, Rest, Hold } kind = Rest;
    int key = 0;
    std::int64_t ticks = 0;
};

struct Chord
{
    int root = 0; // pitch class
    int bass = 0; // pitch class of the lowest note
    std::vector<int> tones; // semitones above the root, rising
};

struct Section
{
    std::vector<std::vector<Note>> melody;
    std::vector<std::vector<Chord>> chords;
    int line = 0;
};

struct Play
{
    std::string section;
    int program = -1;
    int octave = 0;
    int velocity = 72;
    bool rit = false;
    int line = 0;
};

struct Tune
{
    std::string title;
    std::string source;
    double tempo = 0;
    int meter = 0;
    std::map<std::string, Voice> voices;
    std::vector<std::string> pattern; // one step an eighth note
    std::map<std::string, Section> sections;
    std::vector<Play> plays;
};

struct Fault
{
    std::string message;
};

int PitchClass(char letter)
{
    static const int classes[] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
    return classes[letter - 'a'];
}

std::optional<int> Number(const std::string &text)
{
    char *end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0') {
        return std::nullopt;
    }
    return int(value);
}

// "e4:.5", "c#5:2", "bb3:1.5", "r:1", "_:2"
Note ParseNote(const std::string &token)
{
    const auto colon = token.find(':');
    if (colon == std::string::npos) {
        throw Fault {"a note needs its length: " + token};
    }
    const std::string name = token.substr(0, colon);
    const std::string length = token.substr(colon + 1);
    char *end = nullptr;
    const double beats = std::strtod(length.c_str(), &end);
    const double ticks = beats * Division;
    if (length.empty() || *end != '\0' || beats <= 0
        || std::abs(ticks - std::round(ticks)) > 1e-6) {
        throw Fault {"bad note length: " + token};
    }
    Note note;
    note.ticks = std::llround(ticks);
    if (name == "r") {
        note.kind = Note::Rest;
        return note;
    }
    if (name == "_") {
        note.kind = Note::Hold;
        return note;
    }
    std::size_t i = 0;
    if (name.empty() || name[0] < 'a' || name[0] > 'g') {
        throw Fault {"bad note name: " + token};
    }
    int pitchClass = PitchClass(name[i++]);
    if (i < name.size() && name[i] == '#') {
        ++pitchClass, ++i;
    } else if (i < name.size() && name[i] == 'b') {
        --pitchClass, ++i;
    }
    const auto octave = Number(name.substr(i));
    if (!octave || *octave < 0 || *octave > 8) {
        throw Fault {"bad octave: " + token};
    }
    note.kind = Note::Pitch;
    note.key = 12 * (*octave + 1) + pitchClass;
    return note;
}

// "Am", "G7", "F#m7", "Bbmaj7", "C/E", "Dsus4"
Chord ParseChord(const std::string &token)
{
    static const std::map<std::string, std::vector<int>> qualities = {
        {"", {0, 4, 7}},
        {"m", {0, 3, 7}},
        {"7", {0, 4, 7, 10}},
        {"m7", {0, 3, 7, 10}},
        {"maj7", {0, 4, 7, 11}},
        {"6", {0, 4, 7, 9}},
        {"m6", {0, 3, 7, 9}},
        {"sus2", {0, 2, 7}},
        {"sus4", {0, 5, 7}},
        {"dim", {0, 3, 6}},
        {"add9", {0, 4, 7, 14}},
    };
    auto letterClass = [&](const std::string &text, std::size_t &i) {
        if (i >= text.size() || text[i] < 'A' || text[i] > 'G') {
            throw Fault {"bad chord: " + token};
        }
        int pc = PitchClass(char(text[i++] - 'A' + 'a'));
        if (i < text.size() && text[i] == '#') {
            ++pc, ++i;
        } else if (i < text.size() && text[i] == 'b') {
            --pc, ++i;
        }
        return (pc + 12) % 12;
    };
    std::size_t i = 0;
    Chord chord;
    chord.root = letterClass(token, i);
    const auto slash = token.find('/', i);
    const std::string quality = token.substr(i, slash == std::string::npos ? slash : slash - i);
    const auto found = qualities.find(quality);
    if (found == qualities.end()) {
        throw Fault {"unknown chord: " + token};
    }
    chord.tones = found->second;
    chord.bass = chord.root;
    if (slash != std::string::npos) {
        std::size_t j = slash + 1;
        chord.bass = letterClass(token, j);
        if (j != token.size()) {
            throw Fault {"bad chord: " + token};
        }
    }
    return chord;
}

// Splits "| a b | c |" into bars; bars may run on over several lines.
template <typename Item, typename ParseItem>
void AddBars(
    std::vector<std::vector<Item>> &bars, const std::vector<std::string> &words, ParseItem parse)
{
    std::vector<Item> bar;
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i] == "|") {
            if (!bar.empty()) {
                bars.push_back(std::move(bar));
                bar.clear();
            }
        } else {
            bar.push_back(parse(words[i]));
        }
    }
    if (!bar.empty()) {
        bars.push_back(std::move(bar));
    }
}

int Option(const std::vector<std::string> &words, std::size_t &i, int low, int high)
{
    if (i + 1 >= words.size()) {
        throw Fault {words[i] + " needs a value"};
    }
    const auto value = Number(words[++i]);
    if (!value || *value < low || *value > high) {
        throw Fault {"bad value for " + words[i - 1] + ": " + words[i]};
    }
    return *value;
}

std::string Rest(const std::string &line, const std::string &keyword)
{
    std::string text = line.substr(line.find(keyword) + keyword.size());
    const auto first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first);
}

Tune Parse(const std::string &text, int &lineNumber)
{
    Tune tune;
    for (const char *name : {"melody", "arpeggio", "bass", "pad"}) {
        tune.voices[name] = Voice();
    }
    std::istringstream lines(text);
    std::string line;
    Section *section = nullptr;
    lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        // A comment begins with "#" standing apart; "#" inside a word sharpens.
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
                line.resize(i);
                break;
            }
        }
        std::istringstream in(line);
        std::vector<std::string> words;
        for (std::string word; in >> word;) {
            words.push_back(word);
        }
        if (words.empty()) {
            continue;
        }
        const std::string &key = words[0];
        if (key == "title") {
            tune.title = Rest(line, key);
        } else if (key == "source") {
            tune.source = Rest(line, key);
        } else if (key == "tempo" && words.size() == 2) {
            tune.tempo = std::strtod(words[1].c_str(), nullptr);
            if (tune.tempo < 20 || tune.tempo > 300) {
                throw Fault {"tempo out of range"};
            }
        } else if (key == "meter" && words.size() == 2) {
            const auto beats = Number(words[1]);
            if (!beats || *beats < 1 || *beats > 12) {
                throw Fault {"meter out of range"};
            }
            tune.meter = *beats;
        } else if (key == "voice" && words.size() >= 2) {
            const std::string &name = words[1];
            if (name != "melody" && name != "arpeggio" && name != "bass" && name != "pad") {
                throw Fault {"unknown voice: " + name};
            }
            Voice voice;
            voice.present = true;
            for (std::size_t i = 2; i < words.size(); ++i) {
                if (words[i] == "channel") {
                    voice.channel = Option(words, i, 0, 15);
                } else if (words[i] == "program") {
                    voice.program = Option(words, i, 0, 127);
                } else if (words[i] == "volume") {
                    voice.volume = Option(words, i, 0, 127);
                } else if (words[i] == "pan") {
                    voice.pan = Option(words, i, 0, 127);
                } else if (words[i] == "reverb") {
                    voice.reverb = Option(words, i, 0, 127);
                } else if (words[i] == "velocity") {
                    voice.velocity = Option(words, i, 1, 127);
                } else {
                    throw Fault {"unknown voice option: " + words[i]};
                }
            }
            tune.voices[name] = voice;
        } else if (key == "pattern") {
            tune.pattern.assign(words.begin() + 1, words.end());
            for (const std::string &step : tune.pattern) {
                if (step != "-" && (!Number(step) || *Number(step) < 1 || *Number(step) > 9)) {
                    throw Fault {"bad pattern step: " + step};
                }
            }
        } else if (key == "section" && words.size() == 2) {
            section = &tune.sections[words[1]];
            if (section->line != 0) {
                throw Fault {"section " + words[1] + " given twice"};
            }
            section->line = lineNumber;
        } else if (key == "melody" || key == "chords") {
            if (!section) {
                throw Fault {key + " outside a section"};
            }
            if (key == "melody") {
                AddBars(section->melody, words, ParseNote);
            } else {
                AddBars(section->chords, words, ParseChord);
            }
        } else if (key == "play" && words.size() >= 2) {
            Play play;
            play.section = words[1];
            play.line = lineNumber;
            for (std::size_t i = 2; i < words.size(); ++i) {
                if (words[i] == "program") {
                    play.program = Option(words, i, 0, 127);
                } else if (words[i] == "octave") {
                    play.octave = Option(words, i, -2, 2);
                } else if (words[i] == "velocity") {
                    play.velocity = Option(words, i, 1, 120);
                } else if (words[i] == "rit") {
                    play.rit = true;
                } else {
                    throw Fault {"unknown play option: " + words[i]};
                }
            }
            tune.plays.push_back(play);
        } else {
            throw Fault {"cannot read: " + line};
        }
    }
    lineNumber = 0;
    if (tune.tempo == 0 || tune.meter == 0) {
        throw Fault {"tempo and meter are needed"};
    }
    if (!tune.voices["melody"].present) {
        throw Fault {"the melody voice is needed"};
    }
    if (tune.voices["arpeggio"].present && int(tune.pattern.size()) != 2 * tune.meter) {
        throw Fault {"the pattern needs one step for each eighth note of a bar"};
    }
    if (tune.plays.empty()) {
        throw Fault {"nothing is played"};
    }
    const std::int64_t barTicks = std::int64_t(tune.meter) * Division;
    for (const auto &[name, s] : tune.sections) {
        lineNumber = s.line;
        if (s.melody.empty() || s.melody.size() != s.chords.size()) {
            throw Fault {"section " + name + ": melody and chords need the same number of bars"};
        }
        for (std::size_t b = 0; b < s.melody.size(); ++b) {
            std::int64_t sum = 0;
            for (const Note &n : s.melody[b]) {
                sum += n.ticks;
            }
            if (sum != barTicks) {
                throw Fault {"section " + name + ", bar " + std::to_string(b + 1) + " holds "
                    + std::to_string(double(sum) / Division) + " beats"};
            }
        }
    }
    for (const Play &play : tune.plays) {
        lineNumber = play.line;
        if (!tune.sections.count(play.section)) {
            throw Fault {"no section " + play.section};
        }
    }
    return tune;
}

// ---- the MIDI file -------------------------------------------------------

struct Event
{
    std::int64_t tick;
    int order; // at one tick: meta and controls, then note-offs, then note-ons
    std::vector<std::uint8_t> bytes;
};

struct Track
{
    std::vector<Event> events;

    void Meta(std::int64_t tick, std::uint8_t type, const std::string &text)
    {
        std::vector<std::uint8_t> bytes = {0xFF, type};
        AppendVlq(bytes, std::uint32_t(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
        events.push_back({tick, 0, bytes});
    }
    void Tempo(std::int64_t tick, double bpm)
    {
        const auto micro = std::uint32_t(std::lround(60e6 / bpm));
        events.push_back({tick, 0,
            {0xFF, 0x51, 3, std::uint8_t(micro >> 16), std::uint8_t(micro >> 8),
                std::uint8_t(micro)}});
    }
    void Control(std::int64_t tick, int channel, int control, int value)
    {
        events.push_back(
            {tick, 1, {std::uint8_t(0xB0 | channel), std::uint8_t(control), std::uint8_t(value)}});
    }
    void Program(std::int64_t tick, int channel, int program)
    {
        events.push_back({tick, 1, {std::uint8_t(0xC0 | channel), std::uint8_t(program)}});
    }
    void NoteOn(std::int64_t from, std::int64_t to, int channel, int key, int velocity)
    {
        if (to <= from || key < 0 || key > 127) {
            return;
        }
        velocity = std::clamp(velocity, 1, 127);
        events.push_back(
            {from, 3, {std::uint8_t(0x90 | channel), std::uint8_t(key), std::uint8_t(velocity)}});
        events.push_back({to, 2, {std::uint8_t(0x80 | channel), std::uint8_t(key), 0}});
    }

    static void AppendVlq(std::vector<std::uint8_t> &bytes, std::uint32_t value)
    {
        std::uint8_t groups[5];
        int n = 0;
        do {
            groups[n++] = std::uint8_t(value & 0x7F);
            value >>= 7;
        } while (value);
        while (n-- > 0) {
            bytes.push_back(std::uint8_t(groups[n] | (n ? 0x80 : 0)));
        }
    }

    std::vector<std::uint8_t> Chunk(std::int64_t endTick)
    {
        std::stable_sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
            return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
        });
        std::vector<std::uint8_t> body;
        std::int64_t at = 0;
        for (const Event &e : events) {
            AppendVlq(body, std::uint32_t(e.tick - at));
            body.insert(body.end(), e.bytes.begin(), e.bytes.end());
            at = e.tick;
        }
        AppendVlq(body, std::uint32_t(std::max<std::int64_t>(0, endTick - at)));
        body.insert(body.end(), {0xFF, 0x2F, 0x00});
        std::vector<std::uint8_t> chunk = {'M', 'T', 'r', 'k'};
        for (int shift = 24; shift >= 0; shift -= 8) {
            chunk.push_back(std::uint8_t(body.size() >> shift));
        }
        chunk.insert(chunk.end(), body.begin(), body.end());
        return chunk;
    }
};

// A small fixed-seed variation of loudness, so that repeated notes do not
// sound like a machine; the same on every build.
class Jitter
{
public:
    int Next()
    {
        state_ = state_ * 1103515245u + 12345u;
        return int((state_ >> 16) % 5) - 2;
    }

private:
    std::uint32_t state_ = 20240607u;
};

void StartVoice(Track &track, const std::string &name, const Voice &voice)
{
    track.Meta(0, 0x03, name);
    track.Program(0, voice.channel, voice.program);
    track.Control(0, voice.channel, 7, voice.volume);
    track.Control(0, voice.channel, 10, voice.pan);
    track.Control(0, voice.channel, 91, voice.reverb);
    track.Control(0, voice.channel, 93, 0);
}

std::vector<std::uint8_t> Write(const Tune &tune)
{
    const std::int64_t barTicks = std::int64_t(tune.meter) * Division;
    const std::int64_t eighth = Division / 2;
    Track conductor;
    conductor.Meta(0, 0x03, tune.title);
    if (!tune.source.empty()) {
        conductor.Meta(0, 0x01, tune.source);
    }
    conductor.events.push_back({0, 0, {0xFF, 0x58, 4, std::uint8_t(tune.meter), 2, 24, 8}});

    const Voice &melodyVoice = tune.voices.at("melody");
    std::map<std::string, Track> tracks;
    for (const auto &[name, voice] : tune.voices) {
        if (voice.present) {
            StartVoice(tracks[name], name, voice);
        }
    }
    Jitter jitter;
    std::int64_t at = 0;
    for (const Play &play : tune.plays) {
        const Section &section = tune.sections.at(play.section);
        conductor.Tempo(at, tune.tempo);
        const int program = play.program >= 0 ? play.program : melodyVoice.program;
        tracks["melody"].Program(at, melodyVoice.channel, program);

        const std::int64_t bars = std::int64_t(section.melody.size());
        if (play.rit) {
            // Broaden the last two bars beat by beat to three quarters of the
            // tempo: a gentle close before the piece begins again.
            const std::int64_t beats = std::min<std::int64_t>(2, bars) * tune.meter;
            const std::int64_t from = at + bars * barTicks - beats * Division;
            for (std::int64_t k = 0; k < beats; ++k) {
                conductor.Tempo(
                    from + k * Division, tune.tempo * (1 - 0.25 * double(k + 1) / double(beats)));
            }
        }

        // The melody: slightly detached so repeated notes speak, held over
        // "_", louder on the first beat of a bar.
        Track &melody = tracks["melody"];
        std::int64_t t = at;
        int sounding = -1; // the key still held, or none
        std::int64_t soundingFrom = 0, soundingTo = 0;
        int soundingVelocity = 0;
        auto flush = [&]() {
            if (sounding >= 0) {
                const std::int64_t gap
                    = std::min<std::int64_t>(40, (soundingTo - soundingFrom) / 8);
                melody.NoteOn(soundingFrom, soundingTo - gap, melodyVoice.channel,
                    sounding + 12 * play.octave, soundingVelocity);
                sounding = -1;
            }
        };
        for (const auto &bar : section.melody) {
            const std::int64_t barStart = t;
            for (const Note &note : bar) {
                if (note.kind == Note::Hold) {
                    if (sounding >= 0) {
                        soundingTo = t + note.ticks;
                    }
                } else {
                    flush();
                    if (note.kind == Note::Pitch) {
                        sounding = note.key;
                        soundingFrom = t;
                        soundingTo = t + note.ticks;
                        const bool downbeat = t == barStart;
                        const bool offbeat = (t - barStart) % Division != 0;
                        soundingVelocity = play.velocity + (downbeat ? 6 : 0) - (offbeat ? 4 : 0)
                            + jitter.Next();
                    }
                }
                t += note.ticks;
            }
        }
        flush();

        // The harmony: each chord of a bar holds an equal share of it.
        for (std::int64_t b = 0; b < bars; ++b) {
            const auto &chords = section.chords[std::size_t(b)];
            const std::int64_t share = barTicks / std::int64_t(chords.size());
            for (std::size_t c = 0; c < chords.size(); ++c) {
                const Chord &chord = chords[c];
                const std::int64_t from = at + b * barTicks + std::int64_t(c) * share;
                const std::int64_t to = from + share;
                if (tune.voices.at("bass").present) {
                    const Voice &v = tune.voices.at("bass");
                    tracks["bass"].NoteOn(from, to, v.channel, 36 + chord.bass,
                        v.velocity + (c == 0 ? 4 : 0) + jitter.Next());
                }
                if (tune.voices.at("pad").present) {
                    // Close voicing in one octave window: the pad moves by the
                    // smallest steps from chord to chord.
                    const Voice &v = tune.voices.at("pad");
                    for (int tone : chord.tones) {
                        const int pc = (chord.root + tone) % 12;
                        tracks["pad"].NoteOn(from, to, v.channel, 55 + (pc - 7 + 12) % 12,
                            v.velocity + jitter.Next());
                    }
                }
                if (tune.voices.at("arpeggio").present) {
                    // Pattern steps are chord tones counted upwards from the
                    // root in the octave below middle C; each rings until the
                    // chord changes or its key is struck again.
                    const Voice &v = tune.voices.at("arpeggio");
                    const int base = 48 + chord.root;
                    std::vector<std::pair<std::int64_t, int>> strikes;
                    for (std::int64_t s = (from - at - b * barTicks) / eighth;
                         s < (to - at - b * barTicks) / eighth; ++s) {
                        const std::string &step = tune.pattern[std::size_t(s)];
                        if (step == "-") {
                            continue;
                        }
                        const int i = std::atoi(step.c_str()) - 1;
                        const int n = int(chord.tones.size());
                        strikes.push_back({at + b * barTicks + s * eighth,
                            base + chord.tones[std::size_t(i % n)] + 12 * (i / n)});
                    }
                    for (std::size_t k = 0; k < strikes.size(); ++k) {
                        std::int64_t end = to;
                        for (std::size_t m = k + 1; m < strikes.size(); ++m) {
                            if (strikes[m].second == strikes[k].second) {
                                end = strikes[m].first;
                                break;
                            }
                        }
                        const bool first = strikes[k].first == from;
                        tracks["arpeggio"].NoteOn(strikes[k].first, end, v.channel,
                            strikes[k].second, v.velocity + (first ? 5 : 0) + jitter.Next());
                    }
                }
            }
        }
        at += bars * barTicks;
    }

    std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    const auto trackCount = std::uint16_t(1 + tracks.size());
    file.push_back(std::uint8_t(trackCount >> 8));
    file.push_back(std::uint8_t(trackCount));
    file.push_back(std::uint8_t(Division >> 8));
    file.push_back(std::uint8_t(Division));
    auto append = [&](std::vector<std::uint8_t> chunk) {
        file.insert(file.end(), chunk.begin(), chunk.end());
    };
    append(conductor.Chunk(at));
    for (const char *name : {"melody", "arpeggio", "bass", "pad"}) {
        if (tracks.count(name)) {
            append(tracks[name].Chunk(at));
        }
    }
    return file;
}

} // namespace

std::vector<std::uint8_t> CompileTune(const std::string &text, TuneError &error)
{
    int line = 0;
    try {
        return Write(Parse(text, line));
    } catch (const Fault &fault) {
        error = {line, fault.message};
        return {};
    }
}
