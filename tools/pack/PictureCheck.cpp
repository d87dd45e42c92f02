#include "PictureCheck.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "Diagnostics.h"
#include "PictureFormats.h"
#include "content/ExtractionName.h"
#include "render/codecs/ImageCodecRegistry.h"

namespace vlo::pack {

namespace {

// Removes the extraction file however the inspection ends.
struct RemovedFile {
    std::string path;
    ~RemovedFile() { std::remove(path.c_str()); }
};

} // namespace

PictureInfo inspectPicture(const std::string& entryName, const std::string& bytes, const std::string& scratchFolder)
{
    PictureInfo info;
    const std::string suffix = extractionExtension(entryName);
    if (!isSafeExtractionSuffix(suffix)) {
        info.failure = "the viewer cannot extract it: its extension " + inQuotes(suffix) + " would reach into a folder";
        return info;
    }
    const RemovedFile file{scratchFolder + "/data.zuo.temp" + suffix};

    char extension[ImageCodecRegistry::kExtensionSize] = {};
    ImageCodecRegistry::extensionOf(file.path.c_str(), extension);
    ImageCodecRegistry registry;
    if (registry.findCodec(extension) == nullptr) {
        info.failure = "no decoder for its extension " + inQuotes(suffix)
            + "; pictures must end in .png, .jpg, .jpeg, .bmp or .tga";
        return info;
    }
    info.format = registry.findCodec(extension)->name();

    {
        std::ofstream out(std::filesystem::u8path(file.path), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out) {
            info.failure = "could not write it to " + inQuotes(file.path) + " to decode it";
            return info;
        }
    }
    int width = 0;
    int height = 0;
    int bits = 0;
    unsigned char* pixels = nullptr;
    registry.load(file.path.c_str(), &width, &height, &bits, &pixels);
    const std::unique_ptr<unsigned char[]> owned(pixels);
    if (owned == nullptr || width <= 0 || height <= 0 || bits <= 0) {
        info.failure = refusalReason(extension, bytes);
        return info;
    }
    info.decoded = true;
    info.width = width;
    info.height = height;
    info.bits = bits;
    info.warnings = formatWarnings(extension, bytes);
    return info;
}

} // namespace vlo::pack
