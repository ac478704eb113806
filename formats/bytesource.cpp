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
