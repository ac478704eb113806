#include "datingreport.h"

#include "progressline.h"
#include "shiftjob.h"
#include "terminalenglish.h"
#include "walkstate.h"

DatingReport::DatingReport(const WalkState &state, const ShiftJob &job, int folders)
    : state(state), job(job), folders(folders)
{
}

CliOutput::Fields DatingReport::countFields() const
{
    const bool any = state.validCount > 0;
    return {{"folders", QByteArray::number(folders)},
            {"pictures", QByteArray::number(state.pictureCount.load())},
            {"valid", QByteArray::number(state.validCount.load())},
            {"raw", QByteArray::number(job.kinds().raw)},
            {"unsupported", QByteArray::number(job.kinds().unsupported)},
            {"oldest", CliOutput::jsonDate(state.oldestDate, any)},
            {"newest", CliOutput::jsonDate(state.newestDate, any)},
            {"oldest_path", any ? CliOutput::jsonString(state.oldestPath) : QByteArray("null")},
            {"newest_path", any ? CliOutput::jsonString(state.newestPath) : QByteArray("null")},
            {"outside_links", QByteArray::number(state.outsideLinks.load())},
            {"unreadable", QByteArray::number(state.unreadableCount.load())}};
}

QByteArray DatingReport::countText() const
{
    const bool any = state.validCount > 0;
    return "Folders:  " + QByteArray::number(folders) + "\nPictures: "
           + QByteArray::number(state.pictureCount.load()) + "\nUsable:   "
           + QByteArray::number(state.validCount.load()) + "\nOldest:   "
           + (any ? CliOutput::dateText(state.oldestDate) : "none") + "\nNewest:   "
           + (any ? CliOutput::dateText(state.newestDate) : "none") + '\n'
           + (any ? "Oldest picture: " + ProgressLine::printable(state.oldestPath) + "\nNewest picture: "
                        + ProgressLine::printable(state.newestPath) + '\n'
                  : QByteArray())
           + (job.kinds().raw > 0 ? "RAW files: " + QByteArray::number(job.kinds().raw) + '\n' : QByteArray())
           + (job.kinds().unsupported > 0
                  ? "Format not supported: " + QByteArray::number(job.kinds().unsupported) + '\n'
                  : QByteArray())
           + (state.outsideLinks > 0 ? "Links leading outside the folder, not followed: "
                                           + QByteArray::number(state.outsideLinks.load()) + '\n'
                                     : QByteArray())
           + (state.unreadableCount > 0 ? "Could not be read: " + QByteArray::number(state.unreadableCount.load()) + '\n'
                                        : QByteArray());
}

QByteArray DatingReport::camerasJson() const
{
    const QList<ShiftJob::Camera> cameras = job.cameras();
    QByteArray out = "[";
    for (int i = 0; i < cameras.size(); ++i) {
        const ShiftJob::Camera &c = cameras.at(i);
        out += QByteArray(i ? ",\n" : "\n") + "    {\"name\": " + CliOutput::jsonString(c.name) + ", \"pictures\": "
               + QByteArray::number(c.pictures) + ", \"valid\": " + QByteArray::number(c.valid)
               + ", \"oldest\": " + CliOutput::jsonDate(c.oldest, c.valid > 0) + ", \"newest\": "
               + CliOutput::jsonDate(c.newest, c.valid > 0) + ", \"oldest_path\": "
               + (c.valid > 0 ? CliOutput::jsonString(c.oldestPath) : QByteArray("null")) + ", \"newest_path\": "
               + (c.valid > 0 ? CliOutput::jsonString(c.newestPath) : QByteArray("null")) + '}';
    }
    return out + (cameras.isEmpty() ? "]" : "\n  ]");
}

QByteArray DatingReport::camerasText() const
{
    const QList<ShiftJob::Camera> cameras = job.cameras();
    if (cameras.isEmpty())
        return "Cameras:  none\n";
    QByteArray text = "Cameras:\n";
    for (const ShiftJob::Camera &c : cameras) {
        text += "  " + c.name.toUtf8() + ": " + TerminalEnglish::count(c.pictures, "picture", "pictures") + ", "
                + QByteArray::number(c.valid) + " usable";
        if (c.valid > 0)
            text += ", " + CliOutput::dateText(c.oldest) + " to " + CliOutput::dateText(c.newest);
        text += '\n';
    }
    return text;
}
