#include "terminalenglish.h"

#include <cstring>

namespace {

// A shared text and its terminal forms for a count of one and for any other
// count.
struct Form {
    const char *source;
    const char *one;
    const char *many;
};

const Form forms[] = {
    {"%n folders", "%n folder", "%n folders"},
    {"%n pictures in %1, dated from\n%2 to \n%3\nwill be changed.\n\nDo you want to proceed?",
     "%n picture in %1, dated from %2 to %3, will be changed.\n\nDo you want to proceed?",
     "%n pictures in %1, dated from %2 to %3, will be changed.\n\nDo you want to proceed?"},
    {"%n pictures %4 in %1, dated from\n%2 to \n%3\nwill be changed.\n\nDo you want to proceed?",
     "%n picture %4 in %1, dated from %2 to %3, will be changed.\n\nDo you want to proceed?",
     "%n pictures %4 in %1, dated from %2 to %3, will be changed.\n\nDo you want to proceed?"},
    {"%n pictures in %1, dated from\n%2 to \n%3\nhave been changed.",
     "%n picture in %1, dated from %2 to %3, has been changed.",
     "%n pictures in %1, dated from %2 to %3, have been changed."},
    {"%n pictures %4 in %1, dated from\n%2 to \n%3\nhave been changed.",
     "%n picture %4 in %1, dated from %2 to %3, has been changed.",
     "%n pictures %4 in %1, dated from %2 to %3, have been changed."},
    {"The journal is damaged: %n of its lines cannot be trusted, and the pictures they name are left alone.",
     "The journal is damaged: %n of its lines cannot be trusted, and the picture it names is left alone.",
     "The journal is damaged: %n of its lines cannot be trusted, and the pictures they name are left alone."},
};

} // namespace

QString TerminalEnglish::translate(const char *context, const char *sourceText, const char *, int n) const
{
    if (!context || !sourceText || std::strcmp(context, "JobMessages") != 0)
        return QString();
    for (const Form &f : forms)
        if (std::strcmp(f.source, sourceText) == 0)
            return QString::fromUtf8(n == 1 ? f.one : f.many);
    return QString();
}

bool TerminalEnglish::isEmpty() const
{
    return false;
}

QByteArray TerminalEnglish::count(qint64 n, const char *one, const char *many)
{
    return QByteArray::number(n) + ' ' + (n == 1 ? one : many);
}

QByteArray TerminalEnglish::ofTotal(const QByteArray &text, int total)
{
    if (total != 1)
        return text;
    QByteArray out = text;
    return out.replace(" of 1 pictures", " of 1 picture");
}
