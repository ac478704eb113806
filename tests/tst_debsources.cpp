// The deb-src entries the Windows build adds for qt6-base's source: derived
// from the machine's own deb entries, whichever form they are written in.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestDebSources : public QObject {
    Q_OBJECT
private slots:
    void entries_data();
    void entries();
};

using Files = QMap<QString, QByteArray>;   // path below the root -> content
Q_DECLARE_METATYPE(Files)

namespace {

const QByteArray bookworm = "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nVERSION_CODENAME=bookworm\nID=debian\n";

QByteArray stanza(const QByteArray &uri, const QByteArray &suites, const QByteArray &components,
                  const QByteArray &key = QByteArray())
{
    return "Types: deb-src\nURIs: " + uri + "\nSuites: " + suites + "\nComponents: " + components + '\n'
           + (key.isEmpty() ? QByteArray() : "Signed-By: " + key + '\n') + '\n';
}

} // namespace

void TestDebSources::entries_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray key = "/usr/share/keyrings/debian-archive-keyring.gpg";
    QTest::newRow("deb822 file, two stanzas")
        << Files{{"etc/os-release", bookworm},
                 {"etc/apt/sources.list.d/debian.sources",
                  "Types: deb\n# a comment\nURIs: http://mirror.example/debian\nSuites: bookworm bookworm-updates\n"
                  "Components: main contrib\nSigned-By: " + key + "\n\nTypes: deb\nURIs: http://mirror.example/security\n"
                  "Suites: bookworm-security\nComponents: main\nSigned-By: " + key + "\n"}}
        << stanza("http://mirror.example/debian", "bookworm bookworm-updates", "main contrib", key)
               + stanza("http://mirror.example/security", "bookworm-security", "main", key);
    QTest::newRow("one-line sources.list with options and comments")
        << Files{{"etc/os-release", bookworm},
                 {"etc/apt/sources.list",
                  "# deb http://commented.example/debian bookworm main\n"
                  "deb [arch=amd64 signed-by=/k.gpg] http://proxy.local:3142/debian bookworm main non-free-firmware\n"
                  "deb-src http://proxy.local:3142/debian bookworm main\n"
                  "  deb   http://proxy.local:3142/debian   bookworm-updates main   # trailing\n"}}
        << stanza("http://proxy.local:3142/debian", "bookworm", "main non-free-firmware", "/k.gpg")
               + stanza("http://proxy.local:3142/debian", "bookworm-updates", "main");
    QTest::newRow("list files in sources.list.d, duplicates once")
        << Files{{"etc/os-release", bookworm},
                 {"etc/apt/sources.list.d/a.list", "deb file:/srv/mirror bookworm main\n"},
                 {"etc/apt/sources.list.d/b.list", "deb file:/srv/mirror bookworm main\n"}}
        << stanza("file:/srv/mirror", "bookworm", "main");
    QTest::newRow("other suites, disabled stanzas and source-only entries are left out")
        << Files{{"etc/os-release", bookworm},
                 {"etc/apt/sources.list", "deb https://vendor.example/apt cloud-sdk-bookworm main\n"
                                          "deb http://old.example/debian bullseye main\n"},
                 {"etc/apt/sources.list.d/node.sources",
                  "Types: deb\nURIs: https://node.example/node_20.x\nSuites: nodistro\nComponents: main\n"},
                 {"etc/apt/sources.list.d/off.sources",
                  "Types: deb\nURIs: http://off.example/debian\nSuites: bookworm\nComponents: main\nEnabled: no\n"},
                 {"etc/apt/sources.list.d/src.sources",
                  "Types: deb-src\nURIs: http://src.example/debian\nSuites: bookworm\nComponents: main\n"},
                 {"etc/apt/sources.list.d/mixed.sources",
                  "Types: deb\nURIs: http://mixed.example/debian\nSuites: bookworm sid\nComponents: main\n"},
                 {"etc/apt/sources.list.save", "deb http://saved.example/debian bookworm main\n"}}
        << stanza("http://mixed.example/debian", "bookworm", "main");
    QTest::newRow("an inline key is kept with its continuation lines")
        << Files{{"etc/os-release", bookworm},
                 {"etc/apt/sources.list.d/k.sources",
                  "Types: deb deb-src\nURIs: http://k.example/debian\nSuites: bookworm\nComponents: main\nSigned-By:\n"
                  " -----BEGIN PGP PUBLIC KEY BLOCK-----\n .\n mQINBF\n -----END PGP PUBLIC KEY BLOCK-----\n"}}
        << QByteArray("Types: deb-src\nURIs: http://k.example/debian\nSuites: bookworm\nComponents: main\nSigned-By:\n"
                      " -----BEGIN PGP PUBLIC KEY BLOCK-----\n .\n mQINBF\n -----END PGP PUBLIC KEY BLOCK-----\n\n");
    QTest::newRow("no deb entry of the release")
        << Files{{"etc/os-release", bookworm}, {"etc/apt/sources.list", "deb http://x.example/debian trixie main\n"}}
        << QByteArray();
    QTest::newRow("no code name")
        << Files{{"etc/os-release", "ID=debian\n"}, {"etc/apt/sources.list", "deb http://x.example/debian bookworm main\n"}}
        << QByteArray();
}

void TestDebSources::entries()
{
    QFETCH(Files, files);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QVERIFY(QDir(root.path()).mkpath("etc/apt/sources.list.d"));
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QFile f(root.filePath(it.key()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(it.value()), qint64(it.value().size()));
    }
    QProcess p;
    p.start(QStringLiteral("bash"), {QStringLiteral(KELVARO_DEB_SRC_ENTRIES), root.path()});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.readAllStandardError(), QByteArray());
    QCOMPARE(p.exitCode(), 0);
    QTEST(p.readAllStandardOutput(), "expected");
}

QTEST_APPLESS_MAIN(TestDebSources)
#include "tst_debsources.moc"
