// SPDX-License-Identifier: MIT
#include "graphics/BitmapTextures.h"

#include "Base/Errors.h"
#include "VirtualMachine/VirtualMachine.h"
#include "graphics/GraphicsRecord.h"

#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <unordered_set>

namespace zelmo::graphics {

// The textures one extension made from bitmaps, in the context they live in. Bitmaps refer to
// it weakly: once the extension has gone, their textures have gone with it.
struct TextureRegistry {
    std::function<bool()> makeCurrent;
    QOpenGLContext* context = nullptr;
    std::unordered_set<uint32_t> names;

    // Our context current, without disturbing the application's state when it already is.
    bool current() const
    {
        if (!context) return false;
        if (QOpenGLContext::currentContext() != context && !makeCurrent()) return false;
        return QOpenGLContext::currentContext() == context;
    }
    void release(uint32_t name)
    {
        if (names.erase(name) == 0 || !current()) return;
        context->functions()->glDeleteTextures(1, &name);
    }
    // The names of another context mean nothing in this one.
    void use(QOpenGLContext* now, const std::shared_ptr<TextureRegistry>& self)
    {
        if (now == context) return;
        names.clear();
        context = now;
        QObject::connect(now, &QOpenGLContext::aboutToBeDestroyed,
                         [weak = std::weak_ptr<TextureRegistry>(self), now] {
                             const std::shared_ptr<TextureRegistry> registry = weak.lock();
                             if (!registry || registry->context != now) return;
                             registry->names.clear();
                             registry->context = nullptr;
                         });
    }
};

BitmapTexture::BitmapTexture(std::weak_ptr<TextureRegistry> owner, uint32_t textureName)
    : name(textureName), registry(std::move(owner))
{
}

BitmapTexture::~BitmapTexture()
{
    if (const std::shared_ptr<TextureRegistry> owner = registry.lock()) owner->release(name);
}

bool BitmapTexture::liveIn(const std::shared_ptr<TextureRegistry>& owner) const
{
    return registry.lock() == owner && owner->names.contains(name);
}

void adoptTexture(BitmapContainer& to, std::unique_ptr<BitmapTexture> from)
{
    if (from) from->version = 0;
    to.texture() = std::move(from);
}

namespace {

class TextureCache final : public gles::BitmapTextures {
public:
    explicit TextureCache(std::function<bool()> makeCurrent)
        : m_registry(std::make_shared<TextureRegistry>())
    {
        m_registry->makeCurrent = std::move(makeCurrent);
    }

    ~TextureCache() override
    {
        if (m_registry->names.empty() || !m_registry->current()) return;
        for (const uint32_t name : m_registry->names)
            m_registry->context->functions()->glDeleteTextures(1, &name);
    }

    uint32_t upload(VirtualMachine& vm, uint32_t reference,
                    const std::function<void()>& makeCurrent) override
    {
        if (reference == 0) throwError(kNullPointer, "NULL pointer");
        const uint32_t handle = vm.memory().load32(reference);
        if (handle == 0) throwError(kNullPointer, "NULL pointer");
        std::optional<GraphicsRecord> record = GraphicsRecord::ifBitmap(vm.heap(), handle);
        if (!record) throwError(kVMException, "Invalid typeid on bitmap");
        // An open painter may still hold pixels back; and a later draw must mark the bitmap.
        record->closeContext();
        BitmapContainer* bitmap = record->bitmap();
        makeCurrent();
        if (!bitmap) return 0; // the empty bitmap has no pixels: GL's default texture
        QOpenGLContext* context = QOpenGLContext::currentContext();
        m_registry->use(context, m_registry);
        QOpenGLFunctions& gl = *context->functions();

        std::unique_ptr<BitmapTexture>& texture = bitmap->texture();
        if (texture && texture->liveIn(m_registry) && texture->version == bitmap->version()) {
            gl.glBindTexture(GL_TEXTURE_2D, texture->name);
            return texture->name;
        }
        if (!texture || !texture->liveIn(m_registry)) {
            GLuint name = 0;
            gl.glGenTextures(1, &name);
            m_registry->names.insert(name);
            texture = std::make_unique<BitmapTexture>(m_registry, name);
        }
        gl.glBindTexture(GL_TEXTURE_2D, texture->name);
        uploadPixels(gl, *bitmap);
        texture->version = bitmap->version();
        return texture->name;
    }

    void forget(const uint32_t* names, int32_t count) override
    {
        for (int32_t i = 0; i < count; ++i)
            m_registry->names.erase(names[i]);
    }

private:
    // Straight RGBA bytes, the bitmap's last row first (GL's row 0 is the bottom), mipmapped.
    static void uploadPixels(QOpenGLFunctions& gl, const BitmapContainer& bitmap)
    {
        const QImage source = bitmap.isImageMode() ? bitmap.image() : bitmap.pixmap().toImage();
        const QImage pixels = source.convertToFormat(QImage::Format_RGBA8888).mirrored();
        // Rows of whole RGBA pixels are 4-byte aligned, whatever the application set.
        GLint alignment = 4;
        gl.glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, pixels.width(), pixels.height(), 0, GL_RGBA,
                        GL_UNSIGNED_BYTE, pixels.constBits());
        gl.glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
        gl.glGenerateMipmap(GL_TEXTURE_2D);
        gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }

    std::shared_ptr<TextureRegistry> m_registry;
};

} // namespace

std::unique_ptr<gles::BitmapTextures> makeBitmapTextures(std::function<bool()> makeCurrent)
{
    return std::make_unique<TextureCache>(std::move(makeCurrent));
}

} // namespace zelmo::graphics
