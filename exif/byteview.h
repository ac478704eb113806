#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

// A window onto a held byte buffer: every read and write goes through it and
// is checked against its length. Offsets and counts are taken as 64-bit
// numbers so that offset + count never wraps around for 32-bit file values.
// Reading past the end yields 0; writing past the end does nothing.
//
// `Byte` is `unsigned char` for a buffer the engine may write (ByteView) or
// `const unsigned char` for one it only reads (ConstByteView); a writable view
// converts to a read-only one, never the other way round.
template <typename Byte>
class BasicByteView {
    static_assert(std::is_same<typename std::remove_const<Byte>::type, unsigned char>::value,
                  "a byte view holds unsigned chars");

public:
    BasicByteView() = default;
    BasicByteView(Byte *data, size_t size)
        : ptr(data && size ? data : nullptr), len(data ? size : 0)
    {
    }
    // A writable view seen as a read-only one.
    template <typename Other,
              typename = typename std::enable_if<std::is_const<Byte>::value
                                                 && !std::is_const<Other>::value>::type>
    BasicByteView(const BasicByteView<Other> &other) : ptr(other.data()), len(other.size())
    {
    }

    size_t size() const { return len; }
    Byte *data() const { return ptr; }

    // True when [offset, offset + count) lies wholly inside the view.
    bool contains(uint64_t offset, uint64_t count) const
    {
        return offset <= len && count <= len - offset;
    }

    // The bytes from `offset` to the end; empty when `offset` is past the end.
    BasicByteView from(uint64_t offset) const
    {
        return offset < len ? BasicByteView(ptr + offset, size_t(len - offset)) : BasicByteView();
    }

    // Exactly `count` bytes from `offset`; empty when they do not all fit.
    BasicByteView sub(uint64_t offset, uint64_t count) const
    {
        return contains(offset, count) && count ? BasicByteView(ptr + offset, size_t(count))
                                                : BasicByteView();
    }

    unsigned char operator[](uint64_t i) const { return i < len ? ptr[i] : 0; }

    void set(uint64_t i, unsigned char value)
    {
        static_assert(!std::is_const<Byte>::value, "a read-only view cannot be written");
        if (i < len)
            ptr[i] = value;
    }

    // True when the view begins with the `count` bytes of `text`.
    bool startsWith(const char *text, size_t count) const
    {
        return count <= len && (count == 0 || std::memcmp(ptr, text, count) == 0);
    }

    // True when the `count` bytes from `offset` lie inside the view and equal `text`.
    bool equals(uint64_t offset, const char *text, size_t count) const
    {
        return contains(offset, count) && (count == 0 || std::memcmp(ptr + offset, text, count) == 0);
    }

    // The first offset at or after `from` that holds `value`; size() when none does.
    size_t indexOf(unsigned char value, uint64_t from) const
    {
        if (from >= len)
            return len;
        const void *hit = std::memchr(ptr + from, value, size_t(len - from));
        return hit ? size_t(static_cast<const unsigned char *>(hit) - ptr) : len;
    }

    // Unsigned big-endian numbers at `offset`; 0 when they do not fit.
    uint32_t bigEndian16(uint64_t offset) const
    {
        return contains(offset, 2) ? uint32_t(ptr[offset] << 8 | ptr[offset + 1]) : 0;
    }
    uint32_t bigEndian32(uint64_t offset) const
    {
        return contains(offset, 4) ? uint32_t(ptr[offset]) << 24 | uint32_t(ptr[offset + 1]) << 16
                                         | uint32_t(ptr[offset + 2]) << 8 | ptr[offset + 3]
                                   : 0;
    }

private:
    Byte *ptr = nullptr;
    size_t len = 0;
};

using ByteView = BasicByteView<unsigned char>;
using ConstByteView = BasicByteView<const unsigned char>;
