#include "bytesource.h"

#include <cstring>

bool MemorySource::readAt(uint64_t offset, void *to, size_t n)
{
    if (offset < start || offset - start > length || n > length - size_t(offset - start))
        return false;
    if (n)
        std::memcpy(to, bytes + size_t(offset - start), n);
    return true;
}

bool HeldSource::readAt(uint64_t offset, void *to, size_t n)
{
    const unsigned char *at = peek(offset, n);
    if (at && n)
        std::memcpy(to, at, n);
    return at != nullptr;
}

OffsetSource::OffsetSource(ByteSource &outer, uint64_t base, uint64_t length) : outer(outer), base(base), length(0)
{
    const uint64_t size = outer.size();
    if (base <= size)
        this->length = length < size - base ? length : size - base;
}

bool OffsetSource::readAt(uint64_t offset, void *to, size_t n)
{
    if (offset > length || n > length - offset)
        return false;
    return outer.readAt(base + offset, to, n);
}

const unsigned char *OffsetSource::peek(uint64_t offset, size_t n)
{
    if (offset > length || n > length - offset)
        return nullptr;
    return outer.peek(base + offset, n);
}
