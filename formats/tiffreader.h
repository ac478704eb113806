#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bytesource.h"

// The directories of one TIFF structure, read through a ByteSource: the
// header (classic, BigTIFF, and the RAW variants of its magic number), IFD0
// and its next-directory chain, the EXIF and interoperability directories and
// the SubIFDs with their chains. Only the header and the directory tables are
// read here, each in a small read; values are fetched later, one at a time,
// by whoever needs them.
//
// The structure starts `base` bytes into the file and is `length` bytes long
// (or up to the file's end); its offsets count from its start, the offsets
// handed out here are the file's. A structure whose links leave it, loop back,
// overlap or nest beyond the limits is damaged: what was read stays, and the
// caller decides what that is worth.
class TiffReader {
public:
    // How a directory was reached.
    enum class Kind : uint8_t { Image, Exif, Interop, SubImage };

    struct Directory {
        uint64_t offset = 0;     // the file's offset of its entry count
        uint64_t end = 0;        // just past its table (the next link included)
        Kind kind = Kind::Image;
        int page = 0;            // 0, then +1 for each next link followed
    };

    struct Entry {
        uint16_t tag = 0;
        uint16_t type = 0;
        uint64_t count = 0;
        uint64_t valueOffset = 0;   // the file's offset of the value (inside the entry when it fits there)
        uint64_t byteCount = 0;     // 0 for an unknown type or a count too large to hold
        int directory = 0;          // index into directories()
    };

    static constexpr int kMaxDirectories = 256;
    static constexpr uint64_t kMaxEntries = 4096;          // in one directory
    static constexpr uint64_t kMaxTotalEntries = 65536;    // in the whole structure
    static constexpr size_t kWindow = 4096;                // the least one read takes

    TiffReader(ByteSource &file, uint64_t base, uint64_t length);

    // Reads the header and walks the directories. False when the header is
    // not a TIFF header or IFD0 cannot be read; damaged() tells whether the
    // walk met a broken link after that.
    bool read();
    bool damaged() const { return broken; }
    void setDamaged() { broken = true; }

    bool bigEndian() const { return motorola; }
    bool bigTiff() const { return big; }
    uint16_t magic() const { return magicNumber; }
    uint64_t base() const { return start; }
    uint64_t length() const { return size; }   // the structure's bytes that the file holds
    uint64_t headerSize() const { return big ? 16 : 8; }
    const std::vector<Directory> &directories() const { return dirs; }
    const std::vector<Entry> &entries() const { return list; }

    // True when the `n` bytes from the file's `offset` lie inside the structure.
    bool inside(uint64_t offset, uint64_t n) const;
    // The `n` bytes from the file's `offset`, read through a small window
    // (at least kWindow bytes at a time, so that values beside one another
    // cost one read); null when they are not all inside the structure or the
    // read fails. Valid until the next call.
    const unsigned char *fetch(uint64_t offset, uint64_t n);
    // Component `index` of an entry's value as an unsigned number, for the
    // integer types (BYTE, SHORT, LONG, IFD, LONG8, IFD8); false otherwise
    // or when it cannot be read.
    bool number(const Entry &entry, uint64_t index, uint64_t *value);
    // Numbers in the structure's byte order.
    uint64_t unsignedAt(const unsigned char *bytes, unsigned width) const;

    // Just past the last byte fetched so far (the file's offset).
    uint64_t readEnd() const { return furthest; }

    // Bytes per component of a type; 0 for an unknown one.
    static unsigned typeSize(uint16_t type);
    // True for the unsigned integer types number() reads.
    static bool isInteger(uint16_t type);

private:
    bool readHeader(uint64_t *first);
    bool walkDirectory(uint64_t relative, Kind kind, int page);
    void queueChild(uint64_t relative, Kind kind, int page);
    bool overlapsDirectory(uint64_t offset, uint64_t end) const;

    struct Pending {
        uint64_t relative;
        Kind kind;
        int page;
    };

    ByteSource &file;
    uint64_t start;
    uint64_t size;
    bool motorola = false;
    bool big = false;
    bool broken = false;
    uint16_t magicNumber = 0;
    std::vector<Directory> dirs;
    std::vector<Entry> list;
    std::vector<Pending> pending;

    std::vector<unsigned char> window;
    uint64_t windowAt = 0;   // the file's offset of window[0]
    uint64_t furthest = 0;
};
