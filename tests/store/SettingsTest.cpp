#include "Settings.h"
#include "GameSettings.h"
#include "ScopedEnv.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct FailingStep
{
    FailingStep(WriteStep failing, int error)
    {
        SetWriteFault([=](WriteStep step) { return step == failing ? error : 0; });
    }
    ~FailingStep() { SetWriteFault({}); }
};

SettingsStore Loaded(const fs::path &file)
{
    SettingsStore ini(file);
    ini.Load();
    return ini;
}

} // namespace

TEST(Settings, MissingFileSectionOrValueGivesTheDefaults)
{
    TempDir dir;
    SettingsStore ini(dir / "none" / "V2.conf");
    EXPECT_EQ(ini.Load().outcome, FileResult::Missing);
    EXPECT_TRUE(ini.MayReplace()) << "a first run";
    EXPECT_EQ(ReadGameSettings(ini), GameSettings {});
    const GameSettings defaults;
    EXPECT_EQ(defaults.Language, -1);
    EXPECT_TRUE(defaults.SoundOn && defaults.MusicOn && defaults.AnimationOn);
    EXPECT_EQ(defaults.GrafMode, 0);
    EXPECT_EQ(defaults.Level, 1);
    EXPECT_EQ(defaults.GameName, "");
    EXPECT_FALSE(defaults.SmoothOn || defaults.CalmOn || defaults.ContrastOn)
        << "the game's own choices start off";

    TempDir::Write(dir / "other.conf", "[elsewhere]\nsound=0\nlevel=9\n");
    const SettingsStore other = Loaded(dir / "other.conf");
    EXPECT_EQ(ReadGameSettings(other), GameSettings {});
}

TEST(Settings, TheFileIsReadOnceAndWrittenOnlyBySave)
{
    TempDir dir;
    const fs::path file = dir / "QuirkGames" / "Tumblewick" / "V2.conf";
    SettingsStore ini = Loaded(file);
    ini.WriteInteger(SectionCommon, "tongue", -1);
    ini.WriteBool(SectionCommon, "sound", false);
    ini.WriteString(SectionCommon, "game", "Anna");
    EXPECT_EQ(ini.ReadInteger(SectionCommon, "tongue", 5), -1);
    EXPECT_FALSE(ini.ReadBool(SectionCommon, "sound", true));
    EXPECT_FALSE(fs::exists(file)) << "nothing written before Save";

    ASSERT_TRUE(ini.Save().ok());
    EXPECT_EQ(TempDir::Read(file), "[common]\ntongue=-1\nsound=0\ngame=Anna\n");
    // A change of the file after the start is not seen: the store read it once.
    TempDir::Write(file, "[common]\ntongue=1\n");
    EXPECT_EQ(ini.ReadInteger(SectionCommon, "tongue", 5), -1);

    SettingsStore again = Loaded(file);
    EXPECT_EQ(again.ReadInteger(SectionCommon, "tongue", 5), 1);
    again.WriteString(SectionCommon, "game", "");
    EXPECT_EQ(again.ReadString(SectionCommon, "game", "x"), ""); // stored empty, not missing
}

TEST(Settings, NumbersAndBooleansReadAsTheGameExpects)
{
    SettingsStore ini("unused");
    ini.Parse("[Common]\n"
              "sound = 2\n"
              "music=word\n"
              "animation=0\n"
              "LEVEL=  -12 \n"
              "grafmode=3.5\n"
              "tongue=99999999999\n");
    const GameSettings s = ReadGameSettings(ini);
    EXPECT_TRUE(s.SoundOn); // any integer but 0
    EXPECT_TRUE(s.MusicOn); // no number: the default
    EXPECT_FALSE(s.AnimationOn);
    EXPECT_EQ(s.Level, -12); // names compare without case
    EXPECT_EQ(s.GrafMode, 0);
    EXPECT_EQ(s.Language, -1); // out of range: the default
}

