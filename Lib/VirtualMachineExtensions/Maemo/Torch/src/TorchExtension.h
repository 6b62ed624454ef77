// SPDX-License-Identifier: MIT
// Extension 36: the torch (the camera's flash LED used as a lamp) and the camera lens cover.
// Ops 1 and 2 switch the torch on and off, op 3 pushes whether it is on, op 4 whether the cover
// is open. Every failure ends the run through the fatal error report with its message.
//
// A desktop rarely has such a lamp, and its /dev/video0 is usually a webcam whose control with
// the torch's id means something else, so no device is opened unless asked for: the lamp is
// virtual by default, can be declared absent, or be a V4L2 device at a given path.
#pragma once

#include "VirtualMachineExtensions/Extension.h"

#include <string>

namespace zelmo {

struct TorchSettings {
    enum class Mode { Virtual, Absent, Device };
    Mode mode = Mode::Virtual;
    std::string devicePath = "/dev/video0"; // Device: the V4L2 device
    std::string coverPath;                  // the cover state file; empty: always open

    // "virtual", "absent" or "device:PATH"; false when the value names none of them.
    bool parseMode(const std::string& value);
};

class TorchExtension : public Extension {
public:
    // The V4L2 control of the torch, in the camera class.
    static constexpr uint32_t kCameraClass = 0x009A0000;
    static constexpr uint32_t kTorchControl = 0x009A0910;

    TorchExtension(VirtualMachine& machine, TorchSettings settings);
    ~TorchExtension() override;
    void call(int32_t operation, ExtensionStack& stack) override;

private:
    void setTorch(bool on);
    bool queryTorch();
    bool queryCover();
    void openDevice();
    void closeDevice();
    // The fatal report; does not return.
    [[noreturn]] void fail(const std::string& message);

    VirtualMachine& m_machine;
    TorchSettings m_settings;
    int m_videoFd = -1;
    bool m_virtualLampOn = false;
};

} // namespace zelmo
