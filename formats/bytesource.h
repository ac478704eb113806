#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A file as a format sees it: its size, and reads at any offset. The caller
// owns the file (open, locked, checked); a format only reads through this.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t size() const = 0;
    // Reads exactly `n` bytes from `offset` into `to`; false when they are
    // not all there (past the end) or the read failed.
    virtual bool readAt(uint64_t offset, void *to, size_t n) = 0;
};

// Bytes held in memory, seen as a file that starts `base` bytes into a
// larger one (0: the bytes are the whole file). Offsets are the larger file's.
class MemorySource : public ByteSource {
public:
    MemorySource(const unsigned char *data, size_t size, uint64_t base = 0)
        : bytes(data), length(size), start(base)
    {
    }
    explicit MemorySource(const std::vector<unsigned char> &data) : MemorySource(data.data(), data.size()) {}

    uint64_t size() const override { return start + length; }
    bool readAt(uint64_t offset, void *to, size_t n) override;

private:
    const unsigned char *bytes;
    size_t length;
    uint64_t start;
};
