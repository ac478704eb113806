#include "translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

QStringList Translations::programFolders()
{
    const QDir program(QCoreApplication::applicationDirPath());
    return { program.filePath(QStringLiteral("translations")),
             program.filePath(QStringLiteral("../share/kelvaro/translations")) };
}

QStringList Translations::qtFolders()
{
    const QDir program(QCoreApplication::applicationDirPath());
    return { QLibraryInfo::path(QLibraryInfo::TranslationsPath),
             program.filePath(QStringLiteral("translations")) };
}

// Loads `name`_<language>.qm from the first folder that holds it; a file of
// the language alone stands in for one of a region ("de" for "de_AT").
static QTranslator *load(QCoreApplication &app, const QString &name, const QString &language,
                         const QStringList &folders)
{
    auto *translator = new QTranslator(&app);
    for (const QString &folder : folders) {
        if (translator->load(name + QLatin1Char('_') + language, folder))
            return translator;
    }
    delete translator;
    return nullptr;
}

QString Translations::install(QCoreApplication &app, const QLocale &locale,
                              const QStringList &programFolders, const QStringList &qtFolders)
{
    // The user's languages in the order of preference; English, the
    // language of the sources, ends the search.
    QTranslator *own = nullptr;
    for (QString language : locale.uiLanguages()) {
        language.replace(QLatin1Char('-'), QLatin1Char('_'));
        if (language == QLatin1String("C") || language.startsWith(QLatin1String("en")))
            break;
        if ((own = load(app, QStringLiteral("kelvaro"), language, programFolders)))
            break;
    }
    if (!own)
        return QString();
    app.installTranslator(own);

    // Qt's texts in the language of the window's, so that the buttons of a
    // German question are German too (not those of some other language the
    // user also reads).
    const QString language = own->language();
    if (QTranslator *qt = load(app, QStringLiteral("qtbase"), language, qtFolders))
        app.installTranslator(qt);
    return language;
}
