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
