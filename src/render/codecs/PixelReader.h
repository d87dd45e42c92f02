#pragma once
// Pixel and header-field reading shared by the bitmap and Targa decoders, whose
// files store pixels blue-green-red(-alpha) and header fields little-endian.
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace vlo {

// Bytes one pixel of the given depth takes in the file: 1, 3 or 4 for 8, 24
// and 32 bits, 0 for any depth the decoders cannot read.
int pixelBytes(int bits);

// Reads one pixel of the given depth into dest in red-green-blue(-alpha) order
// and returns the number of bytes consumed. Bytes the file no longer holds
// become zero, so dest never keeps stale memory.
int readPixel(FILE* file, int bits, unsigned char* dest);

// Reads count pixels one after another, as count calls of readPixel would, but
// with one read from the file. Returns false when the file ended before the
// last pixel; the pixels it lacked are zero.
bool readPixels(FILE* file, int bits, unsigned char* dest, size_t count);

// Little-endian header fields.
inline uint16_t readUint16LE(const unsigned char* bytes)
{
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

inline int16_t readInt16LE(const unsigned char* bytes)
{
    return static_cast<int16_t>(readUint16LE(bytes));
}

inline uint32_t readUint32LE(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8)
        | (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

inline int32_t readInt32LE(const unsigned char* bytes)
{
    return static_cast<int32_t>(readUint32LE(bytes));
}

} // namespace vlo
