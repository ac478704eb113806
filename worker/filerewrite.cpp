#include "filerewrite.h"

#include "capturedate.h"
#include "dateshift.h"
#include "formatlist.h"
#include "pathbytes.h"

#include <QtDebug>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// Runs (and the fields a plan reads) closer than this to each other are read
// and written as one piece.
constexpr uint64_t kNearbyRuns = 65536;
// The most a plan or a commit reads of one picture.
constexpr uint64_t kMostRead = uint64_t(1) << 26;

// The pieces of a file a plan needs, read into memory, as a source a format's
// fields are read from.
class Pieces : public HeldSource {
public:
    // Not zeroed first: every piece is read whole before it is looked at.
    explicit Pieces(const std::vector<DateRecord::Span> &spans) : spans(spans), held(spans.size())
    {
        for (size_t i = 0; i < spans.size(); ++i)
            held[i].reset(new unsigned char[size_t(spans[i].to - spans[i].from)]);
    }
    char *data(size_t i) { return reinterpret_cast<char *>(held[i].get()); }
    uint64_t size() const override { return spans.empty() ? 0 : spans.back().to; }
    const unsigned char *peek(uint64_t offset, size_t n) override
    {
        for (size_t i = 0; i < spans.size(); ++i)
            if (offset >= spans[i].from && offset <= spans[i].to && n <= spans[i].to - offset)
                return held[i].get() + (offset - spans[i].from);
        return nullptr;
    }

private:
    const std::vector<DateRecord::Span> &spans;
    std::vector<std::unique_ptr<unsigned char[]>> held;
};


// The fields of a picture as the dating pass read them, as a source a plan
// reads its fields from: only their own bytes can be read.
class KeptFields : public HeldSource {
public:
    explicit KeptFields(const DateRecord &record) : record(record) {}
    bool usable() const
    {
        qsizetype total = 0;
        for (const DateRecord::Field &f : record.fields)
            total += qsizetype(f.width);
        return !record.fields.empty() && record.values.size() == total;
    }
    uint64_t size() const override { return uint64_t(record.file.size); }
    const unsigned char *peek(uint64_t offset, size_t n) override
    {
        size_t at = 0;
        for (const DateRecord::Field &f : record.fields) {
            if (offset >= f.offset && offset - f.offset <= f.width && n <= f.width - (offset - f.offset))
                return reinterpret_cast<const unsigned char *>(record.values.constData()) + at + (offset - f.offset);
            at += f.width;
        }
        return nullptr;
    }

private:
    const DateRecord &record;
};

void logPath(const char *format, const QString &path)
{
    qDebug(format, PathBytes::displayBytes(path).constData());
}

bool isRegular(const OpenedFile::FileStatus &status)
{
#ifdef _WIN32
    return (status.st_mode & _S_IFMT) == _S_IFREG;
#else
    return S_ISREG(status.st_mode);
#endif
}

} // namespace

PictureStatus FileRewrite::open(const QString &path, const FileIdentity::Claim &claim)
{
    using Status = PictureStatus;
    filePath = path;
    planned.clear();
    if (!picture.open(path, true)) {
        OpenedFile::FileStatus status;
        const bool readOnly = OpenedFile::statPath(path, &status) && (status.st_mode & 0222) == 0;
        logPath(readOnly ? "read-only, not changed : %s" : "cannot open for writing : %s", path);
        return Status::CannotOpen;
    }
    if (!picture.haveStatus) {
        logPath("read failed : %s", path);
        return Status::ReadFailed;
    }
    if (!isRegular(picture.status)) {
        logPath("not a regular file, not changed : %s", path);
        return Status::NotRegular;
    }
    if (claim && !claim(picture.id()))
        return Status::AlreadySeen;
    // A picture that nobody may write is one the user protected: leave it alone
    // even where the process could write it anyway (as the superuser can).
    if ((picture.status.st_mode & 0222) == 0) {
        logPath("read-only, not changed : %s", path);
        return Status::CannotOpen;
    }
    if (!picture.tryLock()) {
        logPath("in use by another program, not changed : %s", path);
        return Status::Locked;
    }
    before = picture.id();
#ifdef _WIN32
    if (!picture.fileTimes(&before.accessNs, &before.modificationNs)) {
        logPath("read failed : %s", path);
        return Status::ReadFailed;
    }
#endif
    return Status::Usable;
}

