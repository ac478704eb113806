#include "picturelisting.h"

#include "clioutput.h"
#include "formatlist.h"
#include "progressline.h"
#include "shiftjob.h"

PictureListing::PictureListing(CliOutput &output, const ShiftJob &job) : output(output), job(job)
{
}

void PictureListing::start(Kind kind, qint64 shiftSeconds)
{
    this->kind = kind;
    this->shiftSeconds = shiftSeconds;
    output.startList();
}

void PictureListing::unreadable(const QString &path, const char *why)
{
    if (kind == Kind::None)
        return;
    entry(path,
          (kind == Kind::Dates ? QByteArray(", \"date\": null") : QByteArray(", \"old\": null, \"new\": null"))
              + ", \"reason\": " + CliOutput::jsonString(QString::fromLatin1(why)),
          why);
}

void PictureListing::entry(const QString &path, const QByteArray &jsonFields, const QByteArray &text)
{
    if (output.json())
        output.listJson("{\"path\": " + CliOutput::jsonString(path) + jsonFields + '}');
    else
        output.listText(ProgressLine::printable(path) + '\t' + text + '\n');
}

void PictureListing::picture(const QString &path, const PictureResult &result)
{
    if (kind == Kind::None)
        return;
    const bool usable = result.status == PictureStatus::Usable;
    // With a choice, the preview lists the pictures that would move, and no others.
    if (kind == Kind::Preview && !job.choice().all()
        && !(usable && job.choice().takes(result.camera, result.oldDate, result.kind)))
        return;
    const QByteArray kindName = FormatList::kindName(result.kind);
    if (output.json()) {
        QByteArray line = "{\"path\": " + CliOutput::jsonString(path) + ", \"kind\": \"" + kindName + '"';
        if (kind == Kind::Dates) {
            line += ", \"date\": " + CliOutput::jsonDate(result.oldDate, usable);
        } else {
            line += ", \"old\": " + CliOutput::jsonDate(result.oldDate, usable)
                    + ", \"new\": " + CliOutput::jsonDate(result.oldDate.addSecs(shiftSeconds), usable);
        }
        if (usable && result.fromUtc)
            line += ", \"time_kept\": \"utc\"";
        if (!usable)
            line += ", \"reason\": " + CliOutput::jsonString(QString::fromUtf8(CliOutput::reason(result)));
        else if (job.countCopies)
            line += ", \"xmp_dates\": " + QByteArray::number(result.xmpDates) + ", \"iptc_dates\": "
                    + QByteArray::number(result.iptcDates) + ", \"sidecars\": " + QByteArray::number(result.sidecars);
        output.listJson(line + '}');
        return;
    }
    QByteArray line = ProgressLine::printable(path) + '\t';
    if (!usable)
        line += CliOutput::reason(result);
    else if (kind == Kind::Dates)
        line += CliOutput::dateText(result.oldDate);
    else
        line += CliOutput::dateText(result.oldDate) + " -> " + CliOutput::dateText(result.oldDate.addSecs(shiftSeconds));
    // A JPEG's line reads as it always did; another kind is named.
    if (result.kind != FileKind::Jpeg)
        line += '\t' + kindName;
    // A video that keeps its time in UTC alone is shown in local time: said so.
    if (usable && result.fromUtc)
        line += "\t(kept in UTC, shown in local time)";
    // The other copies of the capture time that move with it.
    if (usable && job.countCopies && (result.xmpDates || result.iptcDates || result.sidecars))
        line += "\t(also " + QByteArray::number(result.xmpDates) + " XMP, " + QByteArray::number(result.iptcDates)
                + " IPTC, " + QByteArray::number(result.sidecars) + (result.sidecars == 1 ? " sidecar)" : " sidecars)");
    output.listText(line + '\n');
}
