#include "clioutput.h"

#include "capturedate.h"
#include "pathbytes.h"
#include "progressline.h"

CliOutput::CliOutput(FILE *report, ProgressLine &progress, bool json)
    : report(report), progress(progress), asJson(json)
{
}

void CliOutput::print(const QByteArray &text)
{
    progress.write(report, text);
}

void CliOutput::printJson(const Fields &fields)
{
    QByteArray out;
    if (listOpen)
        out = listed ? "\n  ],\n" : "],\n";
    else
        out = "{\n";
    for (size_t i = 0; i < fields.size(); ++i)
        out += "  \"" + QByteArray(fields[i].first) + "\": " + fields[i].second
               + (i + 1 < fields.size() ? ",\n" : "\n");
    print(out + "}\n");
}

void CliOutput::startList()
{
    listed = 0;
    if (asJson) {
        print("{\n  \"list\": [");
        listOpen = true;
    }
}

void CliOutput::listJson(const QByteArray &object)
{
    print((listed ? ",\n    " : "\n    ") + object);
    ++listed;
}

void CliOutput::listText(const QByteArray &line)
{
    print(line);
    ++listed;
}

QByteArray CliOutput::jsonPlain(const QString &text)
{
    QByteArray out;
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (uchar(c) < 0x20)
                out += "\\u00" + QByteArray::number(uchar(c), 16).rightJustified(2, '0');
            else
                out += c;
        }
    }
    return out;
}

QByteArray CliOutput::jsonString(const QString &text)
{
    QByteArray out = "\"";
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int byte = PathBytes::escapedByte(text, i);
        if (byte < 0) {
            plain += text[i];
            continue;
        }
        out += jsonPlain(plain);
        plain.clear();
        out += "\\udc" + QByteArray::number(byte, 16).rightJustified(2, '0');
    }
    return out + jsonPlain(plain) + '"';
}

QByteArray CliOutput::dateText(const QDateTime &date)
{
    return date.toString(QLatin1String(CaptureDate::pattern)).toLatin1();
}

QByteArray CliOutput::jsonDate(const QDateTime &date, bool present)
{
    return present ? '"' + dateText(date) + '"' : QByteArray("null");
}

QByteArray CliOutput::reason(const PictureResult &result)
{
    QByteArray text = PictureResult::describe(result.status);
    if (result.status == PictureStatus::NotADate || result.status == PictureStatus::NoDate)
        if (!result.oldText.isEmpty())
            text += " \"" + ProgressLine::printableBytes(result.oldText) + '"';
    return text;
}
