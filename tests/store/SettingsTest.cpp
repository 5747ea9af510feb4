#include "Settings.h"
#include "GameSettings.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(Settings, MissingFileSectionOrValueGivesTheDefaults)
{
    TempDir dir;
    const SettingsStore ini(dir / "none" / "V2.conf");
    const StartSettings start = ReadStartSettings(ini);
    EXPECT_EQ(start.Language, -1);
    EXPECT_TRUE(start.SoundOn);
    EXPECT_TRUE(start.MusicOn);
    EXPECT_TRUE(start.AnimationOn);
    EXPECT_EQ(start.GrafMode, 0);
    EXPECT_EQ(ReadLevelSetting(ini), 1);
    EXPECT_EQ(ReadGameSetting(ini), "");

    TempDir::Write(dir / "other.conf", "[elsewhere]\nsound=0\nlevel=9\n");
    const SettingsStore other(dir / "other.conf");
    EXPECT_TRUE(other.ReadBool(SectionCommon, "sound", true));
    EXPECT_EQ(ReadLevelSetting(other), 1);
}

TEST(Settings, ValuesAreWrittenAsTextAndReadBackAtOnce)
{
    TempDir dir;
    const SettingsStore ini(dir / "QuirkGames" / "Tumblewick" / "V2.conf");
    EXPECT_TRUE(ini.WriteInteger(SectionCommon, "tongue", -1));
    EXPECT_TRUE(ini.WriteBool(SectionCommon, "sound", false));
    EXPECT_TRUE(ini.WriteBool(SectionCommon, "music", true));
    EXPECT_TRUE(ini.WriteString(SectionCommon, "game", "Anna"));
    EXPECT_EQ(TempDir::Read(ini.Path()), "[common]\ntongue=-1\nsound=0\nmusic=1\ngame=Anna\n");
    EXPECT_EQ(ini.ReadInteger(SectionCommon, "tongue", 5), -1);
    EXPECT_FALSE(ini.ReadBool(SectionCommon, "sound", true));

    EXPECT_TRUE(ini.WriteInteger(SectionCommon, "tongue", 1));
    EXPECT_EQ(ini.ReadInteger(SectionCommon, "tongue", 5), 1);
    EXPECT_TRUE(ini.WriteString(SectionCommon, "game", ""));
    EXPECT_EQ(ini.ReadString(SectionCommon, "game", "x"), ""); // stored empty, not missing
}

TEST(Settings, NumbersAndBooleansReadAsTheGameExpects)
{
    TempDir dir;
    TempDir::Write(dir / "V2.conf",
        "[Common]\n"
        "sound = 2\n"
        "music=word\n"
        "animation=0\n"
        "LEVEL=  -12 \n"
        "grafmode=3.5\n"
        "tongue=99999999999\n");
    const SettingsStore ini(dir / "V2.conf");
    const StartSettings s = ReadStartSettings(ini);
    EXPECT_TRUE(s.SoundOn); // any integer but 0
    EXPECT_TRUE(s.MusicOn); // no number: the default
    EXPECT_FALSE(s.AnimationOn);
    EXPECT_EQ(ReadLevelSetting(ini), -12); // names compare without case
    EXPECT_EQ(s.GrafMode, 0);
    EXPECT_EQ(s.Language, -1); // out of range: the default
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

TEST(Settings, AnyTextSurvivesARoundTrip)
{
    TempDir dir;
    const SettingsStore ini(dir / "V2.conf");
    for (const std::string &text : {std::string("Anna"), std::string("  two blanks "),
             std::string("\"quoted\""), std::string("a=b;c#d"),
             std::string("line\nbreak\r\tand\\back"), std::string("[common]"),
             std::string("Grüße, 日本"), std::string("\x01\x7f"), std::string("1,2,3")}) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(ini.WriteString(SectionCommon, "game", text));
        EXPECT_EQ(ini.ReadString(SectionCommon, "game", ""), text);
        EXPECT_EQ(ini.ReadInteger(SectionCommon, "level", 1), 1);
    }
}

TEST(Settings, WritingKeepsEverythingElseInTheFile)
{
    TempDir dir;
    TempDir::Write(dir / "V2.conf",
        "; made by hand\n[other]\ngame=keep\n\n[common]\nlevel=3\n"
        "level=4\n[last]\nx=1\n");
    const SettingsStore ini(dir / "V2.conf");
    ASSERT_TRUE(ini.WriteInteger(SectionCommon, "level", 9));
    ASSERT_TRUE(ini.WriteString(SectionCommon, "game", "Bob"));
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
    const SettingsStore ini(dir / "V2.conf");
    EXPECT_EQ(ReadLevelSetting(ini), 1);
    EXPECT_EQ(ReadGameSetting(ini), "");
    ASSERT_TRUE(ini.WriteInteger(SectionCommon, "level", 5));
    EXPECT_EQ(ReadLevelSetting(ini), 5);
}

TEST(Settings, AFailedWriteReportsItAndKeepsTheOldFile)
{
    TempDir dir;
    const SettingsStore ini(dir / "V2.conf");
    ASSERT_TRUE(ini.WriteInteger(SectionCommon, "level", 5));
    // A folder where the temporary file must go makes the write fail.
    std::filesystem::create_directory(dir / ("V2.conf.tmp" + std::to_string(getpid())));
    EXPECT_FALSE(ini.WriteInteger(SectionCommon, "level", 6));
    EXPECT_EQ(ReadLevelSetting(ini), 5);

    const SettingsStore blocked(dir / "V2.conf" / "inside.conf"); // a file as folder
    EXPECT_FALSE(blocked.WriteInteger(SectionCommon, "level", 1));
    EXPECT_EQ(blocked.ReadInteger(SectionCommon, "level", 7), 7);
}

TEST(Settings, ClosingWritesEveryValueInItsOrder)
{
    TempDir dir;
    const SettingsStore ini(dir / "V2.conf");
    CloseSettings values;
    values.options = {1, false, true, false, 4};
    values.CurrentLevel = 17;
    values.GameName = "Anna";
    ASSERT_TRUE(WriteCloseSettings(ini, values));
    EXPECT_EQ(TempDir::Read(ini.Path()),
        "[common]\nsound=0\nmusic=1\nanimation=0\ntongue=1\n"
        "level=17\ngame=Anna\ngrafmode=4\n");
    const StartSettings back = ReadStartSettings(ini);
    EXPECT_EQ(back.Language, 1);
    EXPECT_FALSE(back.SoundOn);
    EXPECT_EQ(back.GrafMode, 4);
}

TEST(Settings, TheFileLiesInTheUsersConfigFolder)
{
    const char *oldXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = oldXdg ? oldXdg : "";
    setenv("XDG_CONFIG_HOME", "/tmp/xdg-test", 1);
    EXPECT_EQ(SettingsStore::DefaultPath(), "/tmp/xdg-test/QuirkGames/Tumblewick/V2.conf");
    setenv("XDG_CONFIG_HOME", "relative/path", 1); // not absolute: ignored
    setenv("HOME", "/home/anna", 1);
    EXPECT_EQ(SettingsStore::DefaultPath(), "/home/anna/.config/QuirkGames/Tumblewick/V2.conf");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SettingsStore::DefaultPath(), "/home/anna/.config/QuirkGames/Tumblewick/V2.conf");
    if (oldXdg)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}
