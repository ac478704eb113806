#pragma once

#include "pictureresult.h"

#include <QByteArray>
#include <QString>

class CliOutput;
class ShiftJob;

// The listing of kelvaro-cli, one entry a picture, written while the dating
// pass meets the pictures: each picture's capture date (`dates --list`), or
// its old and new date (`shift --dry-run`), or why it has no usable date, and
// its kind (JSON always; text lines name a kind other than JPEG).
class PictureListing {
public:
    enum class Kind { None, Dates, Preview };

    PictureListing(CliOutput &output, const ShiftJob &job);

    // Starts the listing; a preview shows the dates moved by `shiftSeconds`.
    void start(Kind kind, qint64 shiftSeconds = 0);
    bool active() const { return kind != Kind::None; }

    void picture(const QString &path, const PictureResult &result);
    // A folder that could not be listed, or a name that could not be read,
    // has an entry, as a picture without a usable date has.
    void unreadable(const QString &path, const char *why);

private:
    void entry(const QString &path, const QByteArray &jsonFields, const QByteArray &text);

    CliOutput &output;
    const ShiftJob &job;
    Kind kind = Kind::None;
    qint64 shiftSeconds = 0;
};
