#include "platform/LineFile.h"
#include "platform/Rtf.h"
#include "platform/RecoveryStore.h"
#include "platform/SlicedCopy.h"
#include "platform/TextPieces.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QPlainTextDocumentLayout>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#ifndef Q_OS_WIN
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;
using Platform::LineBreak;
using Platform::RecoveryEntry;
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
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

RecoveryEntry letterEntry()
{
    RecoveryEntry entry;
    entry.fileName = QDir::toNativeSeparators(u"/home/jens/Breve/Kære Jens.txt"_s);
    entry.caption = u"Kære Jens.txt"_s;
    entry.encoding = TextEncoding::Windows1252;
    entry.lineBreak = LineBreak::CrLf;
    entry.time = QDateTime(QDate(2026, 12, 11), QTime(7, 30, 5, 250), Qt::UTC);
    entry.read = Platform::FileStamp{true, 2048, 1'765'437'005'123'456'789, 1'234'567};
    return entry;
}

// The entries of a folder, sorted, names only: what a user listing it would see.
QStringList listing(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    names.sort();
    return names;
}

} // namespace

class TestRecoveryStore : public QObject {
    Q_OBJECT
private slots:
    void indexLinesRoundTrip_data();
    void indexLinesRoundTrip();
    void indexOfAnOlderRunIsRead();
    void damagedIndexIsSkippedAndTold_data();
    void damagedIndexIsSkippedAndTold();
    void lockRule_data();
    void lockRule();
    void copiesAreWrittenAndRemoved();
    void copyRemovedWhileWrittenNeverAppears();
    void copyThatCannotBeWrittenIsTold();
    void slicedCopyFollowsChanges_data();
    void slicedCopyFollowsChanges();
    void slicedRichCopyFollowsChanges_data();
    void slicedRichCopyFollowsChanges();
};

void TestRecoveryStore::indexLinesRoundTrip_data()
{
    QTest::addColumn<RecoveryEntry>("entry");
    QTest::newRow("named text, Windows-1252, CR LF") << letterEntry();
    RecoveryEntry rich = letterEntry();
    rich.fileName = QDir::toNativeSeparators(u"/srv/delt/Referat.rtf"_s);
    rich.caption = u"Referat.rtf"_s;
    rich.rich = true;
    QTest::newRow("named rich text") << rich;
    RecoveryEntry fresh = letterEntry();
    fresh.fileName.clear();
    fresh.caption = u"3. Dokument"_s;
    fresh.encoding = TextEncoding::Ansi;
    fresh.lineBreak = LineBreak::Lf;
    fresh.read = Platform::FileStamp();
    QTest::newRow("new document") << fresh;
    for (auto [name, encoding, lineBreak] : {std::tuple{"UTF-8 mark, CR", TextEncoding::Utf8Bom, LineBreak::Cr},
                                             std::tuple{"UTF-16 LE", TextEncoding::Utf16LE, LineBreak::CrLf},
                                             std::tuple{"UTF-16 BE", TextEncoding::Utf16BE, LineBreak::Lf}}) {
        RecoveryEntry entry = letterEntry();
        entry.encoding = encoding;
        entry.lineBreak = lineBreak;
        QTest::newRow(name) << entry;
    }
}

void TestRecoveryStore::indexLinesRoundTrip()
{
    QFETCH(RecoveryEntry, entry);
    QTemporaryDir folder;
    const QString index = folder.filePath(u"1.index"_s);
    QVERIFY(Platform::writeLines(index, Platform::recoveryIndexLines(entry)));
    const std::optional<QStringList> lines = Platform::readLines(index);
    QVERIFY(lines);
    QString reason;
    const std::optional<RecoveryEntry> read = Platform::recoveryEntryFromLines(*lines, &reason);
    QVERIFY2(read, qPrintable(reason));
    QCOMPARE(read->fileName, entry.fileName);
    QCOMPARE(read->caption, entry.caption);
    QCOMPARE(read->rich, entry.rich);
    QCOMPARE(read->encoding, entry.encoding);
    QCOMPARE(read->lineBreak, entry.lineBreak);
    QCOMPARE(read->time, entry.time);
    QVERIFY(read->read == entry.read);
}

