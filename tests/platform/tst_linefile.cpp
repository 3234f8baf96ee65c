#include "CodecTesting.h"
#include "platform/LineFile.h"
#include "platform/SystemError.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;
using Platform::TextEncoding;

namespace {

bool putFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// What a user listing the folder would see: every entry with its kind and content.
QStringList snapshot(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString name = QDir(folder).relativeFilePath(info.filePath());
        if (info.isSymLink())
            entries << name + u" -> "_s + info.symLinkTarget();
        else if (info.isDir())
            entries << name + u"/"_s;
        else
            entries << name + u": "_s + QString::fromLatin1(fileBytes(info.filePath()).toHex());
    }
    entries.sort();
    return entries;
}

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char *name, const QString &value) : m_name(name), m_old(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value.toUtf8());
    }
    ~ScopedEnvironment()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    QByteArray m_old;
    bool m_had;
};

} // namespace

class LineFileTest : public QObject
{
    Q_OBJECT

private slots:
    void readsLines_data();
    void readsLines();
    void unreadableFileGivesNothing_data();
    void unreadableFileGivesNothing();
    void writesLines_data();
    void writesLines();
    void keepsPermissions_data();
    void keepsPermissions();
    void writesThroughSymbolicLinks_data();
    void writesThroughSymbolicLinks();
    void refusesLinksToOtherPlaces_data();
    void refusesLinksToOtherPlaces();
    void failedWriteLeavesOldFile_data();
    void failedWriteLeavesOldFile();
    void deviceErrorsAreToldInDanish_data();
    void deviceErrorsAreToldInDanish();
};

void LineFileTest::readsLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<TextEncoding>("encoding");

    const TextEncoding ansi = TextEncoding::Ansi;
    QTest::newRow("final CR LF ends the last line") << QByteArray("a\r\nb\r\n")
                                                    << QStringList{u"a"_s, u"b"_s} << ansi;
    QTest::newRow("blank last line") << QByteArray("a\r\nb\r\n\r\n")
                                     << QStringList{u"a"_s, u"b"_s, QString()} << ansi;
    QTest::newRow("five values and a blank line")
        << QByteArray("1\r\n2\r\n3\r\n4\r\n5\r\n\r\n")
        << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, QString()} << ansi;
    QTest::newRow("empty file") << QByteArray() << QStringList() << ansi;
    QTest::newRow("no final line break") << QByteArray("a") << QStringList{u"a"_s} << ansi;
    QTest::newRow("only a line break") << QByteArray("\r\n") << QStringList{QString()} << ansi;
    QTest::newRow("LF") << QByteArray("a\nb\n") << QStringList{u"a"_s, u"b"_s} << ansi;
    QTest::newRow("CR") << QByteArray("a\rb\r") << QStringList{u"a"_s, u"b"_s} << ansi;
    QTest::newRow("LF CR is two line breaks") << QByteArray("a\n\rb")
                                              << QStringList{u"a"_s, QString(), u"b"_s} << ansi;
    QTest::newRow("mixed line breaks") << QByteArray("a\r\nb\nc\rd")
                                       << QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s} << ansi;
    QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF" "bl\xC3\xA5" "b\xC3\xA6r\r\n")
                                << QStringList{u"blåbær"_s} << TextEncoding::Utf8Bom;
    QTest::newRow("only a UTF-8 mark") << QByteArray("\xEF\xBB\xBF") << QStringList()
                                       << TextEncoding::Utf8Bom;
    QTest::newRow("UTF-16 LE mark") << raw("\xFF\xFE" "\xA9\x03\r\0\n\0x\0\r\0\n\0")
                                    << QStringList{u"Ω"_s, u"x"_s} << TextEncoding::Utf16LE;
    QTest::newRow("UTF-16 BE mark") << raw("\xFE\xFF" "\x03\xA9\0\r\0\n")
                                    << QStringList{u"Ω"_s} << TextEncoding::Utf16BE;
#ifndef Q_OS_WIN
    QTest::newRow("UTF-8 without mark") << QByteArray("bl\xC3\xA5" "b\xC3\xA6r\r\n")
                                        << QStringList{u"blåbær"_s} << ansi;
    QTest::newRow("Windows-1252") << QByteArray("bl\xE5" "b\xE6r\r\n\xD8" "l\r\n")
                                  << QStringList{u"blåbær"_s, u"Øl"_s}
                                  << TextEncoding::Windows1252;
