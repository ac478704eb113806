#pragma once

#include "pictureresult.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdio>

#include <utility>
#include <vector>

class ProgressLine;

// Where kelvaro-cli's report goes: text lines, or one JSON object whose
// "list" (when there is one) is written while the pass runs, so that nothing
// grows with the tree. Every line goes through the progress line, so that it
// never lands in the middle of the bar.
//
// Also the pieces every part of the report is written with: JSON strings and
// dates, and the dates as text lines show them.
class CliOutput {
public:
    // A JSON object's fields in the order they are written: name, JSON value.
    using Fields = std::vector<std::pair<const char *, QByteArray>>;

    CliOutput(FILE *report, ProgressLine &progress, bool json);

    bool json() const { return asJson; }

    void print(const QByteArray &text);
    // The closing object: after the list when one was started, on its own otherwise.
    void printJson(const Fields &fields);

    // Starts a listing: in JSON, the object and its "list".
    void startList();
    // One entry of the listing: a JSON object (`{...}`) or a text line.
    void listJson(const QByteArray &object);
    void listText(const QByteArray &line);

    // A JSON string. A byte of a file name that is not UTF-8 is written as the
    // escape \udcXX of its lone surrogate (XX the byte), as PathBytes holds it.
    static QByteArray jsonString(const QString &text);
    // A capture date as the pictures hold it (CaptureDate::pattern).
    static QByteArray dateText(const QDateTime &date);
    // That text as a JSON string, or null when there is no date.
    static QByteArray jsonDate(const QDateTime &date, bool present);
    // Why a picture has no usable date, with the text it holds instead when
    // that is what is wrong.
    static QByteArray reason(const PictureResult &result);

private:
    static QByteArray jsonPlain(const QString &text);

    FILE *report;
    ProgressLine &progress;
    bool asJson;
    bool listOpen = false;   // a JSON "list" was started
    int listed = 0;
};