// A copy left by a run of an older program, whose index had no line for the file as read.
void TestRecoveryStore::indexOfAnOlderRunIsRead()
{
    QStringList lines = Platform::recoveryIndexLines(letterEntry());
    QCOMPARE(lines.size(), 7);
    lines.removeLast();
    const std::optional<RecoveryEntry> read = Platform::recoveryEntryFromLines(lines);
    QVERIFY(read);
    QCOMPARE(read->fileName, letterEntry().fileName);
    QCOMPARE(read->time, letterEntry().time);
    QVERIFY(!read->read);
}

// Every damaged form of a copy left by an ended run: the copy is skipped with its reason, the
// good copy beside it is still found, and nothing crashes.
void TestRecoveryStore::damagedIndexIsSkippedAndTold_data()
{
    QTest::addColumn<QByteArray>("index");      // the damaged copy's index file
    QTest::addColumn<QByteArray>("text");       // its text file; null: none
    QTest::addColumn<QByteArray>("lineBreaks"); // its line-break file; null: none
    QTest::addColumn<QString>("reason");

    const QStringList good = Platform::recoveryIndexLines(letterEntry());
    const auto lines = [&good](const std::function<void(QStringList &)> &damage) {
        QStringList changed = good;
        damage(changed);
        return changed.join(u"\r\n"_s).toUtf8() + "\r\n";
    };
    const QByteArray text = "Hej\n";
    QTest::newRow("empty file") << QByteArray() << text << QByteArray() << u"Indeksfilen har 0 linjer i stedet for 7."_s;
    QTest::newRow("two lines short") << lines([](QStringList &l) { l.removeLast(); l.removeLast(); }) << text
                                     << QByteArray() << u"Indeksfilen har 5 linjer i stedet for 7."_s;
    QTest::newRow("a line too many") << lines([](QStringList &l) { l << u"mere"_s; }) << text << QByteArray()
                                     << u"Indeksfilen har 8 linjer i stedet for 7."_s;
    QTest::newRow("relative file name") << lines([](QStringList &l) { l[0] = u"Breve/brev.txt"_s; }) << text
                                        << QByteArray() << u"Filnavnet er ikke en fuld sti: Breve/brev.txt"_s;
    QTest::newRow("no caption") << lines([](QStringList &l) { l[1] = u"  "_s; }) << text << QByteArray()
                                << u"Dokumentets navn mangler."_s;
    QTest::newRow("unknown kind") << lines([](QStringList &l) { l[2] = u"html"_s; }) << text << QByteArray()
                                  << u"Ukendt dokumentart: html"_s;
    QTest::newRow("unknown encoding") << lines([](QStringList &l) { l[3] = u"ebcdic"_s; }) << text << QByteArray()
                                      << u"Ukendt tegnkodning: ebcdic"_s;
    QTest::newRow("unknown line break") << lines([](QStringList &l) { l[4] = u"crcr"_s; }) << text << QByteArray()
                                        << u"Ukendt linjeskift: crcr"_s;
    QTest::newRow("no time") << lines([](QStringList &l) { l[5].clear(); }) << text << QByteArray()
                             << u"Ugyldigt tidspunkt: "_s;
    QTest::newRow("impossible time") << lines([](QStringList &l) { l[5] = u"2026-13-45T25:61:00Z"_s; }) << text
                                     << QByteArray() << u"Ugyldigt tidspunkt: 2026-13-45T25:61:00Z"_s;
    QTest::newRow("file stamp not a number") << lines([](QStringList &l) { l[6] = u"2048 igår 17"_s; }) << text
                                             << QByteArray() << u"Ugyldigt filstempel: 2048 igår 17"_s;
    QTest::newRow("file stamp cut short") << lines([](QStringList &l) { l[6] = u"2048 1765437005"_s; }) << text
                                          << QByteArray() << u"Ugyldigt filstempel: 2048 1765437005"_s;
    QTest::newRow("bigger than any index") << QByteArray(2 * 1024 * 1024, 'x') << text << QByteArray()
                                           << u"Indeksfilen kan ikke læses."_s;
    QTest::newRow("binary garbage") << QByteArray("\0\xff\xfe\x01\r\r\n\x80", 8) << text << QByteArray()
                                    << u"Indeksfilen har 3 linjer i stedet for 7."_s;
    QTest::newRow("text missing") << lines([](QStringList &) {}) << QByteArray() << QByteArray()
                                  << u"Kopien af teksten mangler: "_s;
    QTest::newRow("damaged line breaks") << lines([](QStringList &) {}) << text << QByteArray("\x00\x07", 2)
                                         << u"Linjeskiftene er beskadigede."_s;
}

