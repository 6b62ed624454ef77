// SPDX-License-Identifier: MIT
#include "host/RuntimeOptions.h"

#include <QDir>
#include <QFileInfo>

namespace zelmo {

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
        }
    }
    return options;
}

QString runtimeUsage()
{
    return QStringLiteral(
        "Usage: zelmo-vm [--auto] [--app DIR] [--headless] [--mute] [--volume P] [--help]\n"
        "                [--version]\n"
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
        "  --version    show the version\n");
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
