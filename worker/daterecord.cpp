#include "daterecord.h"

#include <algorithm>

DateRecord DateRecord::of(const FoundDates &found, const FileIdentity &file, const QString &camera)
{
    DateRecord record;
    record.file = file;
    record.camera = camera;
    record.fields.reserve(found.fields.size());
    for (const DateField &f : found.fields)
        record.fields.push_back({f.offset, f.width, f.encoding, f.role});
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
    }
    return out;
}

bool DateRecord::span(uint64_t *from, uint64_t *to) const
{
    if (fields.empty())
        return false;
    uint64_t first = UINT64_MAX, last = 0;
    for (const Field &f : fields) {
        first = std::min(first, f.offset);
        last = std::max(last, f.offset + f.width);
    }
    for (const DerivedField &d : derived) {
        first = std::min({first, d.offset, d.coverOffset});
        last = std::max({last, d.offset + d.width, d.coverOffset + d.coverLength});
    }
    *from = first;
    *to = last;
    return true;
}
