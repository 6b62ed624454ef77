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
        else {
            // Options with a value, as "--name VALUE" or "--name=VALUE"; a missing value is a
            // mistake, never the current directory.
            struct Valued {
                const char* name;
                QString* value;
            };
            const Valued valued[] = {{"--app", &options.appDirectory},
                                     {"--input", &options.inputScript},
                                     {"--install-app", &options.installApp},
                                     {"--uninstall-app", &options.uninstallApp}};
            for (const Valued& option : valued) {
                const QByteArray name(option.name);
                if (arg != name && !arg.startsWith(name + '=')) continue;
                const QByteArray value = arg == name ? (i + 1 < argc ? QByteArray(argv[++i]) : "")
                                                     : arg.mid(name.size() + 1);
                if (value.isEmpty())
                    options.usageError = name.toStdString() + (option.value == &options.inputScript
                                                                   ? " needs a file"
                                                                   : " needs a directory");
                *option.value = QString::fromLocal8Bit(value);
                break;
            }
        }
    }
    return options;
}

QString runtimeUsage()
{
    return QStringLiteral(
        "Usage: zelmo-vm [--auto] [--app DIR] [--headless] [--input FILE] [--help] [--version]\n"
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
