// SPDX-License-Identifier: MIT
#include "Torch/TorchExtension.h"

#include "VirtualMachine/VirtualMachine.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace zelmo {

bool TorchSettings::parseMode(const std::string& value)
{
    if (value == "virtual") {
        mode = Mode::Virtual;
    } else if (value == "absent") {
        mode = Mode::Absent;
    } else if (value.starts_with("device:") && value.size() > 7) {
        mode = Mode::Device;
        devicePath = value.substr(7);
    } else {
        return false;
    }
    return true;
}

TorchExtension::TorchExtension(VirtualMachine& machine, TorchSettings settings)
    : m_machine(machine), m_settings(std::move(settings))
{
}

TorchExtension::~TorchExtension()
{
    closeDevice();
}

void TorchExtension::fail(const std::string& message)
{
    m_machine.VirtualMachine::fatalError(message, m_machine.pc());
}

void TorchExtension::openDevice()
{
    if (m_settings.mode == TorchSettings::Mode::Absent)
        fail("Torch: Failed to open video device: " + m_settings.devicePath + ": " +
             std::strerror(ENODEV));
    if (m_videoFd >= 0) return;
    m_videoFd = ::open(m_settings.devicePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_videoFd < 0)
        fail("Torch: Failed to open video device: " + m_settings.devicePath + ": " +
             std::strerror(errno));
}

void TorchExtension::closeDevice()
{
    if (m_videoFd >= 0) ::close(m_videoFd);
    m_videoFd = -1;
}

void TorchExtension::setTorch(bool on)
{
    if (m_settings.mode == TorchSettings::Mode::Virtual) {
        m_virtualLampOn = on;
        return;
    }
    openDevice();
    v4l2_ext_control control{};
    control.id = kTorchControl;
    control.value = on ? 1 : 0;
    v4l2_ext_controls controls{};
    controls.ctrl_class = kCameraClass;
    controls.count = 1;
    controls.controls = &control;
    if (::ioctl(m_videoFd, VIDIOC_S_EXT_CTRLS, &controls) != 0)
        fail(std::string("Torch: Failed to set torch state to ") + (on ? "ON" : "OFF") + ": " +
             std::strerror(errno));
    if (!on) closeDevice(); // on keeps the device open, so that the light stays on
}

bool TorchExtension::queryTorch()
{
    if (m_settings.mode == TorchSettings::Mode::Virtual) return m_virtualLampOn;
    openDevice();
    v4l2_ext_control control{};
    control.id = kTorchControl;
    v4l2_ext_controls controls{};
    controls.ctrl_class = kCameraClass;
    controls.count = 1;
    controls.controls = &control;
    if (::ioctl(m_videoFd, VIDIOC_G_EXT_CTRLS, &controls) != 0)
        fail(std::string("Torch: Failed to fetch torch state: ") + std::strerror(errno));
    if (control.value == 0) closeDevice();
    return control.value != 0;
}

bool TorchExtension::queryCover()
{
    if (m_settings.coverPath.empty()) return true; // no cover to close
    FILE* file = std::fopen(m_settings.coverPath.c_str(), "rb");
    if (!file)
        fail("Torch: Failed to fetch camera cover state from: " + m_settings.coverPath + ": " +
             std::strerror(errno));
    char bytes[20] = {};
    const size_t count = std::fread(bytes, 1, 19, file);
    std::fclose(file);
    bytes[count] = '\0';
    // Exactly "open\n": a zero byte in the file ends the text, as it always has.
    return std::strcmp(bytes, "open\n") == 0;
}

void TorchExtension::call(int32_t operation, ExtensionStack& stack)
{
    switch (operation) {
    case 1:
        setTorch(true);
        return;
    case 2:
        setTorch(false);
        return;
    case 3:
        stack.pushWord(queryTorch() ? 1 : 0);
        return;
    case 4:
        stack.pushWord(queryCover() ? 1 : 0);
        return;
    default:
        fail("Torch: Unknown opcode!");
    }
}

} // namespace zelmo
