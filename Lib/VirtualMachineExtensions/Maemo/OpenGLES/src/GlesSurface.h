// SPDX-License-Identifier: MIT
// Where the GL bindings draw: the host's context with the application's logical screen bound as
// the framebuffer the application knows as 0. The window and the headless host each provide
// one.
#pragma once

#include <string>

namespace zelmo::gles {

class GlesSurface {
public:
    virtual ~GlesSurface() = default;
    // Makes the context current with the logical screen's framebuffer bound. False, with the
    // reason, when no context can be had.
    virtual bool makeCurrent(std::string& reason) = 0;
};

} // namespace zelmo::gles
