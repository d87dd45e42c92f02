#include "render/codecs/ImageLimits.h"

#include <sys/types.h>

namespace vlo {

bool imageSizeAccepted(int64_t width, int64_t height)
{
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide
        && width * height <= kMaxImagePixels;
}

bool pixelsFitFile(int64_t pixelBytes, int64_t fileBytes)
{
    // The allowance lets tiny pictures cut short to nothing still decode.
    return fileBytes < 0 || pixelBytes <= (fileBytes + kShortFileAllowance) * kMaxPixelBytesPerFileByte;
}

int64_t bytesLeftInFile(FILE* file)
{
    const off_t here = ftello(file);
    if (here < 0 || fseeko(file, 0, SEEK_END) != 0)
        return -1;
    const off_t end = ftello(file);
    if (fseeko(file, here, SEEK_SET) != 0 || end < here)
        return -1;
    return int64_t(end - here);
}

} // namespace vlo
