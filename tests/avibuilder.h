// Builders for the video files whose time lies outside an ISO box structure:
// AVI (RIFF chunks and lists) and AVCHD transport streams, so that a test
// case reads as one line of intent:
//
//   Bytes avi = avitest::Avi("2012:09:10 20:52:00").bytes();          // IDIT in 'hdrl'
//   Bytes top = avitest::Avi("2012:09:10 20:52:00").iditAtTop().bytes();
//   Bytes odd = avitest::Avi("2012:09:10 20:52:00").idit("Mon Sep 10 20:52:00 2012\n").bytes();
//   Bytes mts = avitest::mts();
//
// The layout is a camera's: 'hdrl' (the main header, a video stream's 'strl',
// the IDIT), an INFO list, 'JUNK' padding, the media data in 'movi', and the
// index 'idx1'. riffChunk() and riffList() make any other structure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jpegbuilder.h"
#include "rawbuilder.h"

namespace avitest {

using jpegtest::Bytes;
using rawtest::Span;

// One chunk: its id, its size (little-endian) and its data, padded to an even length.
Bytes riffChunk(const std::string &id, const Bytes &data);
// A list ("LIST", or "RIFF" when `riff`) of `type` holding the chunks `children`.
Bytes riffList(const std::string &type, const std::vector<Bytes> &children, bool riff = false);
// "yyyy:MM:dd hh:mm:ss" as an IDIT spells it: "MON SEP 10 20:52:00 2012",
// its weekday worked out here, the day as two digits.
std::string iditText(const std::string &exifText);

class Avi {
public:
    // A camera's file recorded at `t` ("yyyy:MM:dd hh:mm:ss"): its IDIT
    // holds iditText(t) followed by "\n\0".
    explicit Avi(const std::string &t);
    // The IDIT at the top level of the AVI list, after 'hdrl', not in it.
    Avi &iditAtTop();
    // The IDIT chunk's data verbatim.
    Avi &idit(const std::string &data);
    // No IDIT at all.
    Avi &noIdit();
    // A second IDIT at the top level holding `data`.
    Avi &secondIdit(const std::string &data);
    // The INFO list holds ICRD ("2012-09-10", a date alone) and ISFT.
    Avi &info(const std::string &created);
    Avi &mediaBytes(size_t n);
    // The RIFF chunk's size as written, whatever its contents.
    Avi &riffSize(uint32_t size);

    Bytes bytes() const;
    Span media() const;      // the 'movi' list's frames

private:
    Bytes layout(Span *media) const;

    std::string iditData;
    bool atTop = false;
    bool hasIdit = true;
    std::string second;
    std::string created;
    size_t mediaSize = 4096;
    bool sizeOverride = false;
    uint32_t sizeValue = 0;
};

// An AVCHD transport stream of `packets` packets: a program table first,
// then video packets. `stamped`: 192-byte packets, each after a 4-byte time
// stamp (.M2TS, .MTS); else plain 188-byte packets (.TS).
Bytes mts(bool stamped = true, size_t packets = 16);

} // namespace avitest