#endif
}

void LineFileTest::readsLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QFETCH(TextEncoding, encoding);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"list.txt"_s);
    QVERIFY(putFile(path, bytes));

    TextEncoding found = TextEncoding::Utf16BE;
    const std::optional<QStringList> read = Platform::readLines(path, &found);
    QVERIFY(read);
    QCOMPARE(*read, lines);
    QCOMPARE(found, encoding);
}

void LineFileTest::unreadableFileGivesNothing_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("missing") << u"missing"_s;
    QTest::newRow("a folder") << u"folder"_s;
    QTest::newRow("no permission") << u"no permission"_s;
    QTest::newRow("a named pipe") << u"pipe"_s;
    QTest::newRow("a link to a named pipe") << u"link to a pipe"_s;
    QTest::newRow("bigger than any list") << u"huge"_s;
}

void LineFileTest::unreadableFileGivesNothing()
{
    QFETCH(QString, kind);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"list.txt"_s);
    if (kind == u"folder") {
        QVERIFY(QDir(dir.path()).mkdir(u"list.txt"_s));
    } else if (kind == u"no permission") {
        QVERIFY(putFile(path, "a\r\n"));
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        QFile probe(path);
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("Permission bits do not keep this user (root) from reading");
    } else if (kind == u"huge") {
        // Sparse: three gigabytes that take no room on the disk.
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(3LL << 30));
    } else if (kind.contains(u"pipe")) {
#ifdef Q_OS_WIN
        QSKIP("Named pipes are no files on Windows");
#else
        const QString pipe = kind == u"pipe" ? path : dir.filePath(u"pipe"_s);
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        if (pipe != path)
            QVERIFY(QFile::link(u"pipe"_s, path));
#endif
    }

    // A pipe would keep the read waiting for a writer; the test would hang, not fail.
    QVERIFY(!Platform::readLines(path).has_value());
}

void LineFileTest::writesLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("readBack");

    const TextEncoding ansi = TextEncoding::Ansi;
    QTest::newRow("CR LF after every line") << QStringList{u"a"_s, u"b"_s} << ansi
                                            << QByteArray("a\r\nb\r\n") << ansi;
    QTest::newRow("blank lines") << QStringList{u"a"_s, QString(), QString()} << ansi
                                 << QByteArray("a\r\n\r\n\r\n") << ansi;
    QTest::newRow("one blank line") << QStringList{QString()} << ansi << QByteArray("\r\n")
                                    << ansi;
    QTest::newRow("no lines") << QStringList() << ansi << QByteArray() << ansi;
    QTest::newRow("Greek in Windows-1252 becomes UTF-8 with mark")
        << QStringList{u"Ωμέγα"_s, u"blåbær"_s} << TextEncoding::Windows1252
        << QByteArray("\xEF\xBB\xBF" "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1\r\n"
                      "bl\xC3\xA5" "b\xC3\xA6r\r\n")
        << TextEncoding::Utf8Bom;
    QTest::newRow("UTF-8 with mark stays so") << QStringList{u"a"_s} << TextEncoding::Utf8Bom
                                              << QByteArray("\xEF\xBB\xBF" "a\r\n")
                                              << TextEncoding::Utf8Bom;
    QTest::newRow("UTF-16 LE") << QStringList{u"a"_s} << TextEncoding::Utf16LE
                               << raw("\xFF\xFE" "a\0\r\0\n\0") << TextEncoding::Utf16LE;
#ifndef Q_OS_WIN
    QTest::newRow("Danish in Windows-1252") << QStringList{u"blåbær"_s}
                                            << TextEncoding::Windows1252
                                            << QByteArray("bl\xE5" "b\xE6r\r\n")
                                            << TextEncoding::Windows1252;
    QTest::newRow("Greek in the ANSI code page (UTF-8)")
        << QStringList{u"Ωμέγα"_s} << ansi
        << QByteArray("\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1\r\n") << ansi;
#endif
}

void LineFileTest::writesLines()
{
    QFETCH(QStringList, lines);
    QFETCH(TextEncoding, encoding);
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, readBack);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"list.txt"_s);
    // A longer old file shows that the new one replaces it rather than being written over it.
    QVERIFY(putFile(path, QByteArray(200, 'o')));

    QString error;
    QVERIFY(Platform::writeLines(path, lines, &error, encoding));
    QVERIFY(error.isEmpty());
    QCOMPARE(fileBytes(path), bytes);

    TextEncoding found = TextEncoding::Utf16BE;
    QCOMPARE(Platform::readLines(path, &found), lines);
    QCOMPARE(found, readBack);
}

