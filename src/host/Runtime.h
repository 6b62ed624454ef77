// SPDX-License-Identifier: MIT
// Start-up and the event loop glue shared by both front-ends: choosing the application
// directory, loading index.mcb, and turning the ways an invocation can end (exit request, fatal
// error, escaped managed error) into an orderly exit status.
#pragma once

#include <QString>
#include <functional>
#include <string>

namespace zelmo {

class HostServices;

struct RuntimeOptions {
    bool autoMode = false; // --auto: /opt/<program name>
    bool headless = false; // --headless: no window, no display server
    bool help = false;
    bool version = false;
    QString appDirectory;   // --app DIR
    QString programPath;    // argv[0]
    std::string usageError; // set when the command line cannot be used
};

RuntimeOptions parseRuntimeOptions(int argc, char** argv);
QString runtimeUsage();

// The application directory the options select, or an empty string with `error` set.
QString chooseApplicationDirectory(const RuntimeOptions& options, std::string& error);

// Loads index.mcb from the host's base directory and runs ::global::init and main.
// Returns -1 when the application may go on running, else the exit status.
int startApplication(HostServices& host);

// Runs a call into the machine from the event loop; when the application ends (exit request,
// fatal error) it quits the event loop with the right status and returns false.
bool deliverToMachine(const std::function<void()>& call);

// True once an event delivery ended the application; its status.
bool applicationEnded();
int applicationExitStatus();

} // namespace zelmo
