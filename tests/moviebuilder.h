// A builder for videos (MP4, MOV), so that a test case reads as one line of
// intent:
//
//   Bytes mov = isotest::Movie("2019:07:24 08:25:57").keys("2019-07-24T11:25:40+0300").moovLast().bytes();
//
// Movie lays out 'ftyp' (or none, for an old QuickTime file), 'moov' (the
// movie header, its tracks with their track and media headers, Apple's
// 'meta' with keys and ilst, 'udta' texts and XMP) and 'mdat', in either
// order. Times are "yyyy:MM:dd hh:mm:ss" as the headers count them (meant as
// UTC); an empty text is a zero time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "isobmffbuilder.h"

namespace isotest {

class Movie {
public:
    // Every header created and modified at `time`, one track.
    explicit Movie(const std::string &time);

    // Seconds since 1904-01-01 00:00:00 of "yyyy:MM:dd hh:mm:ss"; 0 for "".
    static uint64_t since1904(const std::string &time);

    Movie &brand(const std::string &major, const std::vector<std::string> &compatible);
    Movie &quickTime();                 // no 'ftyp': a 'wide' box first
    Movie &version(int v);              // every header's version: 0 (32-bit times) or 1 (64-bit)
    Movie &duration(uint32_t seconds);  // the movie's length (default 4 s)
    Movie &movieTimes(const std::string &created, const std::string &modified);
    // Another track, its track and media headers at these times.
    Movie &addTrack(const std::string &created, const std::string &modified);
    Movie &trackTimes(int track, const std::string &created, const std::string &modified);
    Movie &mediaTimes(int track, const std::string &created, const std::string &modified);
    // Apple's 'meta': com.apple.quicktime.creationdate (and make and model when given).
    Movie &keys(const std::string &date, const std::string &make = "", const std::string &model = "");
    Movie &day(const std::string &text);    // udta '©day', QuickTime's text form
    Movie &date(const std::string &text);   // udta 'date', the bare text
    Movie &udtaXmp(const std::string &packet);
    Movie &uuidXmp(const std::string &packet);   // a top-level 'uuid' XMP box after 'moov'
    Movie &moovLast();                  // 'mdat' before 'moov'
    Movie &mdatBytes(uint64_t n);       // default 1024; not held in memory (see sparse())
    Movie &largeMdat();                 // the 64-bit size form for 'mdat'

    Box moov() const;
    Sparse sparse() const;
    Bytes bytes() const;

private:
    struct Track {
        uint64_t created = 0, modified = 0, mediaCreated = 0, mediaModified = 0;
    };
    Box header(const std::string &type, uint64_t created, uint64_t modified, bool movie) const;

    std::string major = "isom";
    std::vector<std::string> compatible{"isom", "mp42"};
    bool qt = false;
    int headerVersion = 0;
    uint32_t length = 4;
    uint64_t created = 0, modified = 0;
    std::vector<Track> tracks;
    std::string keyDate, make, model, dayText, dateText, udtaPacket, uuidPacket;
    bool last = false, large = false;
    uint64_t mdatSize = 1024;
};

} // namespace isotest
