#pragma once

// One marker segment held by the reader. `bytes` is a heap buffer of exactly
// `length` bytes: the two big-endian length bytes as they stood in the file,
// then the payload. The 0xFF prefix and the marker code are not in it.
struct JpegSection {
    unsigned char *bytes;   // owned by the reader's section table (malloc/free)
    int marker;             // the code after the 0xFF prefix, e.g. 0xE1 for APP1
    int length;             // as stored in the file, counting the two length bytes
};
