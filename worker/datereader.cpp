#include "datereader.h"

#include "capturedate.h"
#include "openedfile.h"

#include <sys/stat.h>

#include <algorithm>

using Status = PictureStatus;

PictureResult DateReader::read(const QString &path, const FileIdentity::Claim &claim, bool withCopies,
                                DateRecord *record)
{
    PictureResult result;
    // By its name until a format claims its content.
    PictureResult::kindOfName(path, &result.kind);
    OpenedFile picture;
    if (!picture.open(path, false))
        return result;
#ifndef _WIN32
    if (picture.haveStatus && !S_ISREG(picture.status.st_mode)) {
        result.status = Status::NotRegular;
        return result;
    }
#endif
    if (claim && picture.haveStatus && !claim(picture.id())) {
        result.status = Status::AlreadySeen;
        return result;
    }
    if (picture.haveStatus) {
        result.file = picture.id();
        result.readOnly = (picture.status.st_mode & 0222) == 0;
    }
    FoundDates found;
    result.status = picture.locateDates(&result, &found, path);
    if (result.status == Status::Usable) {
        const int64_t capture = DateCodec::toEpochSeconds(CaptureDate::wallClock(result.oldDate));
        for (const DateField &field : found.fields) {
            int64_t first = 0, last = 0;
            if (!DateCodec::limits(field.encoding, &first, &last))
                continue;
            const int64_t held = capture + field.skew;
            result.roomLater = std::min<qint64>(result.roomLater, last - held);
            result.roomEarlier = std::min<qint64>(result.roomEarlier, held - first);
        }
    }
    if (withCopies && result.status == Status::Usable) {
        // From the same read: what a shift would move besides the EXIF texts.
        for (const DateField &field : found.fields) {
            result.xmpDates += field.encoding == DateEncoding::XmpText;
            result.iptcDates += field.encoding == DateEncoding::IptcDate;   // a date and time pair
        }
    }
    if (record && result.status == Status::Usable && picture.haveStatus) {
        *record = DateRecord::of(found, result.file, result.camera);
        record->kind = result.kind;
    }
    return result;
}
