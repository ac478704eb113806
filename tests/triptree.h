// The files of one trip whose camera clocks were wrong: RAW+JPEG pairs of
// several makers, a phone's HEIC picture, videos (one that keeps its time in
// UTC alone and was edited years later, one with Apple's zoned creation
// date), and what an outside reader (exiftool) says of their times before and
// after a shift. Shared by the tests that shift such a tree on the command
// line and in the window.
#pragma once

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

#include "cr3builder.h"
#include "isobmffbuilder.h"
#include "moviebuilder.h"
#include "rawbuilder.h"
#include "samplefiles.h"

namespace trip {

using samples::Bytes;

struct File {
    QString name;
    Bytes bytes;
    QStringList stays;   // exiftool's "[Group] Tag" whose time is no copy of the capture time
};

// Every file of the trip, taken at `t` ("yyyy:MM:dd hh:mm:ss", local time in
// a zone two hours ahead of UTC, as Berlin's summer is).
inline std::vector<File> files(const std::string &t)
{
    using samples::ByteOrder;
    using tifftest::Header;
    const std::string utc = QDateTime::fromString(QString::fromStdString(t), QStringLiteral("yyyy:MM:dd HH:mm:ss"))
                                .addSecs(-7200)
                                .toString(QStringLiteral("yyyy:MM:dd HH:mm:ss"))
                                .toStdString();
    auto jpeg = [&t] { return jpegtest::Jpeg::camera(samples::camera(ByteOrder::Intel, t)).bytes(); };
    std::vector<File> all = {
        {"IMG_0001.CR2", samples::cameraTiff(Header::Intel, t), {}},
        {"DSC_0002.NEF", samples::richTiff(t, Header::Motorola), {}},
        {"P0003.ORF", samples::richTiff(t, Header::OlympusRO), {}},
        {"P1000004.RW2", samples::cameraTiff(Header::Panasonic, t), {}},
        {"DSCF0005.RAF", rawtest::Raf(samples::richJpeg(t)).bytes(), {}},
        {"IMG_0006.CR3", isotest::Cr3::camera(Header::Intel, t, "+02:00", 7200).bytes(), {}},
        {"IMG_0007.HEIC", isotest::Heif(samples::camera(ByteOrder::Motorola, t).tiff()).bytes(), {}},
        {"GOPR0008.MP4", isotest::Movie(utc).movieTimes(utc, "2023:03:01 09:00:00").bytes(),
         {"[QuickTime] ModifyDate"}},
        {"IMG_0009.MOV", isotest::Movie(utc).keys(QDateTime::fromString(QString::fromStdString(t),
                                                                        QStringLiteral("yyyy:MM:dd HH:mm:ss"))
                                                      .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss+0200"))
                                                      .toStdString())
                             .bytes(),
         {}},
    };
    // The JPEG each camera wrote beside its RAW file.
    for (const char *name : {"IMG_0001.JPG", "DSC_0002.JPG", "P0003.JPG", "P1000004.JPG", "DSCF0005.JPG",
                             "IMG_0006.JPG"})
        all.push_back({QString::fromLatin1(name), jpeg(), {}});
    return all;
}

// Every time exiftool reads in each file of `folder`, by file name and
// "[Group] Tag #n"; the file system's own times are left out.
inline QHash<QString, QHash<QString, QString>> outsideTimes(const QString &folder)
{
    QHash<QString, QHash<QString, QString>> times;
    static const QRegularExpression line(QStringLiteral("^\\[([^\\]]+)\\]\\s+(\\S+)\\s*:\\s*(.*)$"));
    for (const QString &file : QDir(folder).entryList(QDir::Files, QDir::Name)) {
        QProcess exiftool;
        exiftool.start(QStringLiteral("exiftool"),
                       {"-a", "-G1", "-s", "-time:all", "-q", "-q", QDir(folder).filePath(file)});
        exiftool.waitForFinished(60000);
        QHash<QString, int> seen;
        QHash<QString, QString> &these = times[file];
        for (const QString &text : QString::fromUtf8(exiftool.readAllStandardOutput()).split('\n')) {
            const QRegularExpressionMatch m = line.match(text);
            if (!m.hasMatch() || m.captured(1) == QLatin1String("System"))
                continue;
            const QString key = QStringLiteral("[%1] %2").arg(m.captured(1), m.captured(2));
            these.insert(key + QStringLiteral(" #") + QString::number(seen[key]++), m.captured(3));
        }
    }
    return times;
}

// The wall-clock part of a time as exiftool shows it; invalid for none.
inline QDateTime wallClock(const QString &value)
{
    return QDateTime::fromString(value.left(19), QStringLiteral("yyyy:MM:dd HH:mm:ss"));
}

// What is wrong with `after` as `before` shifted by `seconds`, the files
// taken at `t`: each time moved by exactly the shift (an IPTC date or time
// the part of it it holds), zones as written, and the times a file names in
// `stays` (and what is no date) as they were. Empty when nothing is; `moved`
// counts the times that moved.
inline QString shiftProblem(const QHash<QString, QHash<QString, QString>> &before,
                            const QHash<QString, QHash<QString, QString>> &after, const std::string &t,
                            qint64 seconds, const std::vector<File> &stays, int *moved)
{
    const QDateTime capture = wallClock(QString::fromStdString(t)), shifted = capture.addSecs(seconds);
    QHash<QString, QStringList> keep;
    for (const File &f : stays)
        keep.insert(f.name, f.stays);
    *moved = 0;
    if (after.size() != before.size())
        return QStringLiteral("files read: %1 before, %2 after").arg(before.size()).arg(after.size());
    for (auto file = before.cbegin(); file != before.cend(); ++file) {
        const QHash<QString, QString> &now = after.value(file.key());
        if (now.size() != file.value().size())
            return file.key() + QStringLiteral(": another number of times");
        for (auto tag = file.value().cbegin(); tag != file.value().cend(); ++tag) {
            const QString was = tag.value(), is = now.value(tag.key());
            const QString where = file.key() + QLatin1Char(' ') + tag.key() + QLatin1String(": ") + was
                                  + QLatin1String(" -> ") + is;
            const QString name = tag.key().section(QLatin1String(" #"), 0, 0);
            if (keep.value(file.key()).contains(name) || !wallClock(was).isValid()) {
                if (was == capture.toString(QStringLiteral("yyyy:MM:dd"))) {
                    if (is != shifted.toString(QStringLiteral("yyyy:MM:dd")))
                        return where;
                } else if (was.startsWith(capture.toString(QStringLiteral("HH:mm:ss")))) {
                    if (is.left(8) != shifted.toString(QStringLiteral("HH:mm:ss")) || is.mid(8) != was.mid(8))
                        return where;
                } else if (is != was) {
                    return where;
                }
                continue;
            }
            if (wallClock(was).secsTo(wallClock(is)) != seconds || is.mid(19) != was.mid(19))
                return where;
            ++*moved;
        }
    }
    return {};
}

} // namespace trip
