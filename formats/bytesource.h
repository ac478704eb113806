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
    // The `n` bytes from `offset` where the source already holds them in
    // memory (reading them first if it must), valid until its next call; null
    // when it holds no bytes of its own or they are not all there. Lets a
    // format read a header in place instead of copying it.
    virtual const unsigned char *peek(uint64_t offset, size_t n)
    {
        (void)offset;
        (void)n;
        return nullptr;
    }
};

// A source that holds in memory every byte it gives (reading it first where
// it must): a read copies what peek() finds.
class HeldSource : public ByteSource {
public:
    bool readAt(uint64_t offset, void *to, size_t n) final;
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
    const unsigned char *peek(uint64_t offset, size_t n) override
    {
        return offset >= start && offset - start <= length && n <= length - (offset - start)
                   ? bytes + (offset - start) : nullptr;
    }

private:
    const unsigned char *bytes;
    size_t length;
    uint64_t start;
};

// A piece of another source seen as a file of its own: offset 0 here is
// `base` there, and it ends `length` bytes later (or at the other's end). A
// format reads a file embedded in its own (a preview JPEG, a TIFF block)
// through it; the offsets it finds are then the piece's, `base` added gives
// the file's.
class OffsetSource : public ByteSource {
public:
    OffsetSource(ByteSource &outer, uint64_t base, uint64_t length);

    uint64_t size() const override { return length; }
    bool readAt(uint64_t offset, void *to, size_t n) override;
    const unsigned char *peek(uint64_t offset, size_t n) override;

private:
    ByteSource &outer;
    uint64_t base;
    uint64_t length;
};
