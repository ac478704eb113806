#pragma once

#include "datefield.h"
#include "fileformat.h"
#include "fileidentity.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

// What the dating pass found in one usable picture, kept so that the writing
// pass can move its dates without reading and parsing it again: the file as
// it was then (identity, size, modification and change time), the camera,
// and where each field that spells the capture time lies and how it is
// spelled, and the bytes each field held (about a hundred bytes a picture):
// the writing pass plans from them, and reads the file only to check, just
// before it writes, that those bytes still stand there.
struct DateRecord {
    struct Field {
        uint64_t offset = 0;
        uint32_t width = 0;
        DateEncoding encoding = DateEncoding::ExifText;
        DateRole role = DateRole::Copy;
        int64_t skew = 0;
    };

    FileIdentity file;
    QString camera;
    FileKind kind = FileKind::Jpeg;   // what the user calls the file (PictureResult::kind)
    std::vector<Field> fields;
    std::vector<DerivedField> derived;
    // The bytes of every field, one after the other in the order of
    // `fields`; empty when a format did not report them all.
    QByteArray values;

    bool isValid() const { return !fields.empty(); }

    static DateRecord of(const FoundDates &found, const FileIdentity &file, const QString &camera);
    // The fields as a format reports them (without their bytes).
    std::vector<DateField> dateFields() const;
    // A piece of the file: the bytes [from, to).
    struct Span {
        uint64_t from = 0;
        uint64_t to = 0;
    };
    // The pieces that hold every field and everything a derived field covers,
    // sorted, those closer than `gap` bytes to each other made one; empty when
    // there is nothing. A file's fields lie together in its header, or (a RAW
    // file's, a video's) in a few places megabytes apart: the bytes between
    // are the picture's own and are never read or written.
    std::vector<Span> spans(uint64_t gap) const;
    static std::vector<Span> merged(std::vector<Span> pieces, uint64_t gap);
};