PictureStatus FileRewrite::planSidecar(const QByteArray &oldText, const QByteArray &newText, int *dates)
{
    using Status = PictureStatus;
    *dates = 0;
    const QDateTime was = CaptureDate::parse(oldText), becomes = CaptureDate::parse(newText);
    if (!was.isValid() || !becomes.isValid())
        return Status::DateNotFound;
    if (before.size > maximumSidecar) {
        logPath("sidecar too large, not changed : %s", filePath);
        return Status::DateNotFound;
    }
    if (!picture.load(size_t(before.size))) {
        logPath("read failed : %s", filePath);
        return Status::ReadFailed;
    }
    // Every XMP date-time of the packet that spells the capture time.
    const WallClock capture = CaptureDate::wallClock(was);
    const std::vector<DateField> fields = FormatList::sidecarFields(
        reinterpret_cast<const unsigned char *>(picture.bytes.data()), picture.loaded, capture);
    DateShift::Plan plan;
    if (!DateShift::plan(picture.source(), fields, {}, capture, was.secsTo(becomes), false, &plan) || plan.runs.empty())
        return Status::DateNotFound;
    take(plan);
    *dates = plan.moved[DateEncoding::XmpText];
    return Status::Usable;
}

PictureStatus FileRewrite::planShift(qint64 seconds, PictureResult *result, bool exifOnly,
                                              const Accept &accept)
{
    using Status = PictureStatus;
    FoundDates found;
    const Status dated = picture.locateDates(result, &found);
    if (dated != Status::Usable)
        return dated;   // no usable date: nothing to do, nothing to report
    if (accept && !accept(*result))
        return Status::NotChosen;

    result->newDate = result->oldDate.addSecs(seconds);
    if (CaptureDate::format(result->newDate).size() != CaptureDate::textLength) {
        logPath("date out of range : %s", filePath);
        return Status::OutOfRange;
    }

    // Every copy of the capture time the format found: the EXIF texts equal
    // to it and, unless only those move, its XMP values, its IPTC date and
    // time pairs and the IPTC digest that covers them.
    DateShift::Plan plan;
    if (!DateShift::plan(picture.source(), found.fields, found.derived, CaptureDate::wallClock(result->oldDate),
                         seconds, exifOnly, &plan)) {
        logPath("read failed : %s", filePath);
        return Status::ReadFailed;
    }
    if (!plan.captureMoved) {
        // The capture time has always been rewritten where it stands (the EXIF
        // text); a picture where it does not move is left alone, whatever else
        // it holds.
        logPath("date not found : %s", filePath);
        return Status::DateNotFound;
    }
    take(plan);
    result->runs = int(plan.runs.size());
    result->xmpDates = plan.moved[DateEncoding::XmpText];
    result->iptcDates = plan.moved[DateEncoding::IptcDate];
    return Status::Usable;
}

bool FileRewrite::planShiftFrom(const DateRecord &record, const QDateTime &captured, qint64 seconds,
                                   PictureResult *result, PictureStatus *status, bool exifOnly,
                                   const Accept &accept)
{
#ifdef _WIN32
    // The status there keeps whole seconds and no change time: too little to
    // tell that nobody wrote the file since it was read.
    Q_UNUSED(record);
    Q_UNUSED(captured);
    Q_UNUSED(seconds);
    Q_UNUSED(result);
    Q_UNUSED(status);
    Q_UNUSED(exifOnly);
    Q_UNUSED(accept);
    return false;
#else
    using Status = PictureStatus;
    if (!captured.isValid() || !before.unchangedSince(record.file))
        return false;
    const std::vector<DateRecord::Span> spans = record.spans(kNearbyRuns);
    uint64_t total = 0;
    for (const DateRecord::Span &p : spans)
        total += p.to - p.from;
    if (spans.empty() || spans.back().to > uint64_t(before.size) || total > kMostRead)
        return false;
    // The file is as it was when its dates were read (identity, size,
    // modification and change time): the plan is made from the bytes read
    // then, and the commit checks them in the file before it writes. A
    // derived field needs the data it covers: then the pieces are read.
    KeptFields asRead(record);
    std::unique_ptr<Pieces> pieces;
    ByteSource *bytes = &asRead;
    if (!record.derived.empty() || !asRead.usable()) {
        pieces.reset(new Pieces(spans));
        for (size_t i = 0; i < spans.size(); ++i)
            if (!picture.readAt(int64_t(spans[i].from), pieces->data(i), size_t(spans[i].to - spans[i].from)))
                return false;
        bytes = pieces.get();
    }

    PictureResult next = *result;
    next.camera = record.camera;
    next.oldDate = captured;
    next.oldText = CaptureDate::format(captured);
    if (accept && !accept(next)) {
        *result = next;
        *status = Status::NotChosen;
        return true;
    }
    next.newDate = captured.addSecs(seconds);
    if (CaptureDate::format(next.newDate).size() != CaptureDate::textLength) {
        logPath("date out of range : %s", filePath);
        *result = next;
        *status = Status::OutOfRange;
        return true;
    }
    // Every field must still spell the capture time, as it did when it was read.
    DateShift::Plan plan;
    if (!DateShift::plan(*bytes, record.dateFields(), record.derived, CaptureDate::wallClock(captured), seconds,
                         exifOnly, &plan))
        return false;
    size_t expected = 0, kept = 0;
    for (const DateRecord::Field &f : record.fields)
        expected += !exifOnly || DateShift::isCameraField(f.encoding);
    for (const auto &moved : plan.moved)
        kept += size_t(moved.second);
    if (kept != expected || !plan.captureMoved)
        return false;
    take(plan);
    next.runs = int(plan.runs.size());
    next.xmpDates = plan.moved[DateEncoding::XmpText];
    next.iptcDates = plan.moved[DateEncoding::IptcDate];
    *result = next;
    *status = Status::Usable;
    return true;
#endif
}

