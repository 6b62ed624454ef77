// SPDX-License-Identifier: MIT
// The command line of zelmo-vm and the application directory it selects.
#pragma once

#include <QString>
#include <string>

namespace zelmo {

struct RuntimeOptions {
    bool autoMode = false; // --auto: /opt/<program name>
    bool headless = false; // --headless: no window, no display server
    bool help = false;
    bool version = false;
    QString appDirectory;    // --app DIR
    bool mute = false;       // --mute: no sound at all
    int volumePercent = 100; // --volume P: linear gain of every clip, 0..100
    // Device extensions (see ExtensionSetup); an absent option stays a null string.
    QString accelerometer; // --accelerometer SOURCE
    QString tiltNeutral;   // --tilt-neutral X,Y,Z
    QString tiltStep;      // --tilt-step DEGREES
    QString location;      // --location A,B[,C[,D]] | error:N
    QString torch;         // --torch virtual|absent|device:PATH
    QString cameraCover;   // --camera-cover FILE
    QString programPath;   // argv[0]
    QString inputScript;   // --input FILE: scripted key and pointer events
    QString installApp;    // --install-app DIR: add DIR to the desktop's menu, then stop
    QString uninstallApp;  // --uninstall-app DIR: take it out again
    // The window (ignored with --headless).
    bool windowed = false;     // --windowed: a resizable window at 1x instead of full screen
    QString scale = "integer"; // --scale=integer|fit|stretch
    QString screenshotPath;    // --screenshot FILE: write the Nth frame there and exit 0
    int frames = 1;            // --frames N
    int timeoutSeconds = 0;    // --timeout SECONDS: end the run with status 124; 0: none
    std::string usageError;    // set when the command line cannot be used
};

RuntimeOptions parseRuntimeOptions(int argc, char** argv);
QString runtimeUsage();

// The application directory the options select, or an empty string with `error` set.
QString chooseApplicationDirectory(const RuntimeOptions& options, std::string& error);

} // namespace zelmo
