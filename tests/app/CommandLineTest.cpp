// The command line as a player on Linux types it.
#include "CommandLine.h"

#include <gtest/gtest.h>

namespace {

CommandLine Read(QStringList arguments)
{
    arguments.prepend(QStringLiteral("/usr/bin/tumblewick"));
    return ReadCommandLine(arguments);
}

} // namespace

TEST(CommandLine, HelpAndVersionArePrintedAndEndTheProgram)
{
    for (const char *option : {"--version", "-v"}) {
        const CommandLine line = Read({option});
        EXPECT_EQ(line.action, CommandLine::Print) << option;
        EXPECT_TRUE(line.text.startsWith("Tumblewick 2.0\n")) << line.text.toStdString();
        EXPECT_TRUE(line.text.contains("GPL-3.0-or-later"));
    }
    for (const char *option : {"--help", "-h"}) {
        const CommandLine line = Read({option});
        EXPECT_EQ(line.action, CommandLine::Print) << option;
        EXPECT_TRUE(line.text.startsWith("Usage: tumblewick [options]\n"))
            << line.text.toStdString();
        EXPECT_TRUE(line.text.contains("--version"));
        EXPECT_TRUE(line.text.contains("/debug"));
        EXPECT_FALSE(line.text.contains("-platform")) << "Qt's own options are Qt's to explain";
    }
}

TEST(CommandLine, UnknownOptionsAndArgumentsAreRefusedWithAHint)
{
    for (const QStringList &arguments :
        {QStringList {"--bogus"}, QStringList {"-x"}, QStringList {"--version", "--bogus"},
            QStringList {"level5"}, QStringList {"--help=me"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const CommandLine line = Read(arguments);
        EXPECT_EQ(line.action, CommandLine::Refuse);
        EXPECT_TRUE(line.text.startsWith("tumblewick: ")) << line.text.toStdString();
        EXPECT_TRUE(line.text.endsWith("Try 'tumblewick --help' for more information.\n"));
    }
    EXPECT_TRUE(Read({"--bogus"}).text.contains("'bogus'"));
    EXPECT_TRUE(Read({"level5"}).text.contains("'level5'"));
    EXPECT_EQ(UsageError, 2);
}

TEST(CommandLine, TheDebugSwitchKeepsEveryFormTheHelpLogKnows)
{
    for (const char *form : {"-debug", "/debug", "-DEBUG", "/Debug", "--debug"}) {
        const CommandLine line = Read({form});
        EXPECT_EQ(line.action, CommandLine::Run) << form;
        ASSERT_EQ(line.helpLayerArguments.size(), 2);
        EXPECT_EQ(line.helpLayerArguments[1], "-debug");
    }
    EXPECT_EQ(Read({}).action, CommandLine::Run);
    EXPECT_EQ(Read({}).helpLayerArguments, QStringList {"/usr/bin/tumblewick"});
}

TEST(CommandLine, QtsOwnOptionsAreLeftToQt)
{
    for (const QStringList &arguments : {QStringList {"-platform", "offscreen"},
             QStringList {"-style=fusion"}, QStringList {"-style", "fusion", "-reverse"},
             QStringList {"--platform", "xcb", "-debug"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        EXPECT_EQ(Read(arguments).action, CommandLine::Run);
    }
}
