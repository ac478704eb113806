#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "byteview.h"

// The MD5 message digest (RFC 1321), fed in pieces of any size. Used for the
// digest that Photoshop image resources keep of their IPTC data, so that a
// rewrite of that data can leave a digest that other programs accept as current.
class Md5 {
public:
    using Digest = std::array<unsigned char, 16>;

    Md5();
    void add(ConstByteView bytes);
    // The digest of everything added; the object is spent afterwards.
    Digest finish();

    static Digest of(ConstByteView bytes);

private:
    void block(ConstByteView chunk);   // exactly 64 bytes

    uint32_t state[4];
    uint64_t totalBytes = 0;
    unsigned char pending[64] = {};
    size_t pendingBytes = 0;
};
