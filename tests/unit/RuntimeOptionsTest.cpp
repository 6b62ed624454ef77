// SPDX-License-Identifier: MIT
// Choosing the application directory and the device stand-ins from the command line, and the
// scripted input file.
#include "host/RuntimeOptions.h"
#include "host/ExtensionSetup.h"
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

TEST(RuntimeOptions, FlagsAndValuesInBothSpellings)
{
    const RuntimeOptions options = parse(
        {"zelmo-vm", "--headless", "--help", "--version", "--mute", "--volume", "50", "--windowed",
         "--scale", "fit", "--screenshot=/tmp/a.png", "--frames", "3", "--timeout=7"});
    EXPECT_TRUE(options.usageError.empty()) << options.usageError;
    EXPECT_TRUE(options.headless && options.help && options.version && options.mute);
    EXPECT_TRUE(options.windowed);
    EXPECT_FALSE(options.autoMode);
    EXPECT_EQ(options.volumePercent, 50);
    EXPECT_EQ(options.scale, "fit");
    EXPECT_EQ(options.screenshotPath, "/tmp/a.png");
    EXPECT_EQ(options.frames, 3);
    EXPECT_EQ(options.timeoutSeconds, 7);
    EXPECT_EQ(parse({"zelmo-vm", "--volume=0"}).volumePercent, 0);
}

TEST(RuntimeOptions, MissingOrBadValuesAreUsageErrors)
{
    const std::string volume = "--volume needs a number from 0 to 100";
    // An empty expectation: any message. --app without a directory is never the current one.
    const std::vector<std::pair<std::vector<std::string>, std::string>> rows = {
        {{"--headless", "--app"}, "--app needs a directory"},
        {{"--app="}, "--app needs a directory"},
        {{"--volume", "101"}, volume},
        {{"--volume", "-1"}, volume},
        {{"--volume", "half"}, volume},
        {{"--volume"}, volume},
        {{"--torch"}, "--torch needs a value"},
        {{"--input"}, "--input needs a file"},
        {{"--install-app="}, "--install-app needs a directory"},
        {{"--scale=huge"}, ""},
        {{"--frames", "0"}, ""},
        {{"--timeout=99999999999"}, ""},
        {{"--screenshot="}, ""}};
    for (const auto& [args, message] : rows) {
        std::vector<std::string> argv{"zelmo-vm"};
        argv.insert(argv.end(), args.begin(), args.end());
        const std::string error = parse(argv).usageError;
        EXPECT_FALSE(error.empty()) << args[0];
        if (!message.empty()) {
            EXPECT_EQ(error, message) << args[0];
        }
    }
}

TEST(RuntimeOptions, DeviceOptionsAreCheckedAndWinOverTheEnvironment)
{
    qputenv("ZELMO_ACCELEROMETER", "9,9,9");
    qputenv("ZELMO_LOCATION", "error:3");
    std::string error;
    auto settings = extensionSettings(
        parse({"zelmo-vm", "--accelerometer=0.5,0,-1", "--torch", "device:/dev/null"}), error);
    ASSERT_TRUE(settings) << error;
    EXPECT_EQ(settings->accelerometer->read(), (RawAcceleration{0, 500, -1000}));
    EXPECT_EQ(settings->location.mode, PositionSourceSettings::Mode::Error); // from the variable
    EXPECT_EQ(settings->location.errorCode, 3);
    EXPECT_EQ(settings->torch.mode, TorchSettings::Mode::Device);
    EXPECT_EQ(settings->torch.devicePath, "/dev/null");
    settings = extensionSettings(parse({"zelmo-vm", "--location", "1,2,3"}), error);
    ASSERT_TRUE(settings) << error;
    EXPECT_EQ(settings->accelerometer->read(), (RawAcceleration{9000, 9000, 9000}));
    EXPECT_EQ(settings->location.values[2], int64_t{3} << 32);
    EXPECT_EQ(settings->location.values[3], 0);
    qunsetenv("ZELMO_ACCELEROMETER");
    qunsetenv("ZELMO_LOCATION");
    settings = extensionSettings(parse({"zelmo-vm", "--accelerometer", "/missing/coord", "--torch",
                                        "absent", "--camera-cover", "cover"}),
                                 error);
    ASSERT_TRUE(settings) << error;
    EXPECT_EQ(settings->accelerometer->read(), std::nullopt); // a coord file that is not there
    EXPECT_EQ(settings->torch.mode, TorchSettings::Mode::Absent);
    EXPECT_EQ(settings->torch.coverPath, "cover");
    // The neutral vector is scaled to 1 g (the raw triple is Y, X, Z).
    settings = extensionSettings(parse({"zelmo-vm", "--tilt-neutral", "0,3,-4"}), error);
    ASSERT_TRUE(settings) << error;
    EXPECT_EQ(settings->accelerometer->read(), (RawAcceleration{600, 0, -800}));

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"zelmo-vm", "--torch", "lamp"},
          {"zelmo-vm", "--torch", "device:"},
          {"zelmo-vm", "--location", "1"},
          {"zelmo-vm", "--location", "1,2,3,4,5"},
          {"zelmo-vm", "--location", "error:x"},
          {"zelmo-vm", "--location", "1e300,0"},
          {"zelmo-vm", "--accelerometer", "1,2"},
          {"zelmo-vm", "--tilt-neutral", "0,0,0"},
          {"zelmo-vm", "--tilt-step", "-5"}})
        EXPECT_FALSE(extensionSettings(parse(bad), error)) << bad[1] << " " << bad[2];
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

    for (const char* bad : {"-1 key press 65", "2147483648 key press 65", "10 key press",
                            "10 key press 65 66", "10 key hold 65", "10 pointer press 1",
                            "10 pointer drag 1 2", "10 pointer press 1 2147483648", "10 wheel up 1",
                            "ten key press 65", "10 key press 0x41"}) {
        error.clear();
        EXPECT_TRUE(parseInputScript(QByteArray("1 key press 65\n") + bad, error).empty()) << bad;
        EXPECT_EQ(error, std::string("line 2: not an input event: ") + bad);
    }
}
