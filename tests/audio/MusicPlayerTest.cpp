#include "Music.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// A MIDI device that plays in the imagination: it keeps a position, plays
// until told the piece has ended, and writes every call into a log.
class FakeMidi : public MusicDevice
{
public:
    std::vector<std::string> log;
    std::set<std::string> damaged; // file names that fail to open
    std::string file;
    bool open = false;
    bool playing = false;
    double position = 0;
    static constexpr double Length = 90;

    bool Open(const std::string &fileName) override
    {
        Close();
        const std::string name = std::filesystem::path(fileName).filename().string();
        log.push_back("Open " + name);
        if (damaged.count(name)) {
            return false;
        }
        file = name;
        open = true;
        position = 0;
        return true;
    }
    void Close() override
    {
        if (open) {
            log.push_back("Close");
        }
        open = playing = false;
        file.clear();
    }
    bool IsOpen() const override { return open; }
    MusicMode Mode() const override
    {
        return !open ? MusicMode::NotReady : playing ? MusicMode::Playing : MusicMode::Stopped;
    }
    bool AtEnd() const override { return open && position == Length; }
    void SeekToStart() override
    {
        log.push_back("Seek");
        position = 0;
    }
    void Play() override
    {
        log.push_back("Play");
        if (open && position < Length) {
            playing = true;
        }
    }
    void Stop() override
    {
        log.push_back("Stop");
        playing = false;
    }

    // The piece plays to its last note.
    void Finish()
    {
        position = Length;
        playing = false;
    }
    std::string TakeLog()
    {
        std::string all;
        for (const std::string &entry : log) {
            all += (all.empty() ? "" : ", ") + entry;
        }
        log.clear();
        return all;
    }
};

struct Folder
{
    TempDir dir;

    explicit Folder(std::initializer_list<const char *> names)
    {
        for (const char *name : names) {
            Add(name);
        }
    }
    void Add(const std::string &name) const { TempDir::Write(dir / name, "MThd"); }
    std::string Path() const { return dir.Path().string() + "/"; }
};

struct Rig
{
    Folder folder;
    FakeMidi *midi;
    MusicPlayer player;

    explicit Rig(std::initializer_list<const char *> names, std::set<std::string> damaged = {})
        : folder(names)
        , midi(new FakeMidi)
        , player(folder.Path(), std::unique_ptr<MusicDevice>(midi))
    {
        midi->damaged = std::move(damaged);
    }

    // One click of the music button, by the music setting it flips.
    bool musicOn = true;
    void Click() { musicOn = player.MusicBtnClick(musicOn); }
};

} // namespace

TEST(MusicDiscovery, OpensTheFirstPieceInNameOrderWithoutPlaying)
{
    Rig rig({"b.mid", "C.MID", "A.Mid", "notes.txt", "song.midi", "mid"});
    rig.player.Discover();
    EXPECT_TRUE(rig.player.MusicAvailable());
    EXPECT_EQ(rig.player.PieceName(), "A.Mid");
    EXPECT_EQ(rig.midi->TakeLog(), "Open A.Mid");
    EXPECT_EQ(rig.midi->Mode(), MusicMode::Stopped);
}

TEST(MusicDiscovery, EveryKindOfEntryCounts)
{
    // Hidden files and folders match "*.mid" too, and so does a file named
    // just ".mid"; a folder cannot be opened as music and is passed over.
    Rig rig({".mid", ".quiet.mid", "zz.mid"}, {".mid", ".quiet.mid", "album.mid"});
    std::filesystem::create_directory(rig.folder.dir / "album.mid");
    rig.player.Discover();
    EXPECT_EQ(rig.midi->TakeLog(), "Open .mid, Open .quiet.mid, Open album.mid, Open zz.mid");
    EXPECT_EQ(rig.player.PieceName(), "zz.mid");
}

