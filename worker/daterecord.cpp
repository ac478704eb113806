#include "daterecord.h"

#include <algorithm>

DateRecord DateRecord::of(const FoundDates &found, const FileIdentity &file, const QString &camera)
{
    DateRecord record;
    record.file = file;
    record.camera = camera;
    record.fields.reserve(found.fields.size());
    size_t bytes = 0;
    for (const DateField &f : found.fields) {
        record.fields.push_back({f.offset, f.width, f.encoding, f.role, f.skew});
        bytes += f.width;
    }
    record.values.reserve(qsizetype(bytes));
    for (const DateField &f : found.fields) {
        if (f.value.size() != f.width) {
            record.values.clear();
            break;
        }
        record.values.append(f.value.data(), qsizetype(f.value.size()));
    }
    record.derived = found.derived;
    return record;
}

std::vector<DateField> DateRecord::dateFields() const
{
    std::vector<DateField> out(fields.size());
    for (size_t i = 0; i < fields.size(); ++i) {
        out[i].offset = fields[i].offset;
        out[i].width = fields[i].width;
        out[i].encoding = fields[i].encoding;
        out[i].role = fields[i].role;
        out[i].skew = fields[i].skew;
    }
    return out;
}

std::vector<DateRecord::Span> DateRecord::spans(uint64_t gap) const
{
    std::vector<Span> pieces;
    pieces.reserve(fields.size() + 2 * derived.size());
    for (const Field &f : fields)
        pieces.push_back({f.offset, f.offset + f.width});
    for (const DerivedField &d : derived) {
        pieces.push_back({d.offset, d.offset + d.width});
        pieces.push_back({d.coverOffset, d.coverOffset + d.coverLength});
    }
    return merged(std::move(pieces), gap);
}

std::vector<DateRecord::Span> DateRecord::merged(std::vector<Span> pieces, uint64_t gap)
{
    std::sort(pieces.begin(), pieces.end(), [](const Span &a, const Span &b) { return a.from < b.from; });
    std::vector<Span> out;
    for (const Span &p : pieces) {
        if (!out.empty() && p.from <= out.back().to + gap)
            out.back().to = std::max(out.back().to, p.to);
        else
            out.push_back(p);
    }
    return out;
}
