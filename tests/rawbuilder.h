// Builders for the RAW containers that carry their capture time in a block of
// their own (RAF, MRW, CRW, X3F), so that a test case reads as one line of
// intent:
//
//   Bytes raf = rawtest::Raf(Jpeg::camera(exif).bytes()).bytes();
//   Bytes mrw = rawtest::Mrw(exif).bytes();
//   Bytes crw = rawtest::Crw::camera("2005:04:23 17:54:36").bytes();
//
// Each lays its parts out the way the cameras do, with image data of a
// chosen size where the camera puts it, and tells where that data lies, so
// that a test can check a reader never touches it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jpegbuilder.h"

namespace rawtest {

using jpegtest::ByteOrder;
using jpegtest::Bytes;

// Where a piece of a built file lies.
struct Span {
    uint64_t offset = 0;
    uint64_t length = 0;
};

// Seconds since 1970-01-01 00:00:00 of "yyyy:MM:dd hh:mm:ss", read as UTC.
int64_t secondsSince1970(const std::string &exifText);

// Fujifilm RAF: the header (mark, version, camera id, model), the offsets and
// lengths of the embedded JPEG, the sensor's directory and its data; then the
// JPEG, the directory and the data.
class Raf {
public:
    explicit Raf(Bytes jpeg);
    Raf &model(const std::string &name);
    Raf &sensorBytes(size_t n);
    // The JPEG's offset and length as the header states them, whatever the layout.
    Raf &jpegField(uint32_t offset, uint32_t length);

    Bytes bytes() const;
    Span jpeg() const;       // where the JPEG lies
    Span sensor() const;     // where the sensor's data lies

private:
    Bytes jpegBytes;
    std::string modelName = "X-T1";
    size_t sensorSize = 4096;
    bool fieldOverride = false;
    uint32_t fieldOffset = 0, fieldLength = 0;
};

// Minolta MRW: the "\0MRM" block holding the "\0PRD", "\0TTW" (a TIFF
// structure: the EXIF block), "\0WBG" and "\0RIF" blocks, then the image data.
class Mrw {
public:
    explicit Mrw(const jpegtest::ExifBlock &exif);
    Mrw &imageBytes(size_t n);
    // A block of any name and payload, added after the others.
    Mrw &block(const std::string &name, const Bytes &payload);
    // The "\0MRM" block's length as stated, whatever its contents.
    Mrw &lengthField(uint32_t length);

    Bytes bytes() const;
    Span tiff() const;       // the "\0TTW" block's payload
    Span image() const;

private:
    Bytes layout(Span *tiff, Span *image) const;

    Bytes tiffBytes;
    std::vector<std::pair<std::string, Bytes>> extra;
    size_t imageSize = 4096;
    bool lengthOverride = false;
    uint32_t lengthValue = 0;
};

// One heap of a Canon CIFF file: its values, then its table of entries (a
// count, then tag, size and offset of each), then the table's offset.
class CiffHeap {
public:
    // A value that lies in the heap.
    CiffHeap &value(uint16_t tag, const Bytes &data);
    // A value of 8 bytes held in the entry itself (0x4000 is added to the tag).
    CiffHeap &inEntry(uint16_t tag, const Bytes &eight);
    CiffHeap &heap(uint16_t tag, const CiffHeap &child);
    // An entry with its size and offset written verbatim.
    CiffHeap &rawEntry(uint16_t tag, uint32_t size, uint32_t offset);
    // The table's offset as written in the heap's last 4 bytes, whatever the layout.
    CiffHeap &tableField(uint32_t offset);

    Bytes bytes(ByteOrder order) const;
    // Where the value of the `index`th entry lies in bytes() (its heap's offset).
    uint32_t valueAt(size_t index) const;

private:
    struct Entry {
        uint16_t tag;
        Bytes data;              // the value in the heap, or the 8 bytes in the entry
        std::vector<CiffHeap> child;
        bool inEntry = false;
        bool verbatim = false;
        uint32_t size = 0, offset = 0;
    };
    std::vector<Entry> entries;
    bool tableOverride = false;
    uint32_t tableValue = 0;
};

namespace ciff {
enum : uint16_t {
    RawData = 0x2005, JpgFromRaw = 0x2007, ThumbnailImage = 0x2008, ImageDescription = 0x2804,
    CameraObject = 0x2807, MeasuredInfo = 0x3003, CameraDetails = 0x3004, ImageProps = 0x300A,
    ExifInformation = 0x300B, OwnerName = 0x0810, MakeModel = 0x080A, FirmwareVersion = 0x080B,
    OriginalFileName = 0x0816, ImageFormat = 0x1803, RecordId = 0x1804, CaptureTime = 0x180E,
    ImageInfo = 0x1810, ShotInfo = 0x102A, TargetImageType = 0x100A,
};
}

// Canon CRW: the 26-byte header ("II" or "MM", its length, "HEAPCCDR", the
// version) and the root heap up to the end of the file.
class Crw {
public:
    Crw(ByteOrder order, CiffHeap root);
    // The header's length field, whatever the layout.
    Crw &headerField(uint32_t length);
    Bytes bytes() const;

    // The CaptureTime value: seconds, zone code, zone information.
    static Bytes captureTime(ByteOrder order, uint32_t seconds, int32_t zone = 0, uint32_t zoneInfo = 0);
    // The MakeModel value: "make\0model\0" padded to 32 bytes.
    static Bytes makeModel(const std::string &make, const std::string &model);
    // A camera's file as a PowerShot writes it: the raw data first, the
    // thumbnail, and the image properties holding the capture time `t`
    // ("yyyy:MM:dd hh:mm:ss"), the camera object with make and model, and the
    // EXIF information.
    static Crw camera(const std::string &t, ByteOrder order = ByteOrder::Intel, size_t rawBytes = 4096);
    // Where camera()'s raw data lies.
    static Span cameraRawData(size_t rawBytes = 4096);

private:
    ByteOrder order;
    CiffHeap root;
    bool headerOverride = false;
    uint32_t headerValue = 26;
};

// Sigma X3F: the "FOVb" header and an empty section directory at the end.
Bytes x3f(size_t imageBytes = 1024);

} // namespace rawtest
