#pragma once

#include "datefield.h"
#include "fileidentity.h"

#include <QString>

#include <cstdint>
#include <vector>

// What the dating pass found in one usable picture, kept so that the writing
// pass can move its dates without reading and parsing it again: the file as
// it was then (identity, size, modification and change time), the camera,
// and where each field that spells the capture time lies and how it is
// spelled. The bytes themselves are not kept: each field spelled the capture
// time, so the writing pass knows what it must find there.
struct DateRecord {
    struct Field {
        uint64_t offset = 0;
        uint32_t width = 0;
        DateEncoding encoding = DateEncoding::ExifText;
        DateRole role = DateRole::Copy;
    };

    FileIdentity file;
    QString camera;
    std::vector<Field> fields;
    std::vector<DerivedField> derived;

    bool isValid() const { return !fields.empty(); }

    static DateRecord of(const FoundDates &found, const FileIdentity &file, const QString &camera);
    // The fields as a format reports them (without their bytes).
    std::vector<DateField> dateFields() const;
    // The bytes [from, to) that hold every field and everything a derived
    // field covers; false when there is nothing.
    bool span(uint64_t *from, uint64_t *to) const;
};
