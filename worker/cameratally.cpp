#include "cameratally.h"

#include "capturedate.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

// Of equal dates, the path that sorts first, so that neither the order of
// the walk nor that of the table decides.
void takeOldest(QDateTime &oldest, QString &oldestPath, const QDateTime &date, const QString &path)
{
    if (!oldest.isValid() || date < oldest || (date == oldest && path < oldestPath)) {
        oldest = date;
        oldestPath = path;
    }
}

void takeNewest(QDateTime &newest, QString &newestPath, const QDateTime &date, const QString &path)
{
    if (!newest.isValid() || newest < date || (date == newest && path < newestPath)) {
        newest = date;
        newestPath = path;
    }
}

} // namespace

void CameraTally::clear()
{
    table.clear();
    tally = Tally();
    kindTally = Kinds();
}

void CameraTally::reset()
{
    clear();
    selection = ShiftChoice();
}

QList<CameraTally::Camera> CameraTally::cameras() const
{
    QList<Camera> list = table.values();
    std::sort(list.begin(), list.end(), [](const Camera &a, const Camera &b) {
        return a.valid != b.valid ? a.valid > b.valid : a.name < b.name;
    });
    return list;
}

void CameraTally::choose(const ShiftChoice &choice)
{
    selection = choice;
    if (choice.from.isValid() || choice.to.isValid() || !choice.kinds.isEmpty())
        return;   // tallied by the dating pass
    tally = Tally();
    for (const Camera &camera : table) {
        if (camera.valid == 0 || !choice.takesCamera(camera.name))
            continue;
        tally.valid += camera.valid;
        tally.raw += camera.raw;
        takeOldest(tally.oldest, tally.oldestPath, camera.oldest, camera.oldestPath);
        takeNewest(tally.newest, tally.newestPath, camera.newest, camera.newestPath);
        tally.room.take(camera.room);
    }
}

void CameraTally::Room::take(qint64 roomLater, const QDateTime &laterDate, qint64 roomEarlier,
                             const QDateTime &earlierDate)
{
    if (roomLater < later) {
        later = roomLater;
        leastLater = laterDate;
    }
    if (roomEarlier < earlier) {
        earlier = roomEarlier;
        leastEarlier = earlierDate;
    }
}

void CameraTally::count(const QString &path, const PictureResult &result)
{
    const bool raw = result.kind == FileKind::Raw;
    kindTally.raw += raw;
    kindTally.unsupported += result.status == PictureStatus::Unsupported;
    if (result.camera.isEmpty())
        return;   // no EXIF block was read: no camera to count it for
    Camera &camera = table[result.camera];
    camera.name = result.camera;
    ++camera.pictures;
    if (result.status != PictureStatus::Usable)
        return;
    const QDateTime &date = result.oldDate;
    ++camera.valid;
    camera.raw += raw;
    camera.room.take(result.roomLater, result.oldDate, result.roomEarlier, result.oldDate);
    // A path per camera, not per picture: the string is shared, not copied.
    takeOldest(camera.oldest, camera.oldestPath, date, path);
    takeNewest(camera.newest, camera.newestPath, date, path);
    if (!selection.takes(result.camera, date, result.kind))
        return;
    ++tally.valid;
    tally.raw += raw;
    takeOldest(tally.oldest, tally.oldestPath, date, path);
    takeNewest(tally.newest, tally.newestPath, date, path);
    tally.room.take(result.roomLater, date, result.roomEarlier, date);
}

QString CameraTally::rangeProblem(qint64 seconds) const
{
    // Every date lies between the oldest and the newest, so checking those two
    // tells whether every shifted date still fits in place of the old one.
    for (const QDateTime &date : {tally.oldest, tally.newest}) {
        if (!date.isValid())
            continue;
        if (CaptureDate::format(date.addSecs(seconds)).isEmpty())
            // Shown by the window in the user's language (kelvaro-cli installs no translator).
            return QCoreApplication::translate("JobMessages",
                                               "shifting by %1 seconds would move %2 outside the years 1000 to "
                                               "9999; nothing was changed")
                .arg(seconds)
                .arg(date.toString(QLatin1String(CaptureDate::pattern)));
    }
    // A field that counts seconds in 32 bits (a video's header) ends in 2040.
    const Room &room = tally.room;
    const bool later = seconds > room.later, earlier = seconds < -room.earlier;
    if (later || earlier) {
        const QDateTime &date = later ? room.leastLater : room.leastEarlier;
        const QDateTime limit = later ? date.addSecs(room.later) : date.addSecs(-room.earlier);
        return QCoreApplication::translate("JobMessages",
                                           "shifting by %1 seconds would move %2 past %3, the limit of the times its file "
                                           "can hold; nothing was changed")
            .arg(seconds)
            .arg(date.toString(QLatin1String(CaptureDate::pattern)))
            .arg(limit.toString(QLatin1String(CaptureDate::pattern)));
    }
    return {};
}
