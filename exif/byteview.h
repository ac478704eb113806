#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// A window onto a held byte buffer: every read and write goes through it and
// is checked against its length. Offsets and counts are taken as 64-bit
// numbers so that offset + count never wraps around for 32-bit file values.
// Reading past the end yields 0; writing past the end does nothing.
class ByteView {
public:
    ByteView() = default;
    ByteView(unsigned char *data, size_t size)
        : ptr(data && size ? data : nullptr), len(data ? size : 0)
    {
    }

    size_t size() const { return len; }
    const unsigned char *data() const { return ptr; }

    // True when [offset, offset + count) lies wholly inside the view.
    bool contains(uint64_t offset, uint64_t count) const
    {
        return offset <= len && count <= len - offset;
    }

    // The bytes from `offset` to the end; empty when `offset` is past the end.
    ByteView from(uint64_t offset) const
    {
        return offset < len ? ByteView(ptr + offset, size_t(len - offset)) : ByteView();
    }

    // Exactly `count` bytes from `offset`; empty when they do not all fit.
    ByteView sub(uint64_t offset, uint64_t count) const
    {
        return contains(offset, count) && count ? ByteView(ptr + offset, size_t(count)) : ByteView();
    }

    unsigned char operator[](uint64_t i) const { return i < len ? ptr[i] : 0; }

    void set(uint64_t i, unsigned char value)
    {
        if (i < len)
            ptr[i] = value;
    }

    // True when the view begins with the `count` bytes of `text`.
    bool startsWith(const char *text, size_t count) const
    {
        return count <= len && (count == 0 || std::memcmp(ptr, text, count) == 0);
    }

private:
    unsigned char *ptr = nullptr;
    size_t len = 0;
};
