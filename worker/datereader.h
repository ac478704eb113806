#pragma once

#include "daterecord.h"
#include "fileidentity.h"
#include "pictureresult.h"

#include <QString>

// The dating pass's step for one picture: opens it for reading, claims its
// identity, and reads its capture date through the format that claims it.
class DateReader {
public:
    // Reads the capture date of one picture. Nothing is logged. With
    // `withCopies`, a usable picture's result also tells how many XMP
    // date-times and IPTC date and time pairs in its header spell its capture
    // time (what a shift would move besides the EXIF texts), from the same read.
    // With `record`, a usable picture's fields are kept there too, for a
    // writing pass that moves them without reading the picture again.
    static PictureResult read(const QString &path, const FileIdentity::Claim &claim = {}, bool withCopies = false,
                              DateRecord *record = nullptr);
};