void LineFileTest::keepsPermissions_data()
{
    QTest::addColumn<int>("permissions");

    using P = QFileDevice;
    QTest::newRow("640") << int(P::ReadOwner | P::WriteOwner | P::ReadGroup);
    QTest::newRow("755") << int(P::ReadOwner | P::WriteOwner | P::ExeOwner | P::ReadGroup
                                | P::ExeGroup | P::ReadOther | P::ExeOther);
}

void LineFileTest::keepsPermissions()
{
#ifdef Q_OS_WIN
    QSKIP("Windows keeps access rights in lists, not in these bits");
#endif
    QFETCH(int, permissions);
    // QFileInfo reports the user's bits as well as the owner's.
    const auto mode = [](const QString &path) {
        return int(QFileInfo(path).permissions() & ~QFileDevice::Permissions(0x0F00));
    };

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"settings.txt"_s);
    QVERIFY(putFile(path, "old\r\n"));
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions(permissions)));
    QCOMPARE(mode(path), permissions);

    QVERIFY(Platform::writeLines(path, {u"new"_s}));
    QCOMPARE(fileBytes(path), QByteArray("new\r\n"));
    QCOMPARE(mode(path), permissions);
    QCOMPARE(snapshot(dir.path()), QStringList{u"settings.txt: 6e65770d0a"_s});
}

void LineFileTest::writesThroughSymbolicLinks_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("link") << u"link"_s;
    QTest::newRow("link to a link") << u"link to a link"_s;
    QTest::newRow("link to a missing file") << u"dangling"_s;
}

void LineFileTest::writesThroughSymbolicLinks()
{
#ifdef Q_OS_WIN
    QSKIP("Creating symbolic links needs rights that Windows test users seldom have");
#endif
    QFETCH(QString, kind);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The user's own files in the data root.
    const ScopedEnvironment dataRoot("KYXTAVLO_DATA_ROOT", dir.path());
    QVERIFY(QDir(dir.path()).mkdir(u"real"_s));
    const QString target = dir.filePath(u"real/list.txt"_s);
    const QString link = dir.filePath(u"list.txt"_s);
    if (kind != u"dangling")
        QVERIFY(putFile(target, "old\r\n"));
    QString written = link;
    if (kind == u"link to a link") {
        QVERIFY(QFile::link(u"list.txt"_s, dir.filePath(u"alias.txt"_s)));
        written = dir.filePath(u"alias.txt"_s);
    }
    // A relative link, as `ln -s` makes them, so it is resolved from the link's folder.
    QVERIFY(QFile::link(u"real/list.txt"_s, link));

    QString error;
    QVERIFY2(Platform::writeLines(written, {u"new"_s}, &error), qPrintable(error));

    QCOMPARE(fileBytes(target), QByteArray("new\r\n"));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), QFileInfo(target).absoluteFilePath());
    QCOMPARE(Platform::readLines(written), QStringList{u"new"_s});
    QCOMPARE(QDir(dir.filePath(u"real"_s)).entryList(QDir::Files | QDir::Hidden),
             QStringList{u"list.txt"_s});
}

void LineFileTest::refusesLinksToOtherPlaces_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("a file outside home and data root") << u"outside"_s;
    QTest::newRow("a missing file outside home and data root") << u"missing outside"_s;
    QTest::newRow("another user's file in the data root") << u"other user"_s;
}

