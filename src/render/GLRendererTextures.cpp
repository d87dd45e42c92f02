// Textures and pixel images of the OpenGL renderer: decoding through the
// archive, the conversions before upload, binding and deletion.

#include <memory>
#include <string>
#include <utility>

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include "content/ArchiveFS.h"
#include "render/GLConstants.h"
#include "render/GLRenderer.h"
#include "render/TexturePixels.h"
#include "render/codecs/ImageCodecRegistry.h"

namespace vlo {

namespace {

// Upload format of each depth: the GL format and the component count handed
// over as internal format. One-byte pixels are grey levels; they go up as
// luminance, since colour indices would pass through the index-to-RGBA maps,
// which turn every index into black by default.
struct PixelFormat {
    GLenum format;
    GLint components;
};

bool pixelFormatFor(int bits, PixelFormat& out)
{
    switch (bits) {
    case 8:
        out = {GL_LUMINANCE, 1};
        return true;
    case 24:
        out = {GL_RGB, 3};
        return true;
    case 32:
        out = {GL_RGBA, 4};
        return true;
    default:
        return false;
    }
}

// Decodes an archive entry into the four outputs. False when no decoder
// knows the extension; a decoder that failed leaves the outputs at 0. The
// extraction file goes however the decoding ended: one that no decoder could
// read (an unknown extension such as ".gif", the extension-less file of an
// empty name) would otherwise stay in the show's folder for good.
bool decodeEntry(const char* path, int* width, int* height, int* bits, unsigned char** pixels)
{
    const std::string extracted = ArchiveFS::extract(path);
    ImageCodecRegistry registry;
    const bool known = registry.load(extracted.c_str(), width, height, bits, pixels);
    ArchiveFS::removeExtracted();
    return known;
}

} // namespace

int GLRenderer::loadTexture(const char* path, int filter, bool colorKey)
{
    beforeDirectGL();
    // As in decodeEntry, the extraction file goes however the decoding ended.
    TexturePixels prepared;
    const std::string extracted = ArchiveFS::extract(path);
    const bool usable = prepareTexturePixels(extracted.c_str(), colorKey, prepared);
    ArchiveFS::removeExtracted();
    PixelFormat format = {};
    if (!usable || !pixelFormatFor(prepared.record.bits, format)) {
        return 0;
    }
    const TextureInfo& record = prepared.record;
    const std::unique_ptr<uint8_t[]> upload = std::move(prepared.pixels);

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    if (filter == FilterMipmap) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, format.components, record.width, record.height, format.format,
            GL_UNSIGNED_BYTE, upload.get());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, format.components, record.width, record.height, 0, format.format,
            GL_UNSIGNED_BYTE, upload.get());
        if (filter == FilterNearest) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        } else if (filter == FilterLinear) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        }
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    textures.push_back(record);
    textureNames.push_back(name);
    glBindTexture(GL_TEXTURE_2D, 0);
    return int(textures.size());
}

// 0 unbinds; a deleted texture's name is 0, so binding it unbinds too. A
// number past the table leaves the current binding alone.
void GLRenderer::bindTexture(int texture)
{
    if (texture == 0) {
        frame.addWords(FrameOp::BindTexture, {0u});
        recorded();
        return;
    }
    const unsigned index = unsigned(texture) - 1u;
    if (index < textureNames.size()) {
        frame.addWords(FrameOp::BindTexture, {textureNames[index]});
        recorded();
    }
}

// The record stays, so the number keeps answering textureInfo and
// textureExtent; numbers are never reused.
bool GLRenderer::deleteTexture(int texture)
{
    beforeDirectGL();
    const unsigned index = unsigned(texture) - 1u;
    if (index >= textureNames.size() || !glIsTexture(textureNames[index])) {
        return false;
    }
    glDeleteTextures(1, &textureNames[index]);
    textureNames[index] = 0;
    return true;
}

int GLRenderer::loadImage(const char* path)
{
    beforeDirectGL();
    // The table entry owns its buffer for the renderer's life.
    auto image = std::make_unique<Image>(true);
    if (!decodeEntry(path, &image->width, &image->height, &image->bits, &image->pixels)) {
        return 0;
    }
    image->validate();
    if (image->invalid || image->pixels == nullptr || !image->expandToSupportedDepth()) {
        return 0;
    }
    // glDrawPixels takes the bottom row first.
    image->flipVertical();
    images.push_back(std::move(image));
    return int(images.size());
}

void GLRenderer::drawImage(int image)
{
    if (image <= 0 || size_t(image) > images.size()) {
        return;
    }
    const Image& picture = *images[size_t(image) - 1];
    PixelFormat format = {};
    if (!pixelFormatFor(picture.bits, format)) {
        return;
    }
    frame.addImage(picture.width, picture.height, format.format, picture.pixels, logicalHeight);
    recorded();
}

} // namespace vlo