void TestRecoveryStore::damagedIndexIsSkippedAndTold()
{
    QFETCH(QByteArray, index);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, lineBreaks);
    QFETCH(QString, reason);

    QTemporaryDir root;
    const QString run = root.filePath(u"20261211-073000-000-4242"_s);
    QVERIFY(QDir().mkpath(run));
    // Copy 1 is whole, copy 2 damaged.
    QVERIFY(Platform::writeLines(run + u"/1.index"_s, Platform::recoveryIndexLines(letterEntry())));
    QVERIFY(putFile(run + u"/1.txt"_s, "Kære Jens\n"));
    QVERIFY(putFile(run + u"/2.index"_s, index));
    if (!text.isNull())
        QVERIFY(putFile(run + u"/2.txt"_s, text));
    if (!lineBreaks.isNull())
        QVERIFY(putFile(run + u"/2.breaks"_s, lineBreaks));

    Platform::RecoveryLeftovers leftovers(root.path());
    QCOMPARE(leftovers.copies().size(), 1);
    QCOMPARE(leftovers.copies()[0].textFile, QDir::toNativeSeparators(run + u"/1.txt"_s));
    QCOMPARE(leftovers.broken().size(), 1);
    QCOMPARE(leftovers.broken()[0].indexFile, QDir::toNativeSeparators(run + u"/2.index"_s));
    QVERIFY2(leftovers.broken()[0].reason.startsWith(reason), qPrintable(leftovers.broken()[0].reason));

    leftovers.discard();
    QCOMPARE(listing(root.path()), QStringList());
}

// Whose copies are offered at start: those of a run whose program has ended, never those of a
// program still running.
void TestRecoveryStore::lockRule_data()
{
    QTest::addColumn<QString>("owner");
    QTest::addColumn<bool>("offered");
    QTest::newRow("live owner") << u"live"_s << false;
    QTest::newRow("dead owner") << u"dead"_s << true;
    QTest::newRow("stale lock: unreadable and old") << u"stale"_s << true;
    QTest::newRow("unreadable but new: its owner may be writing it") << u"new"_s << false;
    QTest::newRow("no lock at all") << u"none"_s << true;
}

void TestRecoveryStore::lockRule()
{
    QFETCH(QString, owner);
    QFETCH(bool, offered);

    QTemporaryDir root;
    const QString run = root.filePath(u"20261211-073000-000-4242"_s);
    QVERIFY(QDir().mkpath(run));
    QVERIFY(Platform::writeLines(run + u"/1.index"_s, Platform::recoveryIndexLines(letterEntry())));
    QVERIFY(putFile(run + u"/1.txt"_s, "Kære Jens\n"));
    const QString lockName = run + u"/kyxTavlo.lock"_s;

    QLockFile live(lockName);
    if (owner == u"live") {
        QVERIFY(live.tryLock(0));
    } else if (owner == u"dead") {
#ifdef Q_OS_WIN
        QSKIP("A process that leaves its lock behind is made with fork");
#else
        // A program that took the lock and died without letting it go.
        const pid_t child = fork();
        if (child == 0) {
            auto *lock = new QLockFile(lockName);
            _exit(lock->tryLock(0) ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QVERIFY(QFileInfo::exists(lockName));
#endif
    } else if (owner == u"stale" || owner == u"new") {
        QVERIFY(putFile(lockName, QByteArray()));
        if (owner == u"stale") {
            QFile lock(lockName);
            QVERIFY(lock.open(QIODevice::ReadWrite));
            QVERIFY(lock.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-3600), QFileDevice::FileModificationTime));
        }
    }

    {
        Platform::RecoveryLeftovers leftovers(root.path());
        QCOMPARE(leftovers.copies().size(), offered ? 1 : 0);
        QVERIFY(leftovers.broken().isEmpty());
        leftovers.discard();
    }
    QCOMPARE(QFileInfo::exists(run), !offered);
    if (!offered)
        QCOMPARE(listing(run), QStringList({u"1.index"_s, u"1.txt"_s, u"kyxTavlo.lock"_s}));
}