void LineFileTest::refusesLinksToOtherPlaces()
{
#ifdef Q_OS_WIN
    QSKIP("Creating symbolic links needs rights that Windows test users seldom have");
#else
    QFETCH(QString, kind);

    QTemporaryDir home, root, elsewhere;
    QVERIFY(home.isValid() && root.isValid() && elsewhere.isValid());
    const ScopedEnvironment homeVariable("HOME", home.path());
    const ScopedEnvironment dataRoot("KYXTAVLO_DATA_ROOT", root.path());
    const QString target = (kind == u"other user" ? root : elsewhere).filePath(u"passwd"_s);
    if (kind != u"missing outside")
        QVERIFY(putFile(target, "system\n"));
    if (kind == u"other user" && chown(QFile::encodeName(target).constData(), geteuid() + 1, getegid()) != 0)
        QSKIP("Only root can give a file to another user");
    const QString link = root.filePath(u"Main.txt"_s);
    QVERIFY(QFile::link(target, link));

    QString error;
    QVERIFY(!Platform::writeLines(link, {u"1"_s, u"2"_s}, &error));
    QVERIFY2(error.contains(u"symbolsk link"_s), qPrintable(error));
    QCOMPARE(QFileInfo(link).symLinkTarget(), target);
    if (kind == u"missing outside")
        QVERIFY(!QFileInfo::exists(target));
    else
        QCOMPARE(fileBytes(target), QByteArray("system\n"));
#endif
}

void LineFileTest::failedWriteLeavesOldFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason"); // what the user is told

    QTest::newRow("read-only folder") << u"read-only folder"_s
                                      << u"Du har ikke tilladelse til at bruge filen eller mappen."_s;
    QTest::newRow("folder is a file") << u"folder is a file"_s << u"En del af stien er ikke en mappe."_s;
    QTest::newRow("folder is missing") << u"folder is missing"_s << u"Filen eller mappen findes ikke."_s;
    QTest::newRow("name too long") << u"name too long"_s << u"Navnet er for langt."_s;
    QTest::newRow("path is a folder") << u"path is a folder"_s << u"Systemet melder: Filename refers to a directory"_s;
    QTest::newRow("links in a loop") << u"links in a loop"_s << u"For mange symbolske link efter hinanden."_s;
}

void LineFileTest::failedWriteLeavesOldFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(u"lists"_s);
    QVERIFY(QDir(dir.path()).mkdir(u"lists"_s));
    const QString old = folder + u"/list.txt"_s;
    QVERIFY(putFile(old, "old\r\n"));
    QString path = old;

    if (kind == u"read-only folder") {
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QFile probe(folder + u"/probe"_s);
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                      | QFileDevice::ExeOwner));
            QSKIP("Permission bits do not keep this user (root) from writing; "
                  "'folder is a file' makes the write fail instead");
        }
    } else if (kind == u"folder is a file") {
        path = old + u"/list.txt"_s;
    } else if (kind == u"folder is missing") {
        path = folder + u"/gone/list.txt"_s;
    } else if (kind == u"name too long") {
        path = folder + u"/"_s + QString(300, u'n') + u".txt"_s;
    } else if (kind == u"path is a folder") {
        path = folder;
    } else if (kind == u"links in a loop") {
#ifdef Q_OS_WIN
        QSKIP("Creating symbolic links needs rights that Windows test users seldom have");
#endif
        QVERIFY(QFile::link(u"b.txt"_s, folder + u"/a.txt"_s));
        QVERIFY(QFile::link(u"a.txt"_s, folder + u"/b.txt"_s));
        path = folder + u"/a.txt"_s;
    }
    const QStringList before = snapshot(dir.path());

    QString error;
    const bool written = Platform::writeLines(path, {u"new"_s}, &error);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                      | QFileDevice::ExeOwner);

    QVERIFY(!written);
    QCOMPARE(error, reason);
    QCOMPARE(snapshot(dir.path()), before);
    QCOMPARE(fileBytes(old), QByteArray("old\r\n"));
}

void LineFileTest::deviceErrorsAreToldInDanish_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("write");
    QTest::addColumn<QString>("reason");

    // A full disk, as the device that is always full gives it.
    QTest::newRow("disk full") << u"/dev/full"_s << true << u"Der er ikke mere plads på disken."_s;
    // An error without a text of our own keeps the system's after a Danish lead.
    QTest::newRow("other error") << u"/proc/self/mem"_s << false
                                 << u"Systemet melder: "_s + qt_error_string(EIO);
}

void LineFileTest::deviceErrorsAreToldInDanish()
{
    QFETCH(QString, path);
    QFETCH(bool, write);
    QFETCH(QString, reason);
    if (!QFileInfo::exists(path))
        QSKIP("no such device on this system");

    QFile file(path);
    if (write) {
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        QCOMPARE(file.write("x"), qint64(-1));
    } else {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(1).isEmpty());
    }
    QCOMPARE(Platform::fileErrorReason(file), reason);
}

QTEST_GUILESS_MAIN(LineFileTest)
#include "tst_linefile.moc"