TEST(MusicSearch, ListsTheNamesInOrderWithCaseIgnored)
{
    // Names that differ in case only come in plain order, so that the
    // listing does not follow the folder's own order.
    const Folder folder({"b.mid", "C.MID", "z.mid", "A.Mid", "Y.MID", "b.MID", "B.mid", ".mid",
        "a.midi", "mid", "amid", "notes.txt"});
    MusicSearch search;
    std::vector<std::string> listed;
    for (bool found = search.Start(folder.Path()); found; found = search.Next())
        listed.push_back(search.Current());
    EXPECT_EQ(listed,
        (std::vector<std::string> {
            ".mid", "A.Mid", "B.mid", "b.MID", "b.mid", "C.MID", "Y.MID", "z.mid"}));
    EXPECT_EQ(search.Current(), "") << "run out";
    EXPECT_FALSE(search.Next());
}

TEST(MusicDiscovery, NoPieceOrNoneThatOpensMeansNoMusic)
{
    struct Case
    {
        std::initializer_list<const char *> files;
        std::set<std::string> damaged;
    };
    for (const Case &c : {Case {{}, {}}, Case {{"readme.txt", "tune.midi"}, {}},
             Case {{"bad.mid", "worse.MID"}, {"bad.mid", "worse.MID"}}}) {
        Rig rig(c.files, c.damaged);
        rig.player.Discover();
        EXPECT_FALSE(rig.player.MusicAvailable());
        // The music button is disabled then; a click changes nothing, and
        // the timer never starts the player.
        rig.midi->TakeLog();
        EXPECT_TRUE(rig.player.MusicBtnClick(true));
        EXPECT_FALSE(rig.player.MusicBtnClick(false));
        rig.player.KeepAlive(true);
        EXPECT_EQ(rig.midi->TakeLog(), "");
    }
}

TEST(MusicDiscovery, MissingProgramFolderMeansNoMusic)
{
    auto *midi = new FakeMidi;
    MusicPlayer player("/nonexistent/tumblewick/", std::unique_ptr<MusicDevice>(midi));
    player.Discover();
    EXPECT_FALSE(player.MusicAvailable());
    EXPECT_EQ(player.PieceName(), "");
}

TEST(MusicDiscovery, DamagedPieceIsPassedOver)
{
    Rig rig({"a.mid", "b.mid"}, {"a.mid"});
    rig.player.Discover();
    EXPECT_TRUE(rig.player.MusicAvailable());
    EXPECT_EQ(rig.player.PieceName(), "b.mid");
    rig.player.KeepAlive(true);
    EXPECT_EQ(rig.midi->Mode(), MusicMode::Playing);
}

TEST(MusicKeepAlive, StartsOnFirstTickAndRestartsAfterTheEnd)
{
    Rig rig({"only.mid"});
    rig.player.Discover();
    rig.midi->TakeLog();

    rig.player.KeepAlive(true);
    EXPECT_EQ(rig.midi->TakeLog(), "Play");
    rig.player.KeepAlive(true); // still playing: nothing to do
    EXPECT_EQ(rig.midi->TakeLog(), "");

    rig.midi->Finish();
    rig.player.KeepAlive(true);
    EXPECT_EQ(rig.midi->TakeLog(), "Seek, Play");
    EXPECT_EQ(rig.midi->position, 0);
    EXPECT_EQ(rig.midi->Mode(), MusicMode::Playing);
}

TEST(MusicKeepAlive, MusicOffStaysSilent)
{
    Rig rig({"one.mid", "two.mid"});
    rig.player.Discover();
    rig.midi->TakeLog();
    for (int tick = 0; tick < 5; ++tick) {
        rig.player.KeepAlive(false);
    }
    EXPECT_EQ(rig.midi->TakeLog(), "");
    // The first switch-on plays the second piece.
    rig.musicOn = false;
    rig.Click();
    EXPECT_TRUE(rig.musicOn);
    EXPECT_EQ(rig.player.PieceName(), "two.mid");
    EXPECT_EQ(rig.midi->TakeLog(), "Close, Open two.mid, Play");
}

