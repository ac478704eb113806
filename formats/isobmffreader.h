#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bytesource.h"

// One box of an ISO base media file (HEIC, AVIF, CR3, MP4, MOV): where it
// lies and what it is. Its contents run from `body` to `end`.
struct IsoBox {
    uint32_t type = 0;          // four characters, big-endian ('meta' is 0x6D657461)
    unsigned char uuid[16] = {};   // the extended type of a 'uuid' box, else zeros
    uint64_t offset = 0;        // where its header starts
    uint64_t body = 0;          // past its size, type, large size and extended type
    uint64_t end = 0;           // just past its last byte
    int depth = 0;              // 0 at the top level of the file

    uint64_t bodySize() const { return end - body; }
};

// Reads the boxes of an ISO base media file through a ByteSource, header by
// header: a box's contents are read only when asked for. Every size is
// checked against the file and the enclosing box, so a damaged file (a size
// past the end, a box that does not fit in its parent, a size smaller than
// its own header, too many boxes, too deep a nesting) is reported as such and
// never costs more than a bounded number of small reads. A box of size 0 runs
// to the end of its parent (at the top level, of the file).
class IsobmffReader {
public:
    static constexpr int kMaxDepth = 16;
    // Boxes walked inside one parent or at the top level.
    static constexpr int kMaxChildren = 4096;

    explicit IsobmffReader(ByteSource &file) : file(file) {}

    static constexpr uint32_t fourcc(const char (&s)[5])
    {
        return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 | uint32_t(uint8_t(s[2])) << 8
               | uint8_t(s[3]);
    }

    // The boxes at the top level of the file, in file order. False when the
    // file is damaged: `out` then holds the boxes read before the damage.
    bool topLevel(std::vector<IsoBox> *out);
    // The boxes inside `parent`, starting `skip` bytes into its contents (a
    // full box's version and flags, an entry count). False as above.
    bool children(const IsoBox &parent, uint64_t skip, std::vector<IsoBox> *out);
    // The first box of `type` in `boxes`; null when there is none.
    static const IsoBox *first(const std::vector<IsoBox> &boxes, uint32_t type);

    // A full box's version and flags (its first 4 bytes). False when they
    // are not there.
    bool fullBox(const IsoBox &box, uint8_t *version, uint32_t *flags);
    // The contents of `box` from `skip` bytes in, into `out`; false (and
    // `out` left empty) when they are more than `limit` bytes or cannot be read.
    bool contents(const IsoBox &box, uint64_t skip, size_t limit, std::vector<unsigned char> *out);

    // Just past the last byte read so far.
    uint64_t readEnd() const { return furthest; }

private:
    bool walk(uint64_t begin, uint64_t end, int depth, std::vector<IsoBox> *out);
    bool header(uint64_t at, uint64_t limit, int depth, IsoBox *box);
    bool read(uint64_t offset, void *to, size_t n);

    ByteSource &file;
    uint64_t furthest = 0;
};