void TestRecoveryStore::copiesAreWrittenAndRemoved()
{
    QTemporaryDir root;
    const QString folder = root.filePath(u"Gendannelse"_s);
    auto store = std::make_unique<Platform::RecoveryStore>(folder);
    const int plain = store->newCopy();
    const int rich = store->newCopy();
    Platform::RecoverySnapshot text;
    text.entry = letterEntry();
    text.text = QStringList{u"Kære Jens\nHil"_s, u"sen \U0001F600\n"_s};
    text.lineBreaks = QByteArray(1, char(LineBreak::Lf));
    store->write(plain, text);
    Platform::RecoverySnapshot formatted;
    formatted.entry = letterEntry();
    formatted.entry.rich = true;
    QTextDocument document;
    QTextCursor(&document).insertHtml(u"Et <b>fedt</b> ord"_s);
    formatted.rich = Platform::rtfContent(&document);
    store->write(rich, formatted);
    store->waitForWriting();

    const QStringList runs = listing(folder);
    QCOMPARE(runs.size(), 1);
    const QString run = folder + u"/"_s + runs[0];
    QCOMPARE(listing(run), QStringList({u"1.breaks"_s, u"1.index"_s, u"1.txt"_s, u"2.index"_s, u"2.rtf"_s,
                                        u"kyxTavlo.lock"_s}));
    QCOMPARE(fileBytes(run + u"/1.txt"_s), "\xEF\xBB\xBF" + text.text.join(QString()).toUtf8());
    QVERIFY(fileBytes(run + u"/2.rtf"_s).contains("{\\b fedt}") || fileBytes(run + u"/2.rtf"_s).contains("\\b fedt"));

    // A running program's copies are not another program's leftovers.
    QVERIFY(Platform::RecoveryLeftovers(folder).isEmpty());

    store->remove(plain);
    QCOMPARE(listing(run), QStringList({u"2.index"_s, u"2.rtf"_s, u"kyxTavlo.lock"_s}));
    // The end of the program takes its folder along.
    store.reset();
    QCOMPARE(listing(folder), QStringList());
}

void TestRecoveryStore::copyRemovedWhileWrittenNeverAppears()
{
    QTemporaryDir root;
    const QString folder = root.filePath(u"Gendannelse"_s);
    Platform::RecoveryStore store(folder);
    const int copy = store.newCopy();
    Platform::RecoverySnapshot big;
    big.entry = letterEntry();
    big.text = QStringList{u"blåbærgrød\n"_s.repeated(4 * 1024 * 1024)};
    for (int round = 0; round < 3; ++round) {
        store.write(copy, big);
        store.remove(copy);
    }
    // A copy kept beside it.
    Platform::RecoverySnapshot small;
    small.entry = letterEntry();
    small.text = QStringList{u"Hej\n"_s};
    store.write(store.newCopy(), small);
    store.waitForWriting();
    const QStringList runs = listing(folder);
    QCOMPARE(runs.size(), 1);
    QCOMPARE(listing(folder + u"/"_s + runs[0]), QStringList({u"2.index"_s, u"2.txt"_s, u"kyxTavlo.lock"_s}));
}

void TestRecoveryStore::copyThatCannotBeWrittenIsTold()
{
    QTemporaryDir root;
    // Where the folder should be, there is a file.
    const QString folder = root.filePath(u"Gendannelse"_s);
    QVERIFY(putFile(folder, "x"));
    Platform::RecoveryStore store(folder);
    QStringList failures;
    connect(&store, &Platform::RecoveryStore::writeFailed, this,
            [&failures](int copy, const QString &reason) { failures << QString::number(copy) + u": "_s + reason; });
    const int copy = store.newCopy();
    Platform::RecoverySnapshot text;
    text.entry = letterEntry();
    text.text = QStringList{u"Hej"_s};
    store.write(copy, text);
    QTRY_COMPARE(failures.size(), 1);
    QVERIFY2(failures[0].startsWith(u"1: Mappen kunne ikke oprettes: "_s), qPrintable(failures[0]));
    QCOMPARE(fileBytes(folder), "x");
}

