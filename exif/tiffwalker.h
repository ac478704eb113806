#pragma once

#include <cstddef>
#include <cstdint>

#include "byteview.h"

// How a directory of a TIFF structure was reached.
enum class TiffDirectory : uint8_t {
    Image,      // IFD0, and the directories its next-directory links lead to (IFD1...)
    Exif,       // linked by the EXIF tag 0x8769
    Interop,    // linked by the interoperability tag 0xA005
    SubImage,   // linked by the SubIFDs tag 0x014A (followed only when asked)
};

// One directory entry as the walker met it. Offsets count from the start of
// the TIFF structure (its byte-order mark).
struct TiffEntry {
    uint16_t tag = 0;
    uint16_t format = 0;          // 1 to 12; 0 has no component size
    uint32_t count = 0;           // components
    uint64_t entryOffset = 0;     // the 12-byte entry
    uint64_t valueOffset = 0;     // its value: inside the entry when it fits in 4 bytes
    uint64_t byteCount = 0;       // component size x count; the value lies wholly inside the block
    TiffDirectory directory = TiffDirectory::Image;
    int chainIndex = 0;           // 0 for a directory reached by a tag, +1 for each next link after it
    int depth = 0;                // links followed from IFD0 to its directory
};

// Walks the directories of one TIFF structure held in memory (either byte
// order): IFD0, every next-directory link, the EXIF and interoperability
// directories wherever their tags stand, and the SubIFDs when asked. A link
// back to a directory already walked, a chain nested too deeply and a block
// with too many directories are cut off with an error; what was walked
// before stands. Each entry is handed to a visitor in file order; a link
// entry's directory is walked right after the entry itself.
class TiffWalker {
public:
    static constexpr int kMaxDepth = 16;          // nesting of directory links
    static constexpr int kMaxDirectories = 64;    // directories walked in one block
    static constexpr int kMaxFormat = 12;

    class Visitor {
    public:
        virtual ~Visitor() = default;
        // A directory at `depth` begins.
        virtual void enterDirectory(int depth) { (void)depth; }
        // One entry of it; false stops the walk as a failure of its directory.
        virtual bool entry(const TiffEntry &entry) { (void)entry; return true; }
        // The directory at `depth` and everything its next link led to were
        // walked without failing it.
        virtual void leaveDirectory(int depth) { (void)depth; }
        // What went wrong, in the order it happened.
        virtual void error(const char *text) { (void)text; }
    };

    // Where the last entry with one of these tags put its value (the texts a
    // decoder copies are those of the last entry it met, too).
    enum Located { DateTime, DateTimeOriginal, DateTimeDigitized, Make, Model, LocatedCount };
    struct Location {
        bool found = false;
        uint64_t valueOffset = 0;
        uint64_t byteCount = 0;
        TiffDirectory directory = TiffDirectory::Image;
    };

    explicit TiffWalker(ConstByteView block) : bytes(block) {}

    // Also walk the directories a SubIFDs entry lists (off by default).
    void setFollowSubIfds(bool follow) { followSubIfds = follow; }

    // Checks the 8-byte header and walks from IFD0. True when the header is
    // sound and IFD0 was walked without failing.
    bool walk(Visitor &visitor);

    ConstByteView block() const { return bytes; }
    bool bigEndian() const { return motorola; }
    const Location &location(Located which) const { return locations[which]; }

    // Numbers at the start of `b` in the block's byte order; 0 when short.
    uint16_t read16(ConstByteView b) const;
    uint32_t read32(ConstByteView b) const;
    int32_t read32Signed(ConstByteView b) const { return static_cast<int32_t>(read32(b)); }
    // The first component of a value of the given format as a number: both
    // halves of a (S)RATIONAL taken as signed, 0 for a zero denominator and
    // for ASCII and UNDEFINED.
    double number(ConstByteView value, int format) const;
    // Bytes per component of a format code; 0 for an unknown one.
    static unsigned formatSize(int format);

private:
    bool directory(uint64_t offset, int depth, TiffDirectory kind, int chainIndex);
    bool follow(uint64_t offset, int depth, TiffDirectory kind, int chainIndex);
    void followSubImages(const TiffEntry &entry);
    void record(const TiffEntry &entry);

    ConstByteView bytes;
    Visitor *visitor = nullptr;
    bool motorola = false;
    bool followSubIfds = false;
    uint32_t visited[kMaxDirectories] = {};
    int visitedCount = 0;
    Location locations[LocatedCount];
};