void FileRewrite::take(const DateShift::Plan &plan)
{
    planned.clear();
    planned.reserve(plan.runs.size());
    for (const DateShift::Run &run : plan.runs)
        planned.push_back({int64_t(run.offset), QByteArray::fromStdString(run.from), QByteArray::fromStdString(run.to)});
}

PictureStatus FileRewrite::check()
{
    bool timesSet = false;
    return apply(false, 0, 0, &timesSet);
}

PictureStatus FileRewrite::commit(int64_t accessNs, int64_t modificationNs, bool *timesSet)
{
    return apply(true, accessNs, modificationNs, timesSet);
}

PictureStatus FileRewrite::apply(bool write, int64_t accessNs, int64_t modificationNs, bool *timesSet)
{
    using Status = PictureStatus;
    *timesSet = false;
    if (planned.empty())
        return Status::DateNotFound;

    // Nobody may have changed the picture since it was read: not its size, not
    // its modification time, and its name must still lead to this very file.
    OpenedFile::FileStatus now;
#ifdef _WIN32
    int64_t accessNow = 0, modificationNow = 0;
    const bool unchanged = picture.statusNow(&now) && picture.fileTimes(&accessNow, &modificationNow)
                           && int64_t(now.st_size) == before.size && modificationNow == before.modificationNs
                           && picture.pathLeadsHere(filePath);
#else
    // One status call answers all: the path still leads to the open file,
    // and that file's size, modification and change times are as they were.
    bool throughLink = false;
    const bool unchanged =
        picture.pathLeadsHere(filePath, &now, &throughLink) && FileIdentity::of(now).unchangedSince(before);
    // A picture moved out of the folder behind a link since it was opened is
    // not written through that link.
    if (unchanged && throughLink && !insideOf.isEmpty()
        && !PathBytes::isWithin(PathBytes::canonical(filePath), insideOf)) {
        logPath("behind a link leading outside the folder, not changed : %s", filePath);
        return Status::ChangedElsewhere;
    }
#endif
    if (!unchanged) {
        logPath("changed by another program : %s", filePath);
        return Status::ChangedElsewhere;
    }

    std::sort(planned.begin(), planned.end(), [](const Run &a, const Run &b) { return a.offset < b.offset; });
    std::vector<DateRecord::Span> pieces;
    for (const Run &run : planned) {
        if (run.offset < 0 || run.from.isEmpty() || run.to.size() != run.from.size()) {
            logPath("date not found : %s", filePath);
            return run.offset < 0 ? Status::DateNotFound : Status::Unrecognised;
        }
        pieces.push_back({uint64_t(run.offset), uint64_t(run.offset) + uint64_t(run.to.size())});
    }
    // The runs close to each other go in one positioned write from the first
    // to the last, the bytes between exactly as they are; a header's runs are
    // one such piece.
    const std::vector<DateRecord::Span> spans = DateRecord::merged(std::move(pieces), kNearbyRuns);
    uint64_t total = 0;
    for (const DateRecord::Span &p : spans)
        total += p.to - p.from;
    if (spans.back().to > uint64_t(before.size) || total > kMostRead) {
        logPath("date not found : %s", filePath);
        return Status::DateNotFound;
    }
    // The pieces as read, not zeroed first; the runs are patched in place,
    // and what each run held is kept aside to put a piece back.
    std::unique_ptr<char[]> buffer(new char[size_t(total)]);
    char *const bytes = buffer.get();
    std::vector<size_t> at(spans.size());   // where each piece starts in the buffer
    for (size_t i = 0, next = 0; i < spans.size(); next += size_t(spans[i].to - spans[i].from), ++i) {
        at[i] = next;
        if (!picture.readAt(int64_t(spans[i].from), bytes + next, size_t(spans[i].to - spans[i].from))) {
            logPath("read failed : %s", filePath);
            return Status::ReadFailed;
        }
    }

    // Each run must hold its old text (to be written) or already its new one.
    // A run whose old and new texts are one (an IPTC date a shift of hours
    // leaves as it is) is no change by itself: a picture is written when a
    // run that moves needs it, or when no run moves at all (a shift by 0).
    struct Stood {
        size_t piece;
        char *at;
        QByteArray bytes;
    };
    std::vector<Stood> stood;
    stood.reserve(planned.size());
    std::vector<bool> differs(spans.size(), false);
    bool anyToWrite = false, noneMoves = true;
    size_t piece = 0;
    for (const Run &run : planned) {
        while (uint64_t(run.offset) >= spans[piece].to)
            ++piece;
        char *at_ = bytes + at[piece] + size_t(uint64_t(run.offset) - spans[piece].from);
        const size_t n = size_t(run.from.size());
        noneMoves = noneMoves && run.from == run.to;
        const bool holdsOld = memcmp(at_, run.from.constData(), n) == 0;
        if (!holdsOld && memcmp(at_, run.to.constData(), n) == 0)
            continue;
        if (!holdsOld && !cutBetween(run.offset, at_, run.from, run.to) && !cutBetween(run.offset, at_, run.to, run.from)) {
            logPath("holds neither the old nor the new date, not changed : %s", filePath);
            return Status::Unrecognised;
        }
        stood.push_back({piece, at_, QByteArray(at_, qsizetype(n))});
        differs[piece] = differs[piece] || memcmp(at_, run.to.constData(), n) != 0;
        memcpy(at_, run.to.constData(), n);
        anyToWrite = anyToWrite || run.from != run.to;
    }

    anyToWrite = anyToWrite || noneMoves;
    if (!write)
        return anyToWrite ? Status::Changed : Status::AlreadyDone;
    std::vector<bool> written(spans.size(), false);
    for (size_t i = 0; anyToWrite && i < spans.size(); ++i) {
        const size_t length = size_t(spans[i].to - spans[i].from);
        if (!differs[i] && spans.size() > 1)
            continue;   // nothing of this piece changes
        written[i] = true;
        if (picture.writeAt(int64_t(spans[i].from), bytes + at[i], length))
            continue;
        // Put back what stood there, this piece and those written before it,
        // so that the picture never holds a mix of old and new texts.
        for (const Stood &s : stood)
            memcpy(s.at, s.bytes.constData(), size_t(s.bytes.size()));
        bool putBack = true;
        for (size_t j = 0; j <= i; ++j)
            if (written[j])
                putBack = picture.writeAt(int64_t(spans[j].from), bytes + at[j], size_t(spans[j].to - spans[j].from))
                          && putBack;
        if (!putBack)
            logPath("write failed, and the old bytes could not be put back : %s", filePath);
        else
            logPath("write failed : %s", filePath);
        picture.setTimes(before.accessNs, before.modificationNs);
        return Status::WriteFailed;
    }

    *timesSet = picture.setTimes(accessNs, modificationNs);
    if (!*timesSet)
        logPath("utime() failed with : %s", filePath);
    return anyToWrite ? Status::Changed : Status::AlreadyDone;
}

// Whether `at` (the field at `offset` in the file) holds the first bytes of
// `first` and the rest of `second`, split where a write can be cut: a kill
// stops a write of several pages between two of them, a power cut between two
// sectors, so the split lies on a multiple of 512 bytes in the file. Such a
// field holds nothing but the two texts the journal names, and is finished by
// writing. Any other mix (a text another program edited in part) is not.
bool FileRewrite::cutBetween(int64_t offset, const char *at, const QByteArray &first, const QByteArray &second)
{
    const int n = int(first.size());
    // Every split that fits: from the end of `second`'s matching tail to the
    // end of `first`'s matching head.
    int head = 0;
    while (head < n && at[head] == first[head])
        ++head;
    int tail = n;
    while (tail > 0 && at[tail - 1] == second[tail - 1])
        --tail;
    for (int k = std::max(1, tail); k <= std::min(head, n - 1); ++k)
        if ((offset + k) % 512 == 0)
            return true;
    return false;
}

bool FileRewrite::localInstantNs(const QDateTime &wallClock, int64_t *ns)
{
    qint64 seconds = 0;
    if (!CaptureDate::localInstant(wallClock, &seconds))
        return false;
    *ns = int64_t(seconds) * 1000000000LL;
    return true;
}
