// SPDX-License-Identifier: MIT
#include "host/ExtensionSetup.h"

#include "Accelerometer/AccelerometerExtension.h"
#include "Location/CLocationWrapper.h"
#include "host/ApplicationSession.h"
#include "host/HostServices.h"
#include "host/RuntimeOptions.h"

#include <QFileInfo>
#include <QtGlobal>
#include <cmath>

namespace zelmo {

namespace {

// The option's value, or the environment variable's when the option is absent.
std::string optionOrEnvironment(const QString& option, const char* variable)
{
    if (!option.isNull()) return option.toStdString();
    return qEnvironmentVariable(variable).toStdString();
}

} // namespace

std::optional<ExtensionSettings> extensionSettings(const RuntimeOptions& options,
                                                   std::string& error)
{
    ExtensionSettings settings;

    VirtualPose::Vector neutral = VirtualPose::kFlat;
    if (!options.tiltNeutral.isNull()) {
        const auto g = parseTriple(options.tiltNeutral.toStdString());
        if (!g || std::hypot((*g)[0], (*g)[1], (*g)[2]) == 0.0) {
            error = "--tilt-neutral needs three numbers X,Y,Z, not all 0";
            return std::nullopt;
        }
        neutral = {(*g)[0], (*g)[1], (*g)[2]};
    }
    double step = VirtualPose::kDefaultStepDegrees;
    if (!options.tiltStep.isNull()) {
        bool ok = false;
        step = options.tiltStep.toDouble(&ok);
        if (!ok || !(step > 0.0 && step <= 180.0)) {
            error = "--tilt-step needs degrees above 0 and up to 180";
            return std::nullopt;
        }
    }
    settings.pose = std::make_shared<VirtualPose>(neutral, step);

    std::string source = optionOrEnvironment(options.accelerometer, "ZELMO_ACCELEROMETER");
    if (source.empty())
        source = QFileInfo::exists(QString::fromLatin1(CoordFileSource::kDevicePath)) ? "device"
                                                                                      : "virtual";
    settings.accelerometer = makeAccelerometerSource(source, settings.pose, error);
    if (!settings.accelerometer) return std::nullopt;

    const std::string location = optionOrEnvironment(options.location, "ZELMO_LOCATION");
    if (!location.empty() && !settings.location.parse(location)) {
        error = "--location needs A,B[,C[,D]] or error:N, not \"" + location + "\"";
        return std::nullopt;
    }

    if (!options.torch.isNull() && !settings.torch.parseMode(options.torch.toStdString())) {
        error = "--torch needs virtual, absent or device:PATH";
        return std::nullopt;
    }
    settings.torch.coverPath = options.cameraCover.toStdString();
    return settings;
}

MachineDelivery sessionDelivery(HostServices& host)
{
    // Calls from the event loop go through the session, which turns an exit or a fatal error in
    // them into the end of the run.
    return [&host](const std::function<void(VirtualMachine&)>& call) {
        if (ApplicationSession* session = host.session()) session->deliver(call);
    };
}

void registerCoreExtensions(HostServices& host, const ExtensionSettings& settings)
{
    ExtensionHost& extensions = host.extensions();
    extensions.registerExtension(kAccelerometerExtension,
                                 [source = settings.accelerometer](VirtualMachine& vm) {
                                     return std::make_shared<AccelerometerExtension>(vm, source);
                                 });
    extensions.registerExtension(
        kLocationExtension,
        [location = settings.location, delivery = sessionDelivery(host)](VirtualMachine& vm) {
            return std::make_shared<CLocationWrapper>(vm, location, delivery);
        });
    extensions.registerExtension(kTorchExtension, [torch = settings.torch](VirtualMachine& vm) {
        return std::make_shared<TorchExtension>(vm, torch);
    });
}

} // namespace zelmo
