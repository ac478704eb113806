#pragma once

// Values decoded from one picture. The caller clears the record to zeros
// first, so a zero value stands for a value that was not found. Text fields
// are always NUL-terminated.
struct ExifInfo {
    char exifVersion[5];            // 4 characters
    char makeText[32];              // camera maker, at most 31 characters
    char modelText[40];             // camera model, at most 39 characters
    char originalDateText[20];      // capture time "yyyy:MM:dd hh:mm:ss"
    int imageHeight;                // from the start-of-frame segment
    int imageWidth;
    int orientationCode;            // 1 to 8; 0 when absent or out of range
    int colourImage;                // 1 when the frame has three components
    int frameMarker;                // marker code of the start-of-frame segment
    int flashFired;                 // 1 when one of the Flash value's low three bits is set
    float focalLengthMm;
    float exposureSeconds;          // ExposureTime, or derived from ShutterSpeedValue
    float apertureNumber;           // FNumber, or derived from (Max)ApertureValue
    float subjectDistance;
    float sensorWidth;              // largest pixel dimension x unit / focal-plane X resolution
    float exposureBiasValue;
    int lightSourceCode;
    int meteringModeCode;
    int exposureProgramCode;
    int isoSpeed;                   // a value of 49 or less is taken x200
    int compressionBits;
    float focalPlaneXResolution;
    float focalPlaneYResolution;
    float focalPlaneUnitInches;     // length of the focal-plane unit in inches
    float horizontalResolution;
    float verticalResolution;
    float resolutionUnitInches;     // length of the resolution unit in inches
    float brightnessValue;
    char commentText[1000];         // first JPEG comment, or the EXIF UserComment
    const unsigned char *thumbnailData;   // inside the held APP1 buffer; null when none
    int thumbnailLength;
    bool hasExif;                   // an EXIF block decoded without a fatal error (the first such one)
};
