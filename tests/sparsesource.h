#pragma once

#include <cstdint>
#include <utility>

#include "bytesource.h"
#include "isobmffbuilder.h"

namespace isotest {

// A Sparse file as a source a format reads: the zeros are not held in
// memory. It counts its reads, and tells whether one reached into the zeros
// (the image data) past the first `free` bytes a sniff may take.
class SparseSource : public ByteSource {
public:
    explicit SparseSource(Sparse f, uint64_t free = 0) : file(std::move(f)), free(free) {}
    uint64_t size() const override { return file.head.size() + file.zeros + file.tail.size(); }
    bool readAt(uint64_t offset, void *to, size_t n) override
    {
        ++reads;
        bytesRead += n;
        if (offset > size() || n > size() - offset)
            return false;
        auto *out = static_cast<unsigned char *>(to);
        const uint64_t tailAt = file.head.size() + file.zeros;
        for (size_t i = 0; i < n; ++i) {
            const uint64_t at = offset + i;
            touchedImage = touchedImage || (at >= file.head.size() && at < tailAt && at >= free);
            out[i] = at < file.head.size() ? file.head[size_t(at)] : at < tailAt ? 0 : file.tail[size_t(at - tailAt)];
        }
        return true;
    }
    int reads = 0;
    uint64_t bytesRead = 0;
    bool touchedImage = false;

private:
    Sparse file;
    uint64_t free;
};

} // namespace isotest
