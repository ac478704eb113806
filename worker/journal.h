#pragma once

#include "filerewrite.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <limits>
#include <functional>
#include <vector>

// The record of one pass that writes pictures (a shift, an undo, a resume),
// kept as a text file of JSON lines in the per-user data folder, so that a
// pass that was interrupted in any way can be finished or taken back later,
// and so that a person can read what happened.
//
//   the first line: what the pass is (kind, folder, shift, file-time choice,
//                   the journal it works from, ...);
//   "confirmed":    the identities of the pictures whose dates the user saw,
//                   in lines of up to 1000 (what a resume may still shift);
//   one intent line per picture, written and flushed to the disk before the
//                   picture is written: its path, identity, size, times, its
//                   old and new capture date and every run (offset, old and
//                   new text);
//   one "done" line per picture after it was written (or not);
//   the closing line with the counts.
//
// Texts from the file system or from pictures (paths, runs) are byte strings:
// printable ASCII stands for itself, every other byte is written as \u00XX.
class Journal {
public:
    enum class Kind { Shift, Undo, Resume };

    struct Header {
        int version = 1;             // 2: every line sealed (journalline.h)
        Kind kind = Kind::Shift;
        QString folder;
        qint64 shiftSeconds = 0;
        bool adaptFileTimes = true;
        bool followOutsideLinks = false;
        bool exifOnly = false;       // only the EXIF texts moved
        int pictures = 0;            // pictures the pass set out to change
        QDateTime started;           // UTC
        QString source;              // undo and resume: the journal worked from
        QByteArray choice;           // which pictures were chosen, as JSON (empty: all)
    };

    struct Entry {
        int n = 0;
        QByteArray path;             // as the file system has it
        FileIdentity before;
        QByteArray oldDate, newDate; // capture dates before and after the pass
        std::vector<FileRewrite::Run> runs;
        bool sidecar = false;        // an XMP file beside a picture, not a picture
        bool hasOutcome = false;     // a "done" line was read for it
        PictureStatus outcome = PictureStatus::WriteFailed;
    };

    // The pictures whose dates the user saw, with the capture date each had
    // then (seconds since 1970 of the zone-less value; noDate when unknown).
    using Confirmed = QHash<FileIdentity, qint64>;
    static constexpr qint64 noDate = std::numeric_limits<qint64>::min();

    // A line that cannot be trusted: its seal fails, or it does not parse.
    struct DamagedLine {
        int line = 0;                // from 1
        QByteArray path;             // the picture it names, when that can be read
        bool picture = true;         // it may have named a picture (not a count, list or closing line)
    };

    // A journal read back.
    struct Record {
        QString path;
        Header header;
        Confirmed confirmed;
        std::vector<Entry> entries;
        bool closed = false;            // the closing line is there
        bool started = false;           // anything beyond the first line was written
        bool cancelled = false;
        int changed = 0;                // from the closing line, or the done lines
        int left = 0;                   // closing line: pictures set out to write and not written
        int alreadyDone = 0;            // closing line: pictures that held the wanted texts already
        bool sourceIncomplete = false;  // closing line: the journal the pass worked from was cut short
        std::vector<DamagedLine> damaged;
        bool cut = false;               // the last line ends without its line feed
        bool listLost = false;          // a line of the pictures the user saw is cut or damaged
        bool complete() const { return closed && !cut && damaged.empty(); }
    };

    Journal() = default;
    ~Journal();
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    // The folder that holds every journal of this user (created when missing).
    static QString folder();
    // Every journal, oldest first.
    static QStringList all();

    // Creates a new journal and writes its first line to the disk. False (and
    // why) when it cannot be created.
    bool create(const Header &header, QString *error);
    void addConfirmed(const Confirmed &ids);
    // True once any write or flush failed, or the journal was found removed.
    bool hasFailed() const { return failed; }
    // True once a flush found the journal's file removed (no name leads to it).
    bool wasRemoved() const { return removed; }
    void intent(const Entry &entry);
    // The outcome of picture `n`, as a fixed code (JournalOutcome).
    void done(int n, PictureStatus outcome);
    // Writes what is held and flushes it to the disk; false on any failure.
    bool flush();
    // Hands what is held to the system without waiting for the disk (the done
    // lines, which survive the end of the process, if not a power cut).
    bool write();
    // The closing line, flushed to the disk.
    bool close(bool cancelled, const QList<QPair<QByteArray, qint64>> &counts);
    // Closes and deletes a journal whose pass never began.
    void discard();
    bool isOpen() const { return file.isOpen(); }
    QString path() const { return file.fileName(); }

    // Reads a journal. With `eachEntry`, every picture's entry is handed to it
    // as it is read and not kept in the record (so that a journal of any size
    // is read in little memory); the entries then carry no outcome ("done").
    using EntrySink = std::function<void(Entry &&)>;
    static bool read(const QString &path, Record *record, QString *error, const EntrySink &eachEntry = {});
    // The first line alone (the header), with the same errors as read().
    static bool readHeader(const QString &path, Record *record, QString *error);
    // Only the first line and the outcome (closed, cancelled, pictures
    // changed), without reading every picture's lines as JSON: for listings.
    static bool summarize(const QString &path, Record *record);

    static QByteArray kindName(Kind kind);

private:
    static bool readLines(const QString &path, Record *record, QString *error, const EntrySink &eachEntry,
                          bool headerOnly);
    static bool parseHeader(const QByteArray &line, Header *header);

    QFile file;
    QByteArray held;
    bool failed = false;
    bool removed = false;
};