TEST(Settings, NamesIgnoreTheCaseOfLettersOnly)
{
    SettingsStore ini("unused");
    ini.Parse("[COMMON]\nAz=1\nzA=2\n@x=3\n[x=4\n");
    // Both ends of the alphabet fold; the characters just beside them do not.
    EXPECT_EQ(ini.ReadInteger("common", "aZ", 0), 1);
    EXPECT_EQ(ini.ReadInteger("Common", "ZA", 0), 2);
    EXPECT_EQ(ini.ReadInteger("common", "`x", 0), 0); // '`' is not '@' in another case
    EXPECT_EQ(ini.ReadInteger("common", "{x", 0), 0); // nor '{' of '['
    EXPECT_EQ(ini.ReadInteger("common", "@x", 0), 3);

    ini.WriteInteger("common", "AZ", 9); // replaces the line of the same name
    EXPECT_EQ(ini.Text(), "[COMMON]\nAZ=9\nzA=2\n@x=3\n[x=4\n");
}

TEST(Settings, IntegerTextIsDecimalWithOptionalSign)
{
    struct Case
    {
        const char *text;
        std::optional<int> value;
    };
    for (const Case c : {Case {"0", 0}, Case {"-1", -1}, Case {"+7", 7}, Case {" 42 ", 42},
             Case {"2147483647", 2147483647}, Case {"-2147483648", -2147483648LL},
             Case {"2147483648", std::nullopt}, Case {"", std::nullopt}, Case {"-", std::nullopt},
             Case {"+-3", std::nullopt}, Case {"0x10", std::nullopt}, Case {"1 2", std::nullopt},
             Case {"1e3", std::nullopt}}) {
        EXPECT_EQ(ParseInteger(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(Settings, AnyTextSurvivesARoundTripThroughTheFile)
{
    TempDir dir;
    for (const std::string &text :
        {std::string("Anna"), std::string("  two blanks "), std::string("\"quoted\""),
            std::string("a=b;c#d"), std::string("line\nbreak\r\tand\\back"),
            std::string("[common]"), std::string("Grüße, 日本"), std::string("\x01\x7f"),
            std::string("1,2,3"), std::string("Caf\xe9")}) {
        SCOPED_TRACE(text);
        SettingsStore ini = Loaded(dir / "V2.conf");
        ini.WriteString(SectionCommon, "game", text);
        ASSERT_TRUE(ini.Save().ok());
        const SettingsStore back = Loaded(dir / "V2.conf");
        EXPECT_EQ(back.ReadString(SectionCommon, "game", ""), text);
        EXPECT_EQ(back.ReadInteger(SectionCommon, "level", 1), 1);
    }
}

TEST(Settings, WritingKeepsEverythingElseInTheFile)
{
    TempDir dir;
    TempDir::Write(dir / "V2.conf",
        "; made by hand\n[other]\ngame=keep\n\n[common]\nlevel=3\n"
        "level=4\n[last]\nx=1\n");
    SettingsStore ini = Loaded(dir / "V2.conf");
    ini.WriteInteger(SectionCommon, "level", 9);
    ini.WriteString(SectionCommon, "game", "Bob");
    ASSERT_TRUE(ini.Save().ok());
    EXPECT_EQ(TempDir::Read(dir / "V2.conf"),
        "; made by hand\n[other]\ngame=keep\n\n[common]\nlevel=9\ngame=Bob\n[last]\nx=1\n");
    EXPECT_EQ(ini.ReadString("other", "game", ""), "keep");
}

TEST(Settings, AGarbledFileGivesDefaultsAndIsRepairedByAWrite)
{
    TempDir dir;
    using namespace std::string_literals;
    const std::string junk = "\xff\xfe[com\0mon]\n=\n==\n[common\nlevel\n\x80\x81 sound=0\n[]\n"s;
    TempDir::Write(dir / "V2.conf", junk);
    SettingsStore ini = Loaded(dir / "V2.conf");
    EXPECT_EQ(ReadGameSettings(ini), GameSettings {});
    ini.WriteInteger(SectionCommon, "level", 5);
    ASSERT_TRUE(ini.Save().ok());
    EXPECT_EQ(ReadGameSettings(Loaded(dir / "V2.conf")).Level, 5);
}

TEST(Settings, AByteOrderMarkIsReadAndKept)
{
    TempDir dir;
    TempDir::Write(dir / "V2.conf", "\xEF\xBB\xBF[common]\nlevel=7\n");
    SettingsStore ini = Loaded(dir / "V2.conf");
    EXPECT_EQ(ReadGameSettings(ini).Level, 7);
    ini.WriteInteger(SectionCommon, "level", 8);
    ASSERT_TRUE(ini.Save().ok());
    EXPECT_EQ(TempDir::Read(dir / "V2.conf"), "\xEF\xBB\xBF[common]\nlevel=8\n");
}

TEST(Settings, AFileThatCannotBeReadIsNeverReplaced)
{
    TempDir dir;
    struct Case
    {
        const char *what;
        FileResult::Outcome outcome;
        std::function<void(const fs::path &)> make;
    };
    const std::string tooLarge = "[common]\nlevel=3\n" + std::string(MaxSettingsBytes, ';');
    for (const Case &c : {Case {"a folder", FileResult::NotRegular,
                              [](const fs::path &p) { fs::create_directories(p / "inside"); }},
             Case {"a link to an endless device", FileResult::NotRegular,
                 [](const fs::path &p) { fs::create_symlink("/dev/zero", p); }},
             Case {"a pipe", FileResult::NotRegular,
                 [](const fs::path &p) { ::mkfifo(p.c_str(), 0600); }},
             Case {"a file larger than any settings file", FileResult::TooLarge,
                 [&](const fs::path &p) { TempDir::Write(p, tooLarge); }}}) {
        SCOPED_TRACE(c.what);
        const fs::path file = dir / c.what;
        c.make(file);
        SettingsStore ini(file);
        EXPECT_EQ(ini.Load().outcome, c.outcome);
        EXPECT_FALSE(ini.MayReplace());
        EXPECT_EQ(ReadGameSettings(ini), GameSettings {});
        ini.WriteInteger(SectionCommon, "level", 9);
        EXPECT_EQ(ini.Save().outcome, c.outcome) << "refused with the reason it was not read";
    }
    EXPECT_TRUE(fs::is_directory(dir / "a folder" / "inside"));
    EXPECT_EQ(fs::read_symlink(dir / "a link to an endless device"), "/dev/zero");
    EXPECT_EQ(TempDir::Read(dir / "a file larger than any settings file"), tooLarge);

    if (::geteuid() != 0) { // permissions do not stop the superuser
        TempDir::Write(dir / "locked", "[common]\nlevel=3\n");
        ::chmod((dir / "locked").c_str(), 0);
        SettingsStore locked(dir / "locked");
        EXPECT_EQ(locked.Load().error, EACCES);
        EXPECT_FALSE(locked.Save().ok());
        ::chmod((dir / "locked").c_str(), 0600);
        EXPECT_EQ(TempDir::Read(dir / "locked"), "[common]\nlevel=3\n");
    }
}

TEST(Settings, AFailedWriteIsReportedAndKeepsTheOldFile)
{
    TempDir dir;
    TempDir::Write(dir / "V2.conf", "[common]\nlevel=5\n");
    for (const WriteStep step : {WriteStep::Write, WriteStep::Sync, WriteStep::Close}) {
        SettingsStore ini = Loaded(dir / "V2.conf");
        ini.WriteInteger(SectionCommon, "level", 6);
        {
            FailingStep failing(step, step == WriteStep::Write ? ENOSPC : EIO);
            EXPECT_FALSE(ini.Save().ok());
        }
        EXPECT_EQ(TempDir::Read(dir / "V2.conf"), "[common]\nlevel=5\n");
    }
    std::vector<fs::path> left;
    for (const auto &entry : fs::directory_iterator(dir.Path()))
        left.push_back(entry.path().filename());
    EXPECT_EQ(left, (std::vector<fs::path> {"V2.conf"}));

    TempDir::Write(dir / "file", "");
    SettingsStore blocked = Loaded(dir / "file" / "inside.conf"); // a file as folder
    blocked.WriteInteger(SectionCommon, "level", 1);
    EXPECT_FALSE(blocked.Save().ok());
}

TEST(Settings, AFileKeptAsALinkStaysALink)
{
    TempDir dir;
    TempDir::Write(dir / "dotfiles" / "tumblewick.conf", "[common]\nlevel=2\n");
    fs::create_symlink(dir / "dotfiles" / "tumblewick.conf", dir / "V2.conf");
    SettingsStore ini = Loaded(dir / "V2.conf");
    EXPECT_EQ(ReadGameSettings(ini).Level, 2);
    ini.WriteInteger(SectionCommon, "level", 3);
    ASSERT_TRUE(ini.Save().ok());
    EXPECT_TRUE(fs::is_symlink(dir / "V2.conf"));
    EXPECT_EQ(TempDir::Read(dir / "dotfiles" / "tumblewick.conf"), "[common]\nlevel=3\n");
}

TEST(Settings, ClosingWritesEveryValueInItsOrder)
{
    GameSettings values;
    values.Language = 1;
    values.SoundOn = false;
    values.AnimationOn = false;
    values.GrafMode = 4;
    values.Level = 17;
    values.GameName = "Anna";
    values.CalmOn = true;
    values.SolvableMarkOn = true;

    // A first run: the section and every value, in the closing order.
    SettingsStore fresh("unused");
    WriteGameSettings(fresh, values);
    fresh.WriteString(SectionCommon, "MainForm", "200,0,1,10,20,690,530");
    EXPECT_EQ(fresh.Text(),
        "[common]\nsound=0\nmusic=1\nanimation=0\ntongue=1\n"
        "level=17\ngame=Anna\ngrafmode=4\nsmooth=0\ncalm=1\ncontrast=0\nsolvablemark=1\n"
        "MainForm=200,0,1,10,20,690,530\n");
    EXPECT_EQ(ReadGameSettings(fresh), values);

    // A file the game wrote before, edited by hand: values stay where they
    // are, new ones end the section, the rest is untouched.
    SettingsStore edited("unused");
    edited.Parse("; mine\n[common]\nMainForm=200,0,1,0,0,680,510\ntongue=0\nlevel=3\n"
                 "[other]\nx=1\n");
    WriteGameSettings(edited, values);
    edited.WriteString(SectionCommon, "MainForm", "200,0,1,10,20,690,530");
    EXPECT_EQ(edited.Text(),
        "; mine\n[common]\nMainForm=200,0,1,10,20,690,530\ntongue=1\nlevel=17\nsound=0\n"
        "music=1\nanimation=0\ngame=Anna\ngrafmode=4\nsmooth=0\ncalm=1\ncontrast=0\nsolvablemark="
        "1\n"
        "[other]\nx=1\n");
}

TEST(Settings, TheFileLiesInTheUsersConfigFolder)
{
    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", "/tmp/xdg-test");
        EXPECT_EQ(SettingsStore::DefaultPath(), "/tmp/xdg-test/QuirkGames/Tumblewick/V2.conf");
    }
    const ScopedEnv home("HOME", "/home/anna");
    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", "relative/path"); // not absolute: ignored
        EXPECT_EQ(SettingsStore::DefaultPath(), "/home/anna/.config/QuirkGames/Tumblewick/V2.conf");
    }
    const ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(SettingsStore::DefaultPath(), "/home/anna/.config/QuirkGames/Tumblewick/V2.conf");
}
