#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "datefield.h"

// The date fields a format found so far in one file, by offset. A field that
// would overlap one already kept is refused: what a format finds first (the
// EXIF texts) always stays, so the bytes a shift has always changed are
// changed exactly as before, and no two runs of a shift ever touch one byte.
class FieldSet {
public:
    bool overlaps(uint64_t offset, uint64_t width) const;
    // Keeps the field unless it is empty or overlaps one kept.
    bool add(const DateField &field);
    // A date and its time (an IPTC pair, two fields one after the other in
    // `pairs`) are kept together or not at all.
    void addPairs(const std::vector<DateField> &pairs);
    // The field kept at exactly this offset, or null.
    DateField *at(uint64_t offset);
    // The fields kept, by offset.
    std::vector<DateField> list() const;

private:
    std::map<uint64_t, DateField> fields;
};
