// SPDX-License-Identifier: MIT
// The host services: everything the machine and its natives reach outside the managed world.
// Slots 2 to 12, the file services, are declared in the I/O library so that it can implement
// them without knowing the machine.
// The slot order is the one the runtime has always had (slots 0 and 1 are the destructors);
// keep it. Paths are application paths: the host checks them and maps them below the
// application's own directory.
#pragma once

#include "IO/FileSystemServices.h"

#include <cstdint>
#include <string>

namespace zelmo {

class ExtensionStack;

class FrameworkServices : public FileSystemServices {
public:
    /* 13 */ virtual int32_t queryInteger13() = 0;
    /* 14 */ virtual int32_t queryInteger14() = 0;
    /* 15 */ virtual std::u16string getPathSeparator() = 0;
    /* 16 */ virtual std::u16string getPlatformName() = 0;
    /* 17 */ virtual int32_t getCurrentTimeMillis() = 0;
    /* 18 */ virtual int32_t getElapsedMillis() = 0;
    /* 19 */ virtual void invalidate(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    /* 20 */ virtual void log(const std::u16string& text) = 0;
    /* 21 */ virtual bool setLogFile(const std::u16string& path) = 0;
    /* 22 */ virtual int32_t queryString22(const std::u16string& text) = 0;
    // Ends the application with status 0; open files are flushed first.
    /* 23 */ virtual void exitApplication() = 0;
    /* 24 */ virtual void* getWidget() = 0;
    /* 25 */ virtual int32_t queryInteger25() = 0;
    /* 26 */ virtual int32_t queryInteger26(int32_t a, int32_t b) = 0;
    /* 27 */ virtual void notifyHost27(uint8_t a, int32_t b) = 0;
    /* 28 */ virtual void setScreenFlag(bool flag) = 0;
    /* 29 */ virtual void setOrientation(int32_t orientation) = 0;
    /* 30 */ virtual int32_t getOrientation() = 0;
    // Runs an operation of a device extension on the operand stack; an id the host does not
    // know raises VMException "Dll not supported".
    /* 31 */ virtual void callExtension(int32_t extension, int32_t operation,
                                        ExtensionStack& stack) = 0;
    /* 32 */ virtual void getScreenSize(int32_t& width, int32_t& height) = 0;
    /* 33 */ virtual void setIdle(bool idle) = 0;
    /* 34 */ virtual void registerScreenObject(uint32_t handle) = 0;
    /* 35 */ virtual void unregisterScreenObject(uint32_t handle) = 0;
    /* 36 */ virtual int32_t addTimer(uint32_t listener, int32_t delayMs) = 0;
    /* 37 */ virtual uint32_t removeTimer(int32_t timerId) = 0;
    /* 38 */ virtual bool updateTimerDelay(int32_t timerId, int32_t delayMs) = 0;
    /* 39 */ virtual int32_t queryInteger39() = 0;
    /* 40 */ virtual std::u16string getBaseDirectory() = 0;
};

} // namespace zelmo
