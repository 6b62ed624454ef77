// SPDX-License-Identifier: MIT
#include "host/RuntimeOptions.h"

#include <QDir>
#include <QFileInfo>

namespace zelmo {

namespace {

// The options that take a value, as "--name VALUE" or "--name=VALUE".
struct ValueOption {
    const char* name;
    QString RuntimeOptions::*field;
};
constexpr ValueOption kValueOptions[] = {
    {"--accelerometer", &RuntimeOptions::accelerometer},
    {"--tilt-neutral", &RuntimeOptions::tiltNeutral},
    {"--tilt-step", &RuntimeOptions::tiltStep},
    {"--location", &RuntimeOptions::location},
    {"--torch", &RuntimeOptions::torch},
    {"--camera-cover", &RuntimeOptions::cameraCover},
};

} // namespace

RuntimeOptions parseRuntimeOptions(int argc, char** argv)
{
    RuntimeOptions options;
    options.programPath = argc > 0 ? QString::fromLocal8Bit(argv[0]) : QString();
    // "--auto" counts only as the first argument; unknown arguments are ignored.
    if (argc > 1 && QByteArray(argv[1]) == "--auto") options.autoMode = true;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--headless")
            options.headless = true;
        else if (arg == "--help" || arg == "-h")
            options.help = true;
        else if (arg == "--version")
            options.version = true;
        else if (arg == "--mute")
            options.mute = true;
        else if (arg == "--volume" || arg.startsWith("--volume=")) {
            const QByteArray value =
                arg == "--volume" ? (i + 1 < argc ? QByteArray(argv[++i]) : "") : arg.mid(9);
            bool number = false;
            const int percent = value.toInt(&number);
            if (!number || percent < 0 || percent > 100)
                options.usageError = "--volume needs a number from 0 to 100";
            else
                options.volumePercent = percent;
        } else if (arg == "--app" || arg.startsWith("--app=")) {
            // "--app" names a directory; without one it is a mistake, not the current directory.
            const QByteArray value =
                arg == "--app" ? (i + 1 < argc ? QByteArray(argv[++i]) : "") : arg.mid(6);
            if (value.isEmpty()) options.usageError = "--app needs a directory";
            options.appDirectory = QString::fromLocal8Bit(value);
        } else {
            for (const ValueOption& option : kValueOptions) {
                const QByteArray name(option.name);
                if (arg != name && !arg.startsWith(name + '=')) continue;
                const QByteArray value = arg == name ? (i + 1 < argc ? QByteArray(argv[++i]) : "")
                                                     : arg.mid(name.size() + 1);
                if (value.isEmpty()) options.usageError = name.toStdString() + " needs a value";
                options.*option.field = QString::fromLocal8Bit(value);
            }
        }
    }
    return options;
}

QString runtimeUsage()
{
    return QStringLiteral(
        "Usage: zelmo-vm [--auto] [--app DIR] [--headless] [--help] [--version] [--mute]\n"
        "                [--volume P] [device options]\n"
        "Runs the application image index.mcb of an application directory.\n\n"
        "  --auto       use /opt/<name of this program> as the application directory\n"
        "               (only as the first argument)\n"
        "  --app DIR    use DIR as the application directory (default: the current directory)\n"
        "  --headless   run without a window or display server; the application's timers\n"
        "               and logic run, drawing is skipped. Ends when the application exits\n"
        "               or has no timer left that could wake it.\n"
        "  --mute       play no sound; clips are accepted and dropped\n"
        "  --volume P   play every clip at P percent (0..100, linear gain; default 100)\n"
        "  --help       show this text\n"
        "  --version    show the version\n"
        "\nDevice extensions (a desktop has no such devices; these stand in for them):\n"
        "  --accelerometer SOURCE   where accelerometer readings come from:\n"
        "               device   the device's sysfs coord file (default when it exists)\n"
        "               FILE     a file in the same format (\"x y z\" in milli-g), read\n"
        "                        afresh on every reading\n"
        "               X,Y,Z    fixed values in g\n"
        "               virtual  a pose the window tilts with Ctrl+arrows (Ctrl+0 resets);\n"
        "                        the default otherwise (headless: the neutral pose)\n"
        "               Also taken from ZELMO_ACCELEROMETER; the option wins.\n"
        "  --tilt-neutral X,Y,Z     the virtual pose's neutral vector in g (default 0,0,-1:\n"
        "               flat, screen up); it is scaled to 1 g\n"
        "  --tilt-step DEGREES      how far one Ctrl+arrow tilts the pose (default 5)\n"
        "  --location A,B[,C[,D]]   a fixed position: latitude, longitude (degrees), altitude,\n"
        "               accuracy (metres); missing values are 0. A started request gets it at\n"
        "               once and then every interval. Also ZELMO_LOCATION; the option wins.\n"
        "  --location error:N       every started request gets location error N\n"
        "               (default: no position source; requests never deliver)\n"
        "  --torch MODE             virtual (default: an in-memory lamp), absent (the torch\n"
        "               cannot be opened), or device:PATH (a V4L2 device's torch control)\n"
        "  --camera-cover FILE      the camera cover state file (\"open\\n\" when open);\n"
        "               without it the cover is open\n");
}

QString chooseApplicationDirectory(const RuntimeOptions& options, std::string& error)
{
    if (!options.appDirectory.isEmpty()) return QDir(options.appDirectory).absolutePath();
    if (options.autoMode) {
        const QByteArray base = QFileInfo(options.programPath).fileName().toLocal8Bit();
        const QByteArray dir = "/opt/" + base;
        if (dir.size() > 4096) {
            error = base.toStdString() + ": VM basename too long\n";
            return {};
        }
        return QString::fromLocal8Bit(dir);
    }
    return QDir::currentPath();
}

} // namespace zelmo
