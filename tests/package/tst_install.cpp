// The install: `cmake --install` of this build into a temporary prefix gives the files the Debian
// package ships, the installed program finds its library and its data there, and the desktop entry
// and software-centre metadata validate (when the validators are installed).
#include "platform/AppFolder.h"

#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs a program to its end; the environment has no library path, so only run paths count.
Run run(const QString &program, const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LD_LIBRARY_PATH"));
    env.remove(QStringLiteral("DISPLAY"));
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(120000))
        return {-1, QString(), QStringLiteral("%1 did not finish: %2").arg(program, p.errorString())};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void installsTheFiles();
    void programRunsFromItsPrefix();
    void programFindsItsData();
    void metadataValidates();

private:
    QString installed(const QString &relative) const { return m_prefix.filePath(relative); }
    QString installedLibrary() const;

    QTemporaryDir m_prefix;
};

void TestInstall::initTestCase()
{
    const QString cmake = QStandardPaths::findExecutable(QStringLiteral("cmake"));
    if (cmake.isEmpty() || !QFileInfo(QStringLiteral(SCRIVLO_BIN_DIR "/scrivlo")).isExecutable())
        QSKIP("cmake is not installed or the program is not built");
    QVERIFY(m_prefix.isValid());
    const Run r = run(cmake, {QStringLiteral("--install"), QStringLiteral(SCRIVLO_BIN_DIR "/.."),
                              QStringLiteral("--prefix"), m_prefix.path()});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
}

void TestInstall::installsTheFiles()
{
    const QStringList files{"bin/scrivlo",
                            "share/scrivlo/tipofday.txt",
                            "share/scrivlo/table.rtf",
                            "share/applications/scrivlo.desktop",
                            "share/icons/hicolor/scalable/apps/scrivlo.svg",
                            "share/icons/hicolor/48x48/apps/scrivlo.png",
                            "share/metainfo/org.example.scrivlo.metainfo.xml",
                            "share/man/man1/scrivlo.1.gz"};
    for (const QString &file : files)
        QVERIFY2(QFileInfo(installed(file)).isFile(), qPrintable(file));

    // Each PNG is drawn at the size of the folder it is installed in.
    QDirIterator pngs(installed("share/icons/hicolor"), {"scrivlo.png"}, QDir::Files, QDirIterator::Subdirectories);
    int sizes = 0;
    while (pngs.hasNext()) {
        const QString png = pngs.next();
        const QString folder = QFileInfo(png).dir().absolutePath().section(u'/', -2, -2);
        const int size = QImage(png).width();
        QCOMPARE(folder, QStringLiteral("%1x%1").arg(size));
        ++sizes;
    }
    QVERIFY(sizes >= 1);

    // The manual page is gzipped and has its version filled in.
    const Run man = run(QStringLiteral("gzip"), {QStringLiteral("-dc"), installed("share/man/man1/scrivlo.1.gz")});
    QCOMPARE(man.exitCode, 0);
    QVERIFY(man.out.contains(QStringLiteral(".SH SYNOPSIS")));
    QVERIFY(!man.out.contains(u'@'));
}

QString TestInstall::installedLibrary() const
{
    QDirIterator it(installed("lib"), {"libscrivlo.so"}, QDir::Files, QDirIterator::Subdirectories);
    return it.hasNext() ? it.next() : QString();
}

void TestInstall::programRunsFromItsPrefix()
{
    // The library lives in a folder of its own under lib/, found through the program's run path.
    const QString library = installedLibrary();
    QVERIFY2(library.endsWith(QStringLiteral("/scrivlo/libscrivlo.so")), qPrintable(library));
    const Run ldd = run(QStringLiteral("ldd"), {installed("bin/scrivlo")});
    const QRegularExpression resolved(QStringLiteral("libscrivlo\\.so => (\\S+)"));
    const QString loaded = resolved.match(ldd.out).captured(1);
    QCOMPARE(QFileInfo(loaded).canonicalFilePath(), QFileInfo(library).canonicalFilePath());

    QTemporaryDir work;
    const QString in = work.filePath(QStringLiteral("note.rtf"));
    QFile f(in);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("{\\rtf1\\ansi Hello {\\b bold}\\par}");
    f.close();
    const Run r = run(installed("bin/scrivlo"), {QStringLiteral("--convert-to"), QStringLiteral("txt"),
                                                 QStringLiteral("--outdir"), work.path(), in});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QCOMPARE(readAll(work.filePath(QStringLiteral("note.txt"))), QByteArray("Hello bold\r\n"));
}

void TestInstall::programFindsItsData()
{
    // The installed program looks up its data from its own folder, <prefix>/bin, whatever the
    // prefix it was built for.
    const AppFolder folder = AppFolder::forProgramIn(installed("bin"));
    for (const QString &name : {QStringLiteral("tipofday.txt"), QStringLiteral("table.rtf")})
        QCOMPARE(QFileInfo(folder.find(name)).canonicalFilePath(),
                 QFileInfo(installed("share/scrivlo/" + name)).canonicalFilePath());
}

void TestInstall::metadataValidates()
{
    const QString desktop = installed("share/applications/scrivlo.desktop");
    const QString metainfo = installed("share/metainfo/org.example.scrivlo.metainfo.xml");
    const QByteArray entry = readAll(desktop);
    QVERIFY(entry.contains("\nExec=scrivlo %F\n"));
    QVERIFY(entry.contains("\nMimeType=text/rtf;application/rtf;text/plain;application/vnd.openxmlformats-officedocument.wordprocessingml.document;application/vnd.oasis.opendocument.text;\n"));
    // The software centre starts the program through the desktop entry the metadata names.
    QVERIFY(readAll(metainfo).contains("<launchable type=\"desktop-id\">scrivlo.desktop</launchable>"));

    const QString desktopValidator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    const QString appstream = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (!desktopValidator.isEmpty()) {
        const Run r = run(desktopValidator, {desktop});
        QVERIFY2(r.exitCode == 0 && r.out.isEmpty(), qPrintable(r.out + r.err));
    }
    if (!appstream.isEmpty()) {
        const Run r = run(appstream, {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
        QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    }
    if (desktopValidator.isEmpty() || appstream.isEmpty())
        QSKIP("desktop-file-validate or appstreamcli is not installed");
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
