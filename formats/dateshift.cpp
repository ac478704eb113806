#include "dateshift.h"

#include <algorithm>
#include <cstring>

#include "md5.h"

namespace {

// True when the bytes of a field in `encoding` spell `capture`: the whole
// time, or for the IPTC encodings the part of it they hold.
bool spells(DateEncoding encoding, const std::string &bytes, const WallClock &capture)
{
    WallClock t;
    if (!DateCodec::decode(encoding, reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size(), &t))
        return false;
    switch (encoding) {
    case DateEncoding::IptcDate:
        return t.year == capture.year && t.month == capture.month && t.day == capture.day;
    case DateEncoding::IptcTime:
        return t.hour == capture.hour && t.minute == capture.minute && t.second == capture.second;
    default:
        return t == capture;
    }
}

bool readString(ByteSource &file, uint64_t offset, uint64_t n, std::string *out)
{
    if (n > file.size() || offset > file.size() - n)
        return false;
    out->assign(size_t(n), '\0');
    return n == 0 || file.readAt(offset, &(*out)[0], size_t(n));
}

// True when [offset, offset + n) meets a run of the list, sorted by offset
// and free of overlaps.
bool meetsRun(const std::vector<DateShift::Run> &runs, uint64_t offset, uint64_t n)
{
    if (n == 0)
        return false;
    auto next = std::lower_bound(runs.begin(), runs.end(), offset,
                                 [](const DateShift::Run &run, uint64_t at) { return run.offset < at; });
    if (next != runs.end() && next->offset - offset < n)
        return true;
    return next != runs.begin() && (next - 1)->offset + (next - 1)->to.size() > offset;
}

// The digest of the `n` bytes from `offset` as they will read after the runs.
std::string digestAfter(std::string data, uint64_t offset, const std::vector<DateShift::Run> &runs)
{
    const uint64_t end = offset + data.size();
    for (const DateShift::Run &run : runs) {
        for (size_t i = 0; i < run.to.size(); ++i) {
            const uint64_t at = run.offset + i;
            if (at >= offset && at < end)
                data[size_t(at - offset)] = run.to[i];
        }
    }
    const Md5::Digest d = Md5::of(ConstByteView(reinterpret_cast<const unsigned char *>(data.data()), data.size()));
    return std::string(reinterpret_cast<const char *>(d.data()), d.size());
}

} // namespace

bool DateShift::isCameraField(DateEncoding encoding)
{
    return encoding != DateEncoding::XmpText && encoding != DateEncoding::IptcDate && encoding != DateEncoding::IptcTime;
}

bool DateShift::plan(ByteSource &file, const std::vector<DateField> &fields,
                     const std::vector<DerivedField> &derived, const WallClock &capture, int64_t seconds,
                     bool exifTextOnly, Plan *plan)
{
    *plan = Plan();
    const WallClock shifted = DateCodec::addSeconds(capture, seconds);
    if (!DateCodec::isValid(capture) || !DateCodec::isValid(shifted))
        return false;

    // In the order of their offsets, so that the runs come out sorted.
    std::vector<const DateField *> byOffset;
    byOffset.reserve(fields.size());
    for (const DateField &field : fields)
        byOffset.push_back(&field);
    std::stable_sort(byOffset.begin(), byOffset.end(),
                     [](const DateField *a, const DateField *b) { return a->offset < b->offset; });

    for (const DateField *f : byOffset) {
        const DateField &field = *f;
        if (exifTextOnly && !isCameraField(field.encoding))
            continue;
        const uint32_t width = DateCodec::width(field.encoding);
        if (field.width != width)
            continue;
        Run run;
        run.offset = field.offset;
        if (!readString(file, field.offset, width, &run.from))
            return false;
        const WallClock held = field.skew ? DateCodec::addSeconds(capture, field.skew) : capture;
        if (!spells(field.encoding, run.from, held))
            continue;
        // A time the field cannot spell (a 32-bit count of seconds past 2040,
        // say) fails the whole plan: a file half moved tells two times.
        unsigned char out[32];
        if (!DateCodec::encode(field.encoding, field.skew ? DateCodec::addSeconds(shifted, field.skew) : shifted, out))
            return false;
        run.to.assign(reinterpret_cast<const char *>(out), width);
        if (!plan->runs.empty() && plan->runs.back().offset + plan->runs.back().to.size() > run.offset)
            continue;   // overlaps the field before it
        plan->runs.push_back(run);
        ++plan->moved[field.encoding];
        plan->captureMoved = plan->captureMoved || field.role == DateRole::Capture;
    }

    if (!exifTextOnly) {
        const std::vector<Run> fieldRuns = plan->runs;
        std::vector<Run> digests;
        for (const DerivedField &d : derived) {
            // Only a digest whose data changes, and never over a field or
            // another digest.
            if (d.kind != DerivedField::Kind::Md5 || d.width != md5Width || !meetsRun(fieldRuns, d.coverOffset, d.coverLength)
                || meetsRun(fieldRuns, d.offset, d.width)
                || std::any_of(digests.begin(), digests.end(), [&d](const Run &r) {
                       return r.offset < d.offset + d.width && d.offset < r.offset + r.to.size();
                   }))
                continue;
            Run run;
            run.offset = d.offset;
            std::string data;
            if (!readString(file, d.offset, d.width, &run.from) || !readString(file, d.coverOffset, d.coverLength, &data))
                return false;
            // A digest that no longer matches its data is left as it is.
            const std::string now = digestAfter(data, d.coverOffset, {});
            if (run.from != now)
                continue;
            run.to = digestAfter(std::move(data), d.coverOffset, fieldRuns);
            if (run.to == run.from)
                continue;
            digests.push_back(run);
            ++plan->digestsUpdated;
        }
        plan->runs.insert(plan->runs.end(), digests.begin(), digests.end());
    }

    std::sort(plan->runs.begin(), plan->runs.end(), [](const Run &a, const Run &b) { return a.offset < b.offset; });
    return true;
}
