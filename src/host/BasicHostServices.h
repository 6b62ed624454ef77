// SPDX-License-Identifier: MIT
// The host services every host answers the same way and that need nothing but the C++ library:
// logging to standard error, the clocks, orientation and screen size, and the slots that answer
// nothing. HostServices (Qt: files, timers, extensions) builds on them, and so does zelmo-vm's
// lean run (src/lean), which links no Qt at all; sharing them is what keeps the two runs alike.
#pragma once

#include "VirtualMachine/FrameworkServices.h"

#include <cstdint>
#include <string>

namespace zelmo {

class BasicHostServices : public FrameworkServices {
public:
    explicit BasicHostServices(std::u16string baseDirectory);

    const std::u16string& baseDirectory() const { return m_baseDirectory; }
    // Records the start time that getElapsedMillis counts from.
    void markStarted();

    int32_t reservedFileService() override { return 0; }
    int32_t queryInteger13() override { return 0; }
    int32_t queryInteger14() override { return 0; }
    std::u16string getPathSeparator() override { return u"/"; }
    std::u16string getPlatformName() override { return u"maemo"; }
    int32_t getCurrentTimeMillis() override;
    int32_t getElapsedMillis() override;
    // "LOG: " and the text in UTF-8 on standard error, one line each.
    void log(const std::u16string& text) override;
    int32_t queryString22(const std::u16string&) override { return 0; }
    void* getWidget() override { return nullptr; }
    int32_t queryInteger25() override { return 0; }
    int32_t queryInteger26(int32_t, int32_t) override { return 0; }
    void notifyHost27(uint8_t, int32_t) override {}
    void setScreenFlag(bool) override {}
    void setOrientation(int32_t orientation) override;
    int32_t getOrientation() override { return m_orientation; }
    void getScreenSize(int32_t& width, int32_t& height) override;
    void setIdle(bool) override {}
    void registerScreenObject(uint32_t) override {}
    void unregisterScreenObject(uint32_t) override {}
    int32_t queryInteger39() override { return 0; }
    std::u16string getBaseDirectory() override { return m_baseDirectory; }

    // Microseconds since the epoch, from the system time of day.
    static int64_t nowMicroseconds();

protected:
    // The window repaints when the orientation changes; a host without one has nothing to do.
    virtual void orientationChanged() {}

private:
    std::u16string m_baseDirectory;
    int64_t m_startMicros = 0;
    int32_t m_orientation = 2; // landscape
};

} // namespace zelmo
