// The Debian package that CPack makes from this build: its dependencies name
// every Qt library and run-time plug-in the programs need, it holds the files
// Debian policy asks for, and lintian finds no error in it.

#include <QtTest>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray output;
};

// Runs a program to its end; stderr goes along with stdout only when asked.
Run run(const QString &program, const QStringList &arguments, bool withErrors = true)
{
    QProcess process;
    process.setProcessChannelMode(withErrors ? QProcess::MergedChannels : QProcess::SeparateChannels);
    process.start(program, arguments);
    Run result;
    const bool done = process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit;
    if (!done) {
        process.kill();
        process.waitForFinished();
    } else {
        result.exitCode = process.exitCode();
    }
    result.output = process.readAllStandardOutput();
    return result;
}

} // namespace

class TestDebPackage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir outDir;
    QString deb;

    QByteArray field(const char *name)
    {
        return run(QStringLiteral("dpkg-deb"), { QStringLiteral("--field"), deb, QLatin1String(name) }, false)
            .output.trimmed();
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("dpkg-deb")).isEmpty())
            QSKIP("dpkg-deb is not installed");
        QVERIFY(outDir.isValid());
        const Run cpack = run(QStringLiteral(KELVARO_CPACK),
                              { QStringLiteral("--config"),
                                QStringLiteral(KELVARO_BUILD_DIR "/CPackConfig.cmake"),
                                QStringLiteral("-G"), QStringLiteral("DEB"),
                                QStringLiteral("-B"), outDir.path() });
        QVERIFY2(cpack.exitCode == 0, cpack.output.constData());
        const QStringList debs = QDir(outDir.path()).entryList({ QStringLiteral("*.deb") }, QDir::Files);
        QCOMPARE(debs.size(), 1);
        deb = outDir.filePath(debs.first());
        QVERIFY2(debs.first().startsWith(QLatin1String("kelvaro_" KELVARO_VERSION "-")), qPrintable(deb));
    }

    void control_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("Package") << QByteArray("Package") << QByteArray("kelvaro");
        QTest::newRow("Section") << QByteArray("Section") << QByteArray("graphics");
        QTest::newRow("Priority") << QByteArray("Priority") << QByteArray("optional");
    }

    void control()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, value);
        QCOMPARE(field(name.constData()), value);
        QVERIFY(!field("Maintainer").isEmpty());
    }

    void dependencies_data()
    {
        QTest::addColumn<QByteArray>("package");
        QTest::newRow("Qt Core") << QByteArray("libqt6core6");
        QTest::newRow("Qt GUI") << QByteArray("libqt6gui6");
        QTest::newRow("Qt Widgets") << QByteArray("libqt6widgets6");
        QTest::newRow("SVG plug-ins") << QByteArray("libqt6svg6");
        QTest::newRow("platform plug-ins") << QByteArray("qt6-qpa-plugins");
    }

    // Each package the programs need at run time is among the Depends.
    void dependencies()
    {
        QFETCH(QByteArray, package);
        QSet<QByteArray> names;
        for (const QByteArray &relation : field("Depends").split(','))
            names.insert(relation.trimmed().split(' ').first());
        QVERIFY2(names.contains(package), field("Depends").constData());
    }

    void contents_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("program") << QStringLiteral("./usr/bin/kelvaro");
#ifdef KELVARO_HAS_CLI
        QTest::newRow("command") << QStringLiteral("./usr/bin/kelvaro-cli");
        QTest::newRow("command manual") << QStringLiteral("./usr/share/man/man1/kelvaro-cli.1.gz");
#endif
        QTest::newRow("manual") << QStringLiteral("./usr/share/man/man1/kelvaro.1.gz");
        QTest::newRow("desktop entry")
            << QStringLiteral("./usr/share/applications/" KELVARO_APP_ID ".desktop");
        QTest::newRow("metainfo") << QStringLiteral("./usr/share/metainfo/" KELVARO_APP_ID ".metainfo.xml");
        QTest::newRow("icon") << QStringLiteral("./usr/share/icons/hicolor/scalable/apps/" KELVARO_APP_ID ".svg");
        QTest::newRow("copyright") << QStringLiteral("./usr/share/doc/kelvaro/copyright");
        QTest::newRow("changelog") << QStringLiteral("./usr/share/doc/kelvaro/changelog.Debian.gz");
        QTest::newRow("German") << QStringLiteral("./usr/share/kelvaro/translations/kelvaro_de.qm");
    }

    void contents()
    {
        QFETCH(QString, file);
        const Run list = run(QStringLiteral("dpkg-deb"), { QStringLiteral("--contents"), deb }, false);
        QCOMPARE(list.exitCode, 0);
        bool found = false;
        for (const QByteArray &line : list.output.split('\n'))
            found = found || line.endsWith(" " + file.toUtf8());
        QVERIFY2(found, qPrintable(file));
    }

    // lintian, when installed, reports no error.
    void lintian()
    {
        const QString lintian = QStandardPaths::findExecutable(QStringLiteral("lintian"));
        if (lintian.isEmpty())
            QSKIP("lintian is not installed");
        const Run check = run(lintian, { QStringLiteral("--fail-on"), QStringLiteral("error"),
                                         QStringLiteral("--display-info"), deb }, false);
        qInfo().noquote() << check.output;
        QVERIFY2(check.exitCode == 0, check.output.constData());
        QVERIFY2(!check.output.contains("\nE: ") && !check.output.startsWith("E: "), check.output.constData());
    }
};

QTEST_MAIN(TestDebPackage)
#include "tst_debpackage.moc"
