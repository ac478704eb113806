#include "fieldset.h"

bool FieldSet::overlaps(uint64_t offset, uint64_t width) const
{
    auto next = fields.lower_bound(offset);
    if (next != fields.end() && next->first < offset + width)
        return true;
    if (next == fields.begin())
        return false;
    --next;
    return next->first + next->second.width > offset;
}

bool FieldSet::add(const DateField &field)
{
    if (field.width == 0 || overlaps(field.offset, field.width))
        return false;
    fields.emplace(field.offset, field);
    return true;
}

void FieldSet::addPairs(const std::vector<DateField> &pairs)
{
    for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
        if (overlaps(pairs[i].offset, pairs[i].width) || overlaps(pairs[i + 1].offset, pairs[i + 1].width))
            continue;
        add(pairs[i]);
        add(pairs[i + 1]);
    }
}

DateField *FieldSet::at(uint64_t offset)
{
    auto found = fields.find(offset);
    return found == fields.end() ? nullptr : &found->second;
}

std::vector<DateField> FieldSet::list() const
{
    std::vector<DateField> out;
    out.reserve(fields.size());
    for (const auto &entry : fields)
        out.push_back(entry.second);
    return out;
}