TEST(MusicButton, ThreePiecesRotateAndComeBackToTheFirst)
{
    Rig rig({"third.mid", "first.mid", "second.mid"});
    rig.player.Discover();
    rig.player.KeepAlive(true);
    EXPECT_EQ(rig.midi->file, "first.mid");
    rig.midi->TakeLog();

    for (const char *next : {"second.mid", "third.mid", "first.mid", "second.mid"}) {
        SCOPED_TRACE(next);
        rig.Click();
        EXPECT_FALSE(rig.musicOn);
        EXPECT_EQ(rig.midi->TakeLog(), "Stop, Close");
        EXPECT_EQ(rig.midi->Mode(), MusicMode::NotReady);
        rig.player.KeepAlive(rig.musicOn);
        EXPECT_EQ(rig.midi->TakeLog(), "");

        rig.Click();
        EXPECT_TRUE(rig.musicOn);
        EXPECT_EQ(rig.player.PieceName(), next);
        EXPECT_EQ(rig.midi->TakeLog(), std::string("Open ") + next + ", Play");
        EXPECT_EQ(rig.midi->Mode(), MusicMode::Playing);
    }
}

TEST(MusicButton, SinglePieceRestartsFromItsBeginning)
{
    Rig rig({"only.mid"});
    rig.player.Discover();
    rig.player.KeepAlive(true);
    rig.midi->position = 40; // in the middle of the piece
    rig.Click();
    rig.Click();
    EXPECT_TRUE(rig.musicOn);
    EXPECT_EQ(rig.player.PieceName(), "only.mid");
    EXPECT_EQ(rig.midi->position, 0);
    EXPECT_EQ(rig.midi->Mode(), MusicMode::Playing);
}

TEST(MusicButton, DamagedPieceInTheRotationIsPassedOver)
{
    Rig rig({"a.mid", "b.mid", "c.mid"}, {"b.mid"});
    rig.player.Discover();
    for (const char *next : {"c.mid", "a.mid", "c.mid"}) {
        rig.Click();
        rig.Click();
        EXPECT_TRUE(rig.musicOn);
        EXPECT_EQ(rig.player.PieceName(), next);
    }
}

TEST(MusicButton, ListingIsTakenAnewWhenItHasRunOut)
{
    Rig rig({"a.mid", "b.mid"});
    rig.player.Discover();
    rig.folder.Add("c.mid");
    std::vector<std::string> heard;
    for (int i = 0; i < 4; ++i) {
        rig.Click();
        rig.Click();
        heard.push_back(rig.player.PieceName());
    }
    EXPECT_EQ(heard, (std::vector<std::string> {"b.mid", "a.mid", "b.mid", "c.mid"}));
}

TEST(MusicButton, PiecesGoneOrAllDamagedLeaveMusicOff)
{
    {
        Rig rig({"a.mid"});
        rig.player.Discover();
        std::filesystem::remove(rig.folder.dir / "a.mid");
        rig.Click();
        rig.Click();
        EXPECT_FALSE(rig.musicOn);
        EXPECT_FALSE(rig.midi->IsOpen());
    }
    {
        Rig rig({"a.mid", "b.mid"});
        rig.player.Discover();
        rig.Click();
        rig.midi->damaged = {"a.mid", "b.mid"}; // both spoilt while the game runs
        rig.Click();
        EXPECT_FALSE(rig.musicOn);
        EXPECT_EQ(
            rig.midi->TakeLog(), "Open a.mid, Stop, Close, Open b.mid, Open a.mid, Open b.mid");
        // A later click tries again, and the game goes on.
        rig.midi->damaged.clear();
        rig.Click();
        EXPECT_TRUE(rig.musicOn);
    }
}

TEST(MusicShutDown, CloseReleasesTheDevice)
{
    Rig rig({"a.mid"});
    rig.player.Discover();
    rig.player.KeepAlive(true);
    rig.player.Close();
    EXPECT_FALSE(rig.midi->IsOpen());
    rig.player.Close(); // a second close is harmless
}
