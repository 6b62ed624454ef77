// SPDX-License-Identifier: MIT
// The device extensions this host offers, registered with the extension host at start-up.
#pragma once

namespace zelmo {

class ExtensionHost;
struct RuntimeOptions;

void registerDeviceExtensions(ExtensionHost& extensions, const RuntimeOptions& options);

} // namespace zelmo
