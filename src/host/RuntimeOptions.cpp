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

// The value of "--name VALUE" or "--name=VALUE" at argv[i] (advancing i past a separate value);
// a null string when argv[i] is not that option, an empty one when its value is missing.
QString optionValue(int argc, char** argv, int& i, const char* name)
{
    const QByteArray arg(argv[i]);
    const QByteArray prefix = QByteArray(name) + "=";
    if (arg.startsWith(prefix)) return QString::fromLocal8Bit(arg.mid(prefix.size()));
    if (arg != name) return {};
    if (i + 1 >= argc) return QStringLiteral("");
    return QString::fromLocal8Bit(argv[++i]);
}

// A whole number from `minimum` up to a million, or `minimum` with `error` set.
int countValue(const QString& value, int minimum, const char* name, std::string& error)
{
    bool ok = false;
    const int count = value.toInt(&ok);
    if (ok && count >= minimum && count <= 1000000) return count;
    error = QStringLiteral("%1 takes a whole number from %2, not '%3'")
                .arg(name)
                .arg(minimum)
                .arg(value)
                .toStdString();
    return minimum;
}
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
        } else if (arg == "--windowed")
            options.windowed = true;
        else if (const QString value = optionValue(argc, argv, i, "--scale"); !value.isNull())
            options.scale = value;
        else if (const QString value = optionValue(argc, argv, i, "--screenshot"); !value.isNull())
            options.screenshotPath = value;
        else if (const QString value = optionValue(argc, argv, i, "--frames"); !value.isNull())
            options.frames = countValue(value, 1, "--frames", options.usageError);
        else if (const QString value = optionValue(argc, argv, i, "--timeout"); !value.isNull())
            options.timeoutSeconds = countValue(value, 1, "--timeout", options.usageError);
        else if (const QString value = optionValue(argc, argv, i, "--input"); !value.isNull()) {
            options.inputScript = value;
            if (value.isEmpty()) options.usageError = "--input needs a file";
        } else if (const QString value = optionValue(argc, argv, i, "--install-app");
                   !value.isNull()) {
            options.installApp = value;
            if (value.isEmpty()) options.usageError = "--install-app needs a directory";
        } else if (const QString value = optionValue(argc, argv, i, "--uninstall-app");
                   !value.isNull()) {
            options.uninstallApp = value;
            if (value.isEmpty()) options.usageError = "--uninstall-app needs a directory";
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
    if (!options.screenshotPath.isNull() && options.screenshotPath.isEmpty())
        options.usageError = "--screenshot takes a file name";
    if (options.scale != "integer" && options.scale != "fit" && options.scale != "stretch")
        options.usageError =
            "--scale takes integer, fit or stretch, not '" + options.scale.toStdString() + "'";
    return options;
}

QString runtimeUsage()
{
    return QStringLiteral(
        "Usage: zelmo-vm [--auto] [--app DIR] [--headless] [--windowed] [--scale=MODE]\n"
        "                [--screenshot FILE [--frames N]] [--timeout SECONDS] [--help] "
        "[--version]\n"
        "                [--mute] [--volume P] [--input FILE] [device options]\n"
        "  or:  zelmo-vm --install-app DIR | --uninstall-app DIR\n"
        "Runs the application image index.mcb of an application directory.\n\n"
        "  --auto       use /opt/<name of this program> as the application directory\n"
        "               (only as the first argument)\n"
        "  --app DIR    use DIR as the application directory (default: the current directory)\n"
        "  --headless   run without a window or display server; the application's timers\n"
        "               and logic run, and OpenGL drawing goes to an offscreen 800 x 480\n"
        "               screen. Ends when the application exits or has no timer or\n"
        "               repaint left that could wake it.\n"
        "  --windowed   open a resizable window at the application's own size instead of\n"
        "               full screen (F11 switches between the two)\n"
        "  --scale=MODE how the 800x480 screen fills the window: integer (default: the\n"
        "               largest whole factor, black borders), fit (keeps the aspect) or stretch\n"
        "  --screenshot FILE  write the application's Nth frame (--frames N, default 1) to\n"
        "               FILE as PNG and exit; F12 saves one into the Pictures folder\n"
        "  --timeout SECONDS  end the run after that long with status 124\n"
        "  --mute       play no sound; clips are accepted and dropped\n"
        "  --volume P   play every clip at P percent (0..100, linear gain; default 100)\n"
        "  --input FILE  deliver the key and pointer events listed in FILE at their\n"
        "               milliseconds after the start, one per line:\n"
        "                 MS pointer press|release|move X Y\n"
        "                 MS key press|release CODE   (Qt key number: 65 is A)\n"
        "               blank lines and lines starting with # are skipped\n"
        "  --install-app DIR    add the application directory DIR to the desktop's menu: a\n"
        "               desktop entry (and its icon) below $XDG_DATA_HOME\n"
        "  --uninstall-app DIR  remove what --install-app wrote for DIR\n"
        "  --help       show this text\n"
        "  --version    show the version\n"
        "\nDevice extensions (a desktop has no such devices; these stand in for them):\n"
        "  --accelerometer SOURCE   where accelerometer readings come from:\n"
        "               device   the device's sysfs coord file (default when it exists)\n"
        "               FILE     a file in the same format (Y X Z in milli-g, as the\n"
        "                        device orders them), read afresh on every reading\n"
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
        "               without it the cover is open\n"
        "\nAn application directory that is read-only still runs: what the application writes\n"
        "goes to $XDG_DATA_HOME/zelmo/<name>-<hash of its path>/, which reads consult first.\n");
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
