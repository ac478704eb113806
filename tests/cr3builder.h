// A builder for Canon's CR3 files, so that a test case reads as one line of
// intent:
//
//   Bytes cr3 = isotest::Cr3::camera(tifftest::Header::Intel, t, "+02:00", 7200).xmp(packet).bytes();
//
// Layout: 'ftyp' (brand "crx "), 'moov' holding Canon's 'uuid' box (CNCV,
// then CMT1, CMT2, CMT3 when given, CMT4, each a whole TIFF structure), then
// 'mvhd' and the tracks ('trak' with 'tkhd' and 'mdia/mdhd'); the XMP 'uuid'
// box at the top level (or in 'moov'); 'mdat' last, its data not held in
// memory (see sparse()).
#pragma once

#include <cstdint>
#include <string>

#include "isobmffbuilder.h"
#include "tiffbuilder.h"

namespace isotest {

class Cr3 {
public:
    Cr3(Bytes cmt1, Bytes cmt2);

    // A camera's: Make, Model and ModifyDate in CMT1; DateTimeOriginal,
    // CreateDate and (unless `zone` is empty) OffsetTimeOriginal in CMT2,
    // every date `t`; every header time `t` less `utcOffset` seconds, as UTC.
    static Cr3 camera(tifftest::Header header, const std::string &t, const std::string &zone, int64_t utcOffset);
    // "yyyy:MM:dd hh:mm:ss" as seconds since 1904-01-01 00:00:00.
    static uint64_t seconds1904(const std::string &t);

    Cr3 &makerNotes(const Bytes &cmt3);
    // The creation and modification times of every header, seconds since 1904.
    Cr3 &times(uint64_t creation, uint64_t modification);
    // Those of the media headers ('mdhd') alone.
    Cr3 &mediaTimes(uint64_t creation, uint64_t modification);
    Cr3 &headerVersion(int version);   // 0 (32-bit times, the default) or 1 (64-bit)
    Cr3 &tracks(int n);                // default 2
    Cr3 &xmp(const std::string &packet, bool inMoov = false);
    Cr3 &imageBytes(uint64_t n);       // default 4096

    Sparse sparse() const;
    Bytes bytes() const;

private:
    Box header(const char *type, uint64_t creation, uint64_t modification, unsigned rest) const;

    Bytes cmt1, cmt2, cmt3;
    uint64_t created = 0, modified = 0, mediaCreated = 0, mediaModified = 0;
    bool mediaOwn = false;
    int version = 0;
    int trackCount = 2;
    std::string packet;
    bool packetInMoov = false;
    uint64_t imageSize = 4096;
};

} // namespace isotest
