// SPDX-License-Identifier: MIT
#include "host/RuntimeOptions.h"

#include <QDir>
#include <QFileInfo>

namespace zelmo {

namespace {
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
        else if (arg == "--app" || arg.startsWith("--app=")) {
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
        }
    }
    if (!options.screenshotPath.isNull() && options.screenshotPath.isEmpty())
        options.usageError = "--screenshot takes a file name";
    if (options.headless && !options.screenshotPath.isEmpty())
        options.usageError = "--screenshot needs the window, not --headless";
    if (options.scale != "integer" && options.scale != "fit" && options.scale != "stretch")
        options.usageError =
            "--scale takes integer, fit or stretch, not '" + options.scale.toStdString() + "'";
    return options;
}

QString runtimeUsage()
{
    return QStringLiteral(
        "Usage: zelmo-vm [--auto] [--app DIR] [--headless] [--windowed] [--scale=MODE]\n"
        "                [--screenshot FILE [--frames N]] [--timeout SECONDS] [--input FILE]\n"
        "                [--help] [--version]\n"
        "  or:  zelmo-vm --install-app DIR | --uninstall-app DIR\n"
        "Runs the application image index.mcb of an application directory.\n\n"
        "  --auto               use /opt/<name of this program> as the application directory\n"
        "                       (only as the first argument)\n"
        "  --app DIR            use DIR as the application directory (default: the current\n"
        "                       directory)\n"
        "  --headless           run without a window or display server; the application's\n"
        "                       timers and logic run, drawing is skipped. Ends when the\n"
        "                       application exits or nothing is left that could wake it: no\n"
        "                       timer and no scripted input to come.\n"
        "  --windowed           open a resizable window at the application's own size\n"
        "                       instead of full screen (F11 switches between the two)\n"
        "  --scale=MODE         how the 800x480 screen fills the window: integer (default:\n"
        "                       the largest whole factor, black borders), fit (keeps the\n"
        "                       aspect) or stretch\n"
        "  --screenshot FILE    write the application's Nth frame (--frames N, default 1) to\n"
        "                       FILE as PNG and exit; F12 saves one into the Pictures folder\n"
        "  --timeout SECONDS    end the run after that long with status 124\n"
        "  --input FILE         deliver the key and pointer events listed in FILE at their\n"
        "                       milliseconds after the start, one per line:\n"
        "                         MS pointer press|release|move X Y\n"
        "                         MS key press|release CODE   (Qt key number: 65 is A)\n"
        "                       blank lines and lines starting with # are skipped\n"
        "  --install-app DIR    add the application directory DIR to the desktop's menu: a\n"
        "                       desktop entry (and its icon) below $XDG_DATA_HOME\n"
        "  --uninstall-app DIR  remove what --install-app wrote for DIR\n"
        "  --help               show this text\n"
        "  --version            show the version\n\n"
        "An application directory that is read-only still runs: what the application writes\n"
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
