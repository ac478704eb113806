#pragma once

#include <QLocale>
#include <QStringList>

class QCoreApplication;

// The translators of the window: its own texts (kelvaro_<language>.qm) and
// Qt's (qtbase_<language>.qm: the buttons of the message boxes, the folder
// dialog), for the user's language.
class Translations
{
public:
    // Where the program's own translations are looked for: translations/
    // beside the program (the build tree, a Windows installation) and
    // share/kelvaro/translations of the installation prefix.
    static QStringList programFolders();

    // Where Qt's translations are looked for: Qt's own folder and
    // translations/ beside the program (where a Windows deployment puts them).
    static QStringList qtFolders();

    // Installs into `app` the translators of the first of `locale`'s
    // languages that the program has been translated to, Qt's for the same
    // language with it. Nothing is installed when there is none (English
    // stays). Returns the name of the language installed, or an empty text.
    static QString install(QCoreApplication &app, const QLocale &locale,
                           const QStringList &programFolders = Translations::programFolders(),
                           const QStringList &qtFolders = Translations::qtFolders());
};