// A large text copied a slice at a time while the user changes it: what is given is the text as
// it stands at the end, whatever changed where, and beside it the note of every line's break as
// the document holds it then (a document that mixes line-break styles keeps them so).
void TestRecoveryStore::slicedCopyFollowsChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("inPieces");
    for (const char *change : {"none", "typing at the start", "typing in a copied slice", "deleting across slices",
                               "typing behind the copy", "typing at the end", "pasting lines", "replacing everything",
                               "undoing", "emptying", "splitting a copied line", "joining two copied lines"}) {
        QTest::newRow(change) << QString::fromLatin1(change) << false;
        QTest::addRow("%s, long lines in pieces", change) << QString::fromLatin1(change) << true;
    }
}

void TestRecoveryStore::slicedCopyFollowsChanges()
{
    QFETCH(QString, change);
    QFETCH(bool, inPieces);
    // Some megabytes: many slices. With long lines, each line is shown in pieces.
    QString line = inPieces ? QString(30'000, u'ø') : u"linje med blåbær og \U0001F600"_s;
    QStringList lines;
    for (int i = 0; lines.size() * line.size() < 3'000'000; ++i)
        lines << QString::number(i) + line;
    // Laid out as the plain-text area lays it out: a document tells of its changes only then.
    QTextDocument document;
    document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
    if (inPieces) {
        QString shown;
        std::vector<int> pieces;
        int blocks = 0;
        for (const QString &whole : std::as_const(lines)) {
            qsizetype from = 0;
            for (const qsizetype start : Platform::pieceStarts(whole)) {
                shown += QStringView(whole).sliced(from, start - from);
                shown += u'\n';
                pieces.push_back(++blocks);
                from = start;
            }
            shown += QStringView(whole).sliced(from);
            shown += u'\n';
            ++blocks;
        }
        document.setPlainText(shown);
        Platform::markPieces(&document, pieces);
    } else {
        document.setPlainText(lines.join(u'\n') + u'\n');
    }
    const auto text = [&document] { return Platform::textBetween(&document, 0, document.characterCount() - 1); };
    QCOMPARE(text().size() > 2'000'000, true);
    // Each line's break gets a style of its own, as a file that mixes them would.
    int ended = 0;
    for (QTextBlock block = document.firstBlock(); block.isValid(); block = block.next()) {
        if (!Platform::continuesLine(block.next()))
            block.setUserState(++ended % 3);
    }
    const auto lineBreakOf = [](const QTextBlock &block, QByteArray &notes) {
        if (!Platform::continuesLine(block.next()))
            notes += block.userState() < 0 ? '-' : char('0' + block.userState());
    };
    const auto lineBreaks = [&document, &lineBreakOf] {
        QByteArray notes;
        for (QTextBlock block = document.firstBlock(); block.next().isValid(); block = block.next())
            lineBreakOf(block, notes);
        return notes;
    };

    Platform::SlicedCopy copy(&document, [inPieces] { return inPieces; }, nullptr);
    std::optional<QStringList> taken;
    QByteArray notes;
    copy.take(
        [&taken, &notes](QStringList pieces, QByteArray lineNotes) {
            taken = std::move(pieces);
            notes = std::move(lineNotes);
        },
        lineBreakOf);
    QTextCursor cursor(&document);
    for (int turn = 0; !taken && turn < 10'000; ++turn) {
        QCoreApplication::processEvents();
        // About a million characters are copied by then.
        if (turn != 15)
            continue;
        if (change == u"typing at the start") {
            cursor.setPosition(0);
            cursor.insertText(u"Kære "_s);
        } else if (change == u"typing in a copied slice") {
            cursor.setPosition(300'000);
            cursor.insertText(u"æ\U0001F600"_s);
            cursor.setPosition(10);
            cursor.deletePreviousChar();
        } else if (change == u"deleting across slices") {
            cursor.setPosition(200'000);
            cursor.setPosition(600'000, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        } else if (change == u"typing behind the copy") {
            cursor.setPosition(document.characterCount() - 100'000);
            cursor.insertText(u"sidst"_s);
        } else if (change == u"typing at the end") {
            cursor.movePosition(QTextCursor::End);
            cursor.insertText(u"\nslut"_s);
        } else if (change == u"pasting lines") {
            cursor.setPosition(500'000);
            cursor.insertText(u"en\nto\ntre\n"_s.repeated(1000));
        } else if (change == u"replacing everything") {
            document.setPlainText(u"Ny tekst\n"_s.repeated(100'000));
        } else if (change == u"undoing") {
            cursor.setPosition(100);
            cursor.insertText(u"fortryd mig"_s);
            document.undo();
        } else if (change == u"emptying") {
            document.clear();
        } else if (change == u"splitting a copied line") {
            cursor.setPosition(document.findBlock(300'000).position() + 3);
            cursor.insertText(u"\n"_s);
        } else if (change == u"joining two copied lines") {
            // The line that goes on over the end of the first slice: the joined line's break is in
            // the next one.
            const QTextBlock last = document.findBlock(1 << 16);
            cursor.setPosition(last.position() - 1);
            cursor.deleteChar();
        }
    }
    QVERIFY(taken);
    for (const QString &piece : std::as_const(*taken))
        QVERIFY(piece.isEmpty() || !piece.back().isHighSurrogate());
    QCOMPARE(taken->join(QString()), text());
    QCOMPARE(notes, lineBreaks());
}

// A rich document copied a slice at a time while the user changes it: written, the copy is the
// file the document itself makes, formatting, lists and their numbers included.
void TestRecoveryStore::slicedRichCopyFollowsChanges_data()
{
    QTest::addColumn<QString>("change");
    for (const char *change :
         {"none", "typing at the start", "typing in a copied paragraph", "typing in a long paragraph",
          "bold across slices", "aligning a copied paragraph right", "a new item in a numbered list",
          "an item out of its list", "a list's style", "deleting across slices", "joining two paragraphs",
          "typing behind the copy", "pasting paragraphs", "replacing everything", "undoing", "emptying",
          "a new default font"})
        QTest::newRow(change) << QString::fromLatin1(change);
}

namespace {

// A numbered and a bulleted list at the start, a long paragraph of many runs, then paragraphs of
// changing fonts, sizes, colours and alignment: a megabyte or so. Made once, as it takes a while.
const QTextDocument &richDocument()
{
    static const std::unique_ptr<QTextDocument> made = [] {
        auto document = std::make_unique<QTextDocument>();
        document->setDefaultFont(QFont(u"Tahoma"_s, 10));
        QTextCursor cursor(document.get());
        cursor.insertText(u"Indkøbsliste"_s);
        QTextListFormat numbered;
        numbered.setStyle(QTextListFormat::ListDecimal);
        cursor.insertBlock();
        cursor.createList(numbered);
        for (int item = 0; item < 12; ++item) {
            if (item > 0)
                cursor.insertBlock();
            cursor.insertText(u"vare %1"_s.arg(item));
        }
        QTextListFormat bullets;
        bullets.setStyle(QTextListFormat::ListDisc);
        cursor.insertBlock();
        cursor.createList(bullets);
        cursor.insertText(u"punkt"_s);
        cursor.insertBlock(QTextBlockFormat());
        QTextCharFormat format;
        for (int run = 0; run < 5000; ++run) {
            format.setFontWeight(run % 3 == 0 ? QFont::Bold : QFont::Normal);
            format.setForeground(QColor::fromHsv(run * 7 % 360, 200, 150));
            cursor.insertText(u"lang sætning med blåbær nummer %1 "_s.arg(run), format);
        }
        for (int paragraph = 0; paragraph < 6000; ++paragraph) {
            QTextBlockFormat block;
            block.setAlignment(paragraph % 5 == 0 ? Qt::AlignHCenter : Qt::AlignLeft);
            cursor.insertBlock(block);
            for (int run = 0; run < 6; ++run) {
                QTextCharFormat words;
                words.setFontFamilies({run % 2 ? u"Georgia"_s : u"Courier New"_s});
                words.setFontPointSize(8 + (paragraph + run) % 12);
                words.setFontItalic(run == 4);
                cursor.insertText(u"Kære Jens, \U0001F600 hilsen fra Ærø %1. "_s.arg(paragraph), words);
            }
        }
        return document;
    }();
    return *made;
}

} // namespace

void TestRecoveryStore::slicedRichCopyFollowsChanges()
{
    QFETCH(QString, change);
    const std::unique_ptr<QTextDocument> made(richDocument().clone());
    QTextDocument &document = *made;
    QVERIFY(document.characterCount() > 1'000'000);
    QTextList *numbers = document.findBlockByNumber(1).textList();
    QVERIFY(numbers);
    // Laid out, as in the window: a document tells of its changes only then.
    document.documentLayout();

    Platform::SlicedRichCopy copy(&document, nullptr);
    std::optional<Platform::RtfContent> taken;
    copy.take([&taken](Platform::RtfContent text) { taken = std::move(text); });
    int turns = 0;
    for (; !taken && turns < 100'000; ++turns) {
        QCoreApplication::processEvents();
        // Some hundred thousand characters are copied by then.
        if (turns != 30)
            continue;
        QTextCursor edit(&document);
        const auto select = [&edit](int from, int to) {
            edit.setPosition(from);
            edit.setPosition(to, QTextCursor::KeepAnchor);
        };
        if (change == u"typing at the start") {
            edit.insertText(u"Kære "_s);
        } else if (change == u"typing in a copied paragraph") {
            edit.setPosition(document.findBlock(250'000).position() + 3);
            edit.insertText(u"æ\U0001F600"_s);
        } else if (change == u"typing in a long paragraph") {
            edit.setPosition(numbers->item(0).position() + 20'000);
            edit.insertText(u"midt i"_s);
        } else if (change == u"bold across slices") {
            select(30'000, 260'000);
            QTextCharFormat bold;
            bold.setFontWeight(QFont::Bold);
            edit.mergeCharFormat(bold);
        } else if (change == u"aligning a copied paragraph right") {
            edit.setPosition(200'000);
            QTextBlockFormat right;
            right.setAlignment(Qt::AlignRight);
            edit.mergeBlockFormat(right);
        } else if (change == u"a new item in a numbered list") {
            edit.setPosition(numbers->item(4).position() + 2);
            edit.insertBlock();
        } else if (change == u"an item out of its list") {
            numbers->remove(numbers->item(2));
        } else if (change == u"a list's style") {
            QTextListFormat roman = numbers->format();
            roman.setStyle(QTextListFormat::ListUpperRoman);
            numbers->setFormat(roman);
        } else if (change == u"deleting across slices") {
            select(150'000, 270'000);
            edit.removeSelectedText();
        } else if (change == u"joining two paragraphs") {
            edit.setPosition(document.findBlock(240'000).position());
            edit.deletePreviousChar();
        } else if (change == u"typing behind the copy") {
            edit.setPosition(document.characterCount() - 100'000);
            edit.insertText(u"sidst"_s);
        } else if (change == u"pasting paragraphs") {
            edit.setPosition(220'000);
            edit.insertHtml(u"<p>en <b>to</b></p><p align=right>tre</p>"_s.repeated(2000));
        } else if (change == u"replacing everything") {
            document.setHtml(u"<p>Ny <i>tekst</i></p>"_s.repeated(10'000));
        } else if (change == u"undoing") {
            edit.setPosition(100'000);
            edit.insertText(u"fortryd mig"_s);
            document.undo();
        } else if (change == u"emptying") {
            document.clear();
        } else if (change == u"a new default font") {
            document.setDefaultFont(QFont(u"Georgia"_s, 14));
        }
    }
    QVERIFY(taken);
    QVERIFY2(turns > 30, "the copy was done before the change");
    QCOMPARE(Platform::writeRtf(*taken), Platform::writeRtf(&document));
}

QTEST_MAIN(TestRecoveryStore)
#include "tst_recoverystore.moc"
