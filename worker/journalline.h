#pragma once

#include <QByteArray>

#include <cstdint>

// The seal of one journal line: a CRC-32C of the line's own bytes, written as
// its last key, so that a line a disk or a person changed, or one cut short,
// is known for what it is instead of being acted on.
//
//   {"n": 1, "path": "a.jpg", ... "runs": [...], "crc": "1a2b3c4d"}
//
// The checksum covers every byte before `, "crc"`.
class JournalLine {
public:
    enum class Seal {
        Sound,      // sealed, and the checksum matches
        Damaged,    // sealed, and it does not
        Unsealed,   // no seal (journals written before lines were sealed)
    };

    // Ends the line that begins at `start` in `out` (its text so far lacks
    // the closing brace): appends the seal, the brace and the line feed.
    static void end(QByteArray &out, qsizetype start);
    // The seal of a whole line (with its line feed).
    static Seal check(const QByteArray &line);

    static uint32_t crc32c(const char *data, size_t size);
};
