#include "journaloutcome.h"

QByteArray JournalOutcome::code(PictureStatus outcome)
{
    using S = PictureStatus;
    switch (outcome) {
    case S::Usable: return "usable";
    case S::Changed: return "changed";
    case S::CannotOpen: return "cannot_open";
    case S::NoExif: return "no_exif";
    case S::NoDate: return "no_date";
    case S::NotADate: return "not_a_date";
    case S::OutOfRange: return "out_of_range";
    case S::DateNotFound: return "date_not_found";
    case S::ReadFailed: return "read_failed";
    case S::WriteFailed: return "write_failed";
    case S::AlreadySeen: return "already_seen";
    case S::Locked: return "locked";
    case S::ChangedElsewhere: return "changed_elsewhere";
    case S::Unrecognised: return "unrecognised";
    case S::AlreadyDone: return "already_done";
    case S::AddedSince: return "added_since";
    case S::NotRegular: return "not_regular";
    case S::CloseFailed: return "close_failed";
    case S::NotChosen: return "not_chosen";
    case S::NotConfirmed: return "not_confirmed";
    case S::PictureNotChanged: return "picture_not_changed";
    case S::JournalDamaged: return "journal_damaged";
    case S::Unsupported: return "unsupported";
    }
    return "write_failed";
}

bool JournalOutcome::read(const QString &recorded, PictureStatus *outcome)
{
    using S = PictureStatus;
    // Kelvaro 1.0 wrote the English text of the log instead of a code; those
    // texts stay here as they were written, whatever the log says today.
    static const struct {
        const char *text;
        S outcome;
    } firstRelease[] = {
        {"usable date", S::Usable},
        {"changed", S::Changed},
        {"cannot be opened", S::CannotOpen},
        {"no EXIF block", S::NoExif},
        {"no DateTimeOriginal", S::NoDate},
        {"DateTimeOriginal is not a date", S::NotADate},
        {"shifted date outside the years 1000 to 9999", S::OutOfRange},
        {"date text not found in the header", S::DateNotFound},
        {"read failed", S::ReadFailed},
        {"write failed", S::WriteFailed},
        {"met before through a link", S::AlreadySeen},
        {"in use by another program", S::Locked},
        {"changed by another program", S::ChangedElsewhere},
        {"holds neither the old nor the new date", S::Unrecognised},
        {"already holds the new date", S::AlreadyDone},
        {"added since the dates were read", S::AddedSince},
        {"not a regular file", S::NotRegular},
        {"written, but closing the file failed", S::CloseFailed},
        {"not among the chosen pictures", S::NotChosen},
        {"date not read before the question", S::NotConfirmed},
        {"its picture was not changed", S::PictureNotChanged},
    };
    const QByteArray text = recorded.toLatin1();
    for (int i = int(S::Usable); i <= int(S::Unsupported); ++i) {
        if (text == code(S(i))) {
            *outcome = S(i);
            return true;
        }
    }
    for (const auto &old : firstRelease) {
        if (text == old.text) {
            *outcome = old.outcome;
            return true;
        }
    }
    return false;
}
