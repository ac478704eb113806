// The installed tree: `cmake --install` of this build into a temporary
// DESTDIR with the prefix /usr, as a package would lay it out. Checks that
// every file a desktop needs is where it looks for it and readable, and that
// the installed program starts and loads its SVG plug-ins.

#include <QtTest>
#include <QTranslator>

#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QString appId = QStringLiteral(KELVARO_APP_ID);

struct Run
{
    int exitCode = -1;
    QByteArray output;
};

// Runs a program to its end with stdout and stderr merged.
Run run(const QString &program, const QStringList &arguments,
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        result.output = process.readAll();
        return result;
    }
    result.exitCode = process.exitCode();
    result.output = process.readAll();
    return result;
}

QStringList installedPrograms()
{
    QStringList programs { QStringLiteral("kelvaro") };
#ifdef KELVARO_HAS_CLI
    programs << QStringLiteral("kelvaro-cli");
#endif
    return programs;
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir destDir;
    QString usr;   // <DESTDIR>/usr

    QString path(const QString &relative) const { return usr + QLatin1Char('/') + relative; }

    // The value of KEY in the [Desktop Entry] group of a desktop file.
    static QString desktopValue(const QByteArray &entry, const QByteArray &key)
    {
        for (const QByteArray &line : entry.split('\n')) {
            if (line.startsWith(key + '='))
                return QString::fromUtf8(line.mid(key.size() + 1)).trimmed();
        }
        return QString();
    }

    static QByteArray readAll(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(destDir.isValid());
        usr = destDir.filePath(QStringLiteral("usr"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), destDir.path());
        const Run install = run(QStringLiteral(KELVARO_CMAKE),
                                { QStringLiteral("--install"), QStringLiteral(KELVARO_BUILD_DIR),
                                  QStringLiteral("--prefix"), QStringLiteral("/usr") },
                                env);
        QVERIFY2(install.exitCode == 0, install.output.constData());
    }

    void files_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("executable");
        for (const QString &program : installedPrograms()) {
            QTest::newRow(qPrintable(program)) << QStringLiteral("bin/") + program << true;
            QTest::newRow(qPrintable(program + QStringLiteral(".1")))
                << QStringLiteral("share/man/man1/%1.1.gz").arg(program) << false;
        }
        QTest::newRow("desktop entry") << QStringLiteral("share/applications/%1.desktop").arg(appId) << false;
        QTest::newRow("metainfo") << QStringLiteral("share/metainfo/%1.metainfo.xml").arg(appId) << false;
        QTest::newRow("copyright") << QStringLiteral("share/doc/kelvaro/copyright") << false;
        for (const char *language : { "de", "fr", "ja", "pt_BR", "zh_CN" })
            QTest::newRow(language) << QStringLiteral("share/kelvaro/translations/kelvaro_%1.qm").arg(language)
                                    << false;
    }

    // Every file is in place, readable by everyone, executable where it must
    // be, and carries no configure placeholder that was left unreplaced.
    void files()
    {
        QFETCH(QString, file);
        QFETCH(bool, executable);
        const QFileInfo info(path(file));
        QVERIFY2(info.isFile(), qPrintable(file));
        QVERIFY(info.permissions() & QFile::ReadOther);
        QCOMPARE(bool(info.permissions() & QFile::ExeOther), executable);

        QByteArray text = readAll(info.filePath());
        if (file.endsWith(QLatin1String(".gz"))) {
            QVERIFY(text.startsWith("\x1f\x8b"));
            const Run gunzip = run(QStringLiteral("gzip"), { QStringLiteral("-dc"), info.filePath() });
            QCOMPARE(gunzip.exitCode, 0);
            text = gunzip.output;
            QVERIFY(text.startsWith(".TH " + QFileInfo(file).baseName().toUpper().toLatin1() + " 1 "));
        }
        if (!executable)
            QVERIFY2(!QRegularExpression(QStringLiteral("@[A-Z_]+@")).match(QString::fromUtf8(text)).hasMatch(),
                     qPrintable(file));
    }

    // The installed translations are the compiled ones, in the folder beside
    // bin/ where the program looks for them.
    void translationsLoad()
    {
        QTranslator german;
        QVERIFY(german.load(QStringLiteral("kelvaro_de"), path(QStringLiteral("bin/../share/kelvaro/translations"))));
        QCOMPARE(german.translate("MainWindow", "Cancel"), QStringLiteral("Abbrechen"));
    }

    void icons_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("edge");
        for (int edge : { 16, 24, 32, 48, 64, 128, 256 }) {
            QTest::newRow(qPrintable(QStringLiteral("%1 px").arg(edge)))
                << QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(edge).arg(appId)
                << QByteArray("png") << edge;
        }
        QTest::newRow("scalable") << QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(appId)
                                  << QByteArray("svg") << 0;
    }

    // Each icon file is a picture of the size its theme folder names, with
    // both see-through and covered pixels.
    void icons()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, format);
        QFETCH(int, edge);
        QImageReader reader(path(file));
        QCOMPARE(reader.format(), format);
        if (edge > 0)
            QCOMPARE(reader.size(), QSize(edge, edge));
        else
            reader.setScaledSize(QSize(64, 64));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                opaque += image.pixelColor(x, y).alpha() == 255;
        }
        const int all = image.width() * image.height();
        QVERIFY2(opaque > all / 5 && opaque < all, qPrintable(QString::number(opaque)));
    }

    // The desktop entry passes the freedesktop validator, starts the
    // installed program and names the installed icon.
    void desktopEntry()
    {
        const QString file = path(QStringLiteral("share/applications/%1.desktop").arg(appId));
        const QByteArray entry = readAll(file);
        QVERIFY(entry.startsWith("[Desktop Entry]\n"));
        QCOMPARE(desktopValue(entry, "Type"), QStringLiteral("Application"));
        const QString exec = desktopValue(entry, "Exec").section(QLatin1Char(' '), 0, 0);
        QVERIFY2(QFileInfo(path(QStringLiteral("bin/") + exec)).isExecutable(), qPrintable(exec));
        QCOMPARE(desktopValue(entry, "Icon"), appId);

        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (validator.isEmpty())
            QSKIP("desktop-file-validate is not installed");
        const Run validate = run(validator, { file });
        QVERIFY2(validate.exitCode == 0 && validate.output.trimmed().isEmpty(), validate.output.constData());
    }

    // The AppStream metadata passes its validator (without looking anything
    // up on the network) and points at the desktop entry and the programs.
    void metainfo()
    {
        const QString file = path(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(appId));
        const QByteArray xml = readAll(file);
        QVERIFY(xml.contains("<id>" + appId.toUtf8() + "</id>"));
        QVERIFY(xml.contains("<launchable type=\"desktop-id\">" + appId.toUtf8() + ".desktop</launchable>"));
        for (const QString &program : installedPrograms())
            QVERIFY(xml.contains("<binary>" + program.toUtf8() + "</binary>"));
        for (const char *shot : { "/docs/window.png", "/docs/dated.png", "/docs/shifted.png" })
            QVERIFY2(xml.contains(QByteArray(shot) + "</image>"), shot);

        const QString appstreamcli = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
        if (appstreamcli.isEmpty())
            QSKIP("appstreamcli is not installed");
        const Run validate = run(appstreamcli, { QStringLiteral("validate"), QStringLiteral("--no-net"),
                                                 QStringLiteral("--no-color"), file });
        QVERIFY2(validate.exitCode == 0, validate.output.constData());
    }

    // The installed window starts on its own (outside the build tree), loads
    // the SVG icon and image plug-ins that draw its icons, and is still
    // running, its folder dialog open, after two seconds.
    void programStarts()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_DEBUG_PLUGINS"), QStringLiteral("1"));
        // Its settings go to a folder of this test, not to the user's.
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), destDir.filePath(QStringLiteral("config")));
        QProcess process;
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setWorkingDirectory(destDir.path());
        process.start(path(QStringLiteral("bin/kelvaro")), QStringList());
        QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
        QTest::qWait(2000);
        const bool running = process.state() == QProcess::Running;
        process.kill();
        process.waitForFinished();
        const QByteArray log = process.readAll();
        QVERIFY2(running, log.right(4000).constData());
        for (const char *plugin : { "iconengines/libqsvgicon.so\" loaded library",
                                    "imageformats/libqsvg.so\" loaded library" })
            QVERIFY2(log.contains(plugin), plugin);
    }

#ifdef KELVARO_HAS_CLI
    // The installed command runs and tells its version.
    void commandLineRuns()
    {
        const Run version = run(path(QStringLiteral("bin/kelvaro-cli")), { QStringLiteral("--version") });
        QCOMPARE(version.exitCode, 0);
        QVERIFY2(version.output.contains(KELVARO_VERSION), version.output.constData());
    }
#endif
};

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
