// SPDX-License-Identifier: MIT
// Choosing the application directory from the command line, and the scripted input file.
#include "host/RuntimeOptions.h"
#include "host/InputScript.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace zelmo;

namespace {

RuntimeOptions parse(std::vector<std::string> args)
{
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    return parseRuntimeOptions(static_cast<int>(argv.size()), argv.data());
}

QString directoryFor(std::vector<std::string> args, std::string* error = nullptr)
{
    std::string message;
    const QString directory = chooseApplicationDirectory(parse(std::move(args)), message);
    if (error) *error = message;
    return directory;
}

} // namespace

TEST(RuntimeOptions, AutoSelectsOptByProgramNameOnlyAsTheFirstArgument)
{
    EXPECT_EQ(directoryFor({"/usr/bin/demo", "--auto"}), QStringLiteral("/opt/demo"));
    EXPECT_EQ(directoryFor({"demo", "--auto", "ignored", "--unknown"}),
              QStringLiteral("/opt/demo"));
    // Anywhere else, or absent: the current directory.
    EXPECT_EQ(directoryFor({"/usr/bin/demo", "--headless", "--auto"}), QDir::currentPath());
    EXPECT_EQ(directoryFor({"/usr/bin/demo"}), QDir::currentPath());
    // --app wins over both.
    EXPECT_EQ(directoryFor({"/usr/bin/demo", "--auto", "--app", "/srv/app"}),
              QStringLiteral("/srv/app"));
    EXPECT_EQ(directoryFor({"x", "--app=/srv/other"}), QStringLiteral("/srv/other"));
}

TEST(RuntimeOptions, AProgramNameTooLongForThePathIsRefused)
{
    const std::string name(4092, 'n'); // "/opt/" + 4092 characters = 4097 > 4096
    std::string error;
    EXPECT_TRUE(directoryFor({"/usr/bin/" + name, "--auto"}, &error).isEmpty());
    EXPECT_EQ(error, name + ": VM basename too long\n");
    const std::string fits(4091, 'n');
    EXPECT_EQ(directoryFor({fits, "--auto"}), QString::fromStdString("/opt/" + fits));
}

TEST(RuntimeOptions, FlagsAreRecognised)
{
    const RuntimeOptions options = parse({"zelmo-vm", "--headless", "--help", "--version"});
    EXPECT_TRUE(options.headless);
    EXPECT_TRUE(options.help);
    EXPECT_TRUE(options.version);
    EXPECT_FALSE(options.autoMode);
    EXPECT_TRUE(options.usageError.empty());
    // --app without a directory is a usage error, never the current directory.
    EXPECT_EQ(parse({"zelmo-vm", "--headless", "--app"}).usageError, "--app needs a directory");
    EXPECT_EQ(parse({"zelmo-vm", "--app="}).usageError, "--app needs a directory");
    EXPECT_EQ(parse({"zelmo-vm", "--app", ""}).usageError, "--app needs a directory");
}

TEST(RuntimeOptions, WindowOptionsTakeTheirValuesInBothSpellings)
{
    const RuntimeOptions options =
        parse({"zelmo-vm", "--windowed", "--scale", "fit", "--screenshot=/tmp/a.png", "--frames",
               "3", "--timeout=7"});
    EXPECT_TRUE(options.usageError.empty()) << options.usageError;
    EXPECT_TRUE(options.windowed);
    EXPECT_EQ(options.scale, "fit");
    EXPECT_EQ(options.screenshotPath, "/tmp/a.png");
    EXPECT_EQ(options.frames, 3);
    EXPECT_EQ(options.timeoutSeconds, 7);
    const RuntimeOptions defaults = parse({"zelmo-vm"});
    EXPECT_EQ(defaults.scale, "integer");
    EXPECT_EQ(defaults.frames, 1);
    EXPECT_EQ(defaults.timeoutSeconds, 0);
    EXPECT_TRUE(defaults.screenshotPath.isEmpty());
}

TEST(RuntimeOptions, BadWindowOptionValuesAreReported)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"zelmo-vm", "--scale=huge"},
          {"zelmo-vm", "--frames", "0"},
          {"zelmo-vm", "--frames=x"},
          {"zelmo-vm", "--timeout", "-1"},
          {"zelmo-vm", "--timeout=99999999999"},
          {"zelmo-vm", "--screenshot"},
          {"zelmo-vm", "--screenshot="},
          {"zelmo-vm", "--headless", "--screenshot", "a.png"}})
        EXPECT_FALSE(parse(args).usageError.empty()) << args.back();
}

TEST(InputScript, EventsAreReadInTimeOrderAndBadLinesAreNamed)
{
    std::string error;
    const auto events = parseInputScript("# strokes\n"
                                         "30 key press 65\n"
                                         "\n"
                                         "  10   pointer press 5 -7  \n"
                                         "30 pointer move 2147483647 0\n"
                                         "20 key release 16777216\n"
                                         "10 pointer release 5 6\n",
                                         error);
    EXPECT_EQ(error, "");
    ASSERT_EQ(events.size(), 5u);
    using Kind = ScriptedEvent::Kind;
    // Equal times keep the file's order.
    const std::vector<std::tuple<int32_t, Kind, int32_t, int32_t, int32_t>> expected = {
        {10, Kind::Pointer, 0, 5, -7},
        {10, Kind::Pointer, 1, 5, 6},
        {20, Kind::Key, 0, 16777216, 0},
        {30, Kind::Key, 1, 65, 0},
        {30, Kind::Pointer, 6, 2147483647, 0}};
    for (size_t i = 0; i < expected.size(); ++i) {
        const ScriptedEvent& e = events[i];
        EXPECT_EQ(std::make_tuple(e.atMs, e.kind, e.type, e.x, e.y), expected[i]) << i;
    }
    EXPECT_EQ(parse({"zelmo-vm", "--input"}).usageError, "--input needs a file");
    EXPECT_EQ(parse({"zelmo-vm", "--install-app="}).usageError, "--install-app needs a directory");

    for (const char* bad : {"-1 key press 65", "2147483648 key press 65", "10 key press",
                            "10 key press 65 66", "10 key hold 65", "10 pointer press 1",
                            "10 pointer drag 1 2", "10 pointer press 1 2147483648", "10 wheel up 1",
                            "ten key press 65", "10 key press 0x41"}) {
        error.clear();
        EXPECT_TRUE(parseInputScript(QByteArray("1 key press 65\n") + bad, error).empty()) << bad;
        EXPECT_EQ(error, std::string("line 2: not an input event: ") + bad);
    }
}
