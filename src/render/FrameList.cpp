#include "render/FrameList.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vlo {

namespace {

uint32_t bitsOf(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

// The op code in the low byte, the number of argument words above it.
void FrameList::header(FrameOp op, size_t argCount)
{
    words_.push_back(uint32_t(op) | uint32_t(argCount << 8));
    ++operations_;
}

void FrameList::add(FrameOp op)
{
    header(op, 0);
}

// Floats are kept bit for bit, so equal lists carry equal arguments
// (-0 and 0 differ, as they may for OpenGL).
void FrameList::add(FrameOp op, std::initializer_list<float> args)
{
    header(op, args.size());
    for (float value : args)
        words_.push_back(bitsOf(value));
}

void FrameList::addWords(FrameOp op, std::initializer_list<uint32_t> args)
{
    header(op, args.size());
    words_.insert(words_.end(), args.begin(), args.end());
}

// The image table keeps every pixel buffer for the renderer's life, so the
// address names the picture.
void FrameList::addImage(int width, int height, uint32_t format, const void* pixels, float rasterY)
{
    const uint64_t address = uint64_t(reinterpret_cast<uintptr_t>(pixels));
    header(FrameOp::DrawImage, 6);
    words_.push_back(uint32_t(width));
    words_.push_back(uint32_t(height));
    words_.push_back(format);
    words_.push_back(uint32_t(address));
    words_.push_back(uint32_t(address >> 32));
    words_.push_back(bitsOf(rasterY));
}

void FrameList::addText(uint32_t listBase, float x, float y, const std::string& text)
{
    header(FrameOp::DrawText, 5);
    words_.push_back(listBase);
    words_.push_back(bitsOf(x));
    words_.push_back(bitsOf(y));
    words_.push_back(uint32_t(text_.size()));
    words_.push_back(uint32_t(text.size()));
    text_ += text;
}

float FrameList::number(size_t pos, int index) const
{
    float value = 0.0f;
    std::memcpy(&value, &words_[pos + 1 + size_t(index)], sizeof value);
    return value;
}

const void* FrameList::imagePixels(size_t pos) const
{
    const uint64_t address = uint64_t(word(pos, 3)) | (uint64_t(word(pos, 4)) << 32);
    return reinterpret_cast<const void*>(uintptr_t(address));
}

std::string_view FrameList::text(size_t pos) const
{
    return std::string_view(text_).substr(word(pos, 3), word(pos, 4));
}

bool FrameList::isClosed() const
{
    size_t pos = 0;
    const FrameOp opening[] = {FrameOp::Clear, FrameOp::LoadIdentity, FrameOp::PushState};
    for (FrameOp expected : opening) {
        if (pos >= words_.size() || op(pos) != expected)
            return false;
        pos = next(pos);
    }
    int depth = 1;
    bool primitiveOpen = false;
    for (; pos < words_.size(); pos = next(pos)) {
        switch (op(pos)) {
        case FrameOp::PushState:
            ++depth;
            break;
        case FrameOp::PopState:
            if (--depth == 0)
                return next(pos) == words_.size() && !primitiveOpen;
            break;
        case FrameOp::Begin:
            if (primitiveOpen)
                return false;
            primitiveOpen = true;
            break;
        case FrameOp::End:
            if (!primitiveOpen)
                return false;
            primitiveOpen = false;
            break;
        default:
            break;
        }
    }
    return false;
}

size_t FrameList::commonStart(const FrameList& other) const
{
    size_t pos = 0;
    while (pos < words_.size()) {
        const size_t end = next(pos);
        if (end > other.words_.size()
            || !std::equal(words_.begin() + ptrdiff_t(pos), words_.begin() + ptrdiff_t(end),
                other.words_.begin() + ptrdiff_t(pos)))
            break;
        if (op(pos) == FrameOp::DrawText && text(pos) != other.text(pos))
            break;
        pos = end;
    }
    return pos;
}

void FrameList::clear()
{
    words_.clear();
    text_.clear();
    operations_ = 0;
}

void FrameList::swap(FrameList& other)
{
    words_.swap(other.words_);
    text_.swap(other.text_);
    std::swap(operations_, other.operations_);
}

} // namespace vlo
