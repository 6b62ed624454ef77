// SPDX-License-Identifier: MIT
// Choosing the application directory from the command line.
#include "host/RuntimeOptions.h"

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

TEST(RuntimeOptions, SoundOptions)
{
    EXPECT_FALSE(parse({"zelmo-vm"}).mute);
    EXPECT_EQ(parse({"zelmo-vm"}).volumePercent, 100);
    EXPECT_TRUE(parse({"zelmo-vm", "--mute"}).mute);
    EXPECT_EQ(parse({"zelmo-vm", "--volume", "50"}).volumePercent, 50);
    EXPECT_EQ(parse({"zelmo-vm", "--volume=0"}).volumePercent, 0);
    for (const char* bad : {"101", "-1", "half", ""})
        EXPECT_EQ(parse({"zelmo-vm", "--volume", bad}).usageError,
                  "--volume needs a number from 0 to 100")
            << bad;
    EXPECT_EQ(parse({"zelmo-vm", "--volume"}).usageError, "--volume needs a number from 0 to 100");
}
