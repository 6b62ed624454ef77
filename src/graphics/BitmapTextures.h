// SPDX-License-Identifier: MIT
// GL textures made from bitmaps for the OpenGL extension (operation 153). A bitmap keeps its
// texture (BitmapTexture) with the version of the pixels it was made of: asked again with the
// pixels unchanged, the extension gets the same name and nothing is uploaded; after a change the
// pixels go into the same name again. The texture is deleted in its context when the collector
// destroys the bitmap, so an application that uploads every frame holds one texture per bitmap.
// A texture whose context or extension has gone is only forgotten.
#pragma once

#include "OpenGLES/GlesExtension.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace zelmo::graphics {

class BitmapContainer;
struct TextureRegistry;

class BitmapTexture {
public:
    BitmapTexture(std::weak_ptr<TextureRegistry> registry, uint32_t name);
    ~BitmapTexture();
    BitmapTexture(const BitmapTexture&) = delete;
    BitmapTexture& operator=(const BitmapTexture&) = delete;

    // Whether the name is still a texture of `registry` (not deleted by the application, not
    // lost with its context).
    bool liveIn(const std::shared_ptr<TextureRegistry>& registry) const;

    const uint32_t name;
    uint64_t version = 0; // of the pixels uploaded; 0: none yet
    const std::weak_ptr<TextureRegistry> registry;
};

// Gives `to` the texture `from` had, to be filled with its pixels on the next upload.
void adoptTexture(BitmapContainer& to, std::unique_ptr<BitmapTexture> from);

// The OpenGL extension's factory for bitmap textures.
std::unique_ptr<gles::BitmapTextures> makeBitmapTextures(std::function<bool()> makeCurrent);

} // namespace zelmo::graphics
