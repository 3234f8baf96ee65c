#include "platform/RecoveryStore.h"

#include "platform/DataFolders.h"
#include "platform/LineFile.h"
#include "platform/Rtf.h"
#include "platform/SystemError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMutexLocker>
#include <QSaveFile>
#include <algorithm>
#include <optional>

namespace Platform {

namespace {

const QString kLockName = QStringLiteral("kyxTavlo.lock");
const QString kIndexSuffix = QStringLiteral(".index");
// Copies written before the file's stamp was kept have the first six lines only.
constexpr qsizetype kIndexLines = 7;
constexpr qsizetype kOldIndexLines = 6;
// The stamp of a document that had no file on disk.
const QString kNoFile = QStringLiteral("-");

const std::pair<TextEncoding, const char *> encodingNames[] = {
    {TextEncoding::Ansi, "ansi"},           {TextEncoding::Windows1252, "windows-1252"},
    {TextEncoding::Utf8Bom, "utf-8-bom"},   {TextEncoding::Utf16LE, "utf-16le"},
    {TextEncoding::Utf16BE, "utf-16be"},
};
const std::pair<LineBreak, const char *> lineBreakNames[] = {
    {LineBreak::CrLf, "crlf"},
    {LineBreak::Lf, "lf"},
    {LineBreak::Cr, "cr"},
};

template <typename Value, std::size_t N>
QString nameOf(const std::pair<Value, const char *> (&names)[N], Value value)
{
    for (const auto &[known, name] : names)
        if (known == value)
            return QString::fromLatin1(name);
    return {};
}

template <typename Value, std::size_t N>
std::optional<Value> valueOf(const std::pair<Value, const char *> (&names)[N], const QString &name)
{
    for (const auto &[value, known] : names)
        if (name == QLatin1String(known))
            return value;
    return std::nullopt;
}

QString textSuffix(bool rich)
{
    return rich ? QStringLiteral(".rtf") : QStringLiteral(".txt");
}

QString breaksSuffix()
{
    return QStringLiteral(".breaks");
}

// A lock that stays until the program lets it go: a running program's lock is never taken for an
// old one, however long ago it was made (only a lock whose program has ended, or an unreadable
// one older than Qt's stale time, is taken over).
std::unique_ptr<QLockFile> takeLock(const QString &folder, QLockFile::LockError *error)
{
    auto lock = std::make_unique<QLockFile>(joinPath(folder, kLockName));
    if (lock->tryLock(0)) {
        *error = QLockFile::NoError;
        return lock;
    }
    *error = lock->error();
    return nullptr;
}

// Removes a run's folder: its copies while the lock still keeps other programs out, then the lock
// and the folder.
void removeRun(const QString &folder, QLockFile &lock)
{
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : entries) {
        if (entry.fileName() == kLockName)
            continue;
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.filePath()).removeRecursively();
        else
            QFile::remove(entry.filePath());
    }
    lock.unlock();
    QDir().rmdir(folder);
}

} // namespace

QStringList recoveryIndexLines(const RecoveryEntry &entry)
{
    QStringList lines{entry.fileName,
                      entry.caption,
                      entry.rich ? QStringLiteral("rich") : QStringLiteral("text"),
                      nameOf(encodingNames, entry.encoding),
                      nameOf(lineBreakNames, entry.lineBreak),
                      entry.time.toUTC().toString(Qt::ISODateWithMs)};
    // Size, modification time in nanoseconds and identity on the file system.
    if (entry.read)
        lines << (entry.read->exists ? QStringLiteral("%1 %2 %3").arg(entry.read->size).arg(entry.read->modifiedNs).arg(entry.read->id)
                                     : kNoFile);
    return lines;
}

std::optional<RecoveryEntry> recoveryEntryFromLines(const QStringList &lines, QString *reason)
{
    const auto broken = [reason](const QString &why) -> std::optional<RecoveryEntry> {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    if (lines.size() != kIndexLines && lines.size() != kOldIndexLines)
        return broken(QStringLiteral("Indeksfilen har %1 linjer i stedet for %2.").arg(lines.size()).arg(kIndexLines));
    RecoveryEntry entry;
    entry.fileName = lines[0];
    if (!entry.fileName.isEmpty() && QDir::isRelativePath(entry.fileName))
        return broken(QStringLiteral("Filnavnet er ikke en fuld sti: ") + entry.fileName);
    entry.caption = lines[1];
    if (entry.caption.trimmed().isEmpty())
        return broken(QStringLiteral("Dokumentets navn mangler."));
    if (lines[2] == QLatin1String("rich"))
        entry.rich = true;
    else if (lines[2] != QLatin1String("text"))
        return broken(QStringLiteral("Ukendt dokumentart: ") + lines[2]);
    const std::optional<TextEncoding> encoding = valueOf(encodingNames, lines[3]);
    if (!encoding)
        return broken(QStringLiteral("Ukendt tegnkodning: ") + lines[3]);
    entry.encoding = *encoding;
    const std::optional<LineBreak> lineBreak = valueOf(lineBreakNames, lines[4]);
    if (!lineBreak)
        return broken(QStringLiteral("Ukendt linjeskift: ") + lines[4]);
    entry.lineBreak = *lineBreak;
    entry.time = QDateTime::fromString(lines[5], Qt::ISODateWithMs);
    if (!entry.time.isValid())
        return broken(QStringLiteral("Ugyldigt tidspunkt: ") + lines[5]);
    entry.time = entry.time.toUTC();
    if (lines.size() == kIndexLines) {
        FileStamp read;
        if (lines[6] != kNoFile) {
            const QStringList parts = lines[6].split(QLatin1Char(' '));
            bool sizeRead = false;
            bool timeRead = false;
            bool idRead = false;
            if (parts.size() == 3) {
                read.size = parts[0].toLongLong(&sizeRead);
                read.modifiedNs = parts[1].toLongLong(&timeRead);
                read.id = parts[2].toULongLong(&idRead);
            }
            if (!sizeRead || !timeRead || !idRead || read.size < 0)
                return broken(QStringLiteral("Ugyldigt filstempel: ") + lines[6]);
            read.exists = true;
        }
        entry.read = read;
    }
    return entry;
}

RecoveryStore::RecoveryStore(const QString &folder, QObject *parent)
    : QObject(parent)
    , m_folder(folder)
    // Named by the start of the run and the process, so that the runs sort by age and two programs
    // started in the same second differ.
    , m_runFolder(joinPath(folder, QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz-"))
                                       + QString::number(QCoreApplication::applicationPid())))
{
    // One copy at a time: two large documents are never held encoded at once, and the copies are
    // written and removed in the order asked.
    m_writer.setMaxThreadCount(1);
}

RecoveryStore::~RecoveryStore()
{
    m_writer.waitForDone();
    if (m_lock)
        removeRun(m_runFolder, *m_lock);
}

int RecoveryStore::newCopy()
{
    return ++m_lastCopy;
}

bool RecoveryStore::makeRunFolder(QString *error)
{
    QMutexLocker locker(&m_folderMutex);
    if (m_lock)
        return true;
    if (!makeFolder(m_runFolder)) {
        *error = QStringLiteral("Mappen kunne ikke oprettes: ") + m_runFolder;
        return false;
    }
    QLockFile::LockError lockError = QLockFile::NoError;
    m_lock = takeLock(m_runFolder, &lockError);
    if (!m_lock) {
        *error = QStringLiteral("Låsefilen kunne ikke oprettes i mappen: ") + m_runFolder;
        return false;
    }
    return true;
}

void RecoveryStore::write(int copy, RecoverySnapshot snapshot)
{
    quint64 generation;
    {
        QMutexLocker locker(&m_mutex);
        generation = ++m_lastGeneration;
        m_generations[copy] = generation;
    }
    m_writer.start([this, copy, generation, snapshot = std::move(snapshot)] {
        writeInBackground(copy, generation, snapshot);
    });
}

bool RecoveryStore::isCurrent(int copy, quint64 generation)
{
    return m_generations.value(copy) == generation;
}

QString RecoveryStore::copyBase(int copy) const
{
    return joinPath(m_runFolder, QString::number(copy));
}

void RecoveryStore::writeInBackground(int copy, quint64 generation, const RecoverySnapshot &snapshot)
{
    {
        // A newer copy asked for meanwhile makes this one needless.
        QMutexLocker locker(&m_mutex);
        if (!isCurrent(copy, generation))
            return;
    }
    // The folder and its lock are made by the first copy, here rather than on the user-interface
    // thread: on a busy disk that takes longer than a keystroke may wait.
    QString error;
    if (!makeRunFolder(&error)) {
        emit writeFailed(copy, error);
        return;
    }
    const QString base = copyBase(copy);
    QSaveFile text(base + textSuffix(snapshot.entry.rich));
    bool written = text.open(QIODevice::WriteOnly);
    if (written) {
        if (snapshot.entry.rich) {
            const QByteArray rtf = writeRtf(snapshot.rich);
            written = text.write(rtf) == rtf.size();
        } else {
            written = encodeInPieces(snapshot.text, [&text](QByteArrayView piece) {
                return text.write(piece.data(), piece.size()) == piece.size();
            });
        }
    }
    {
        QMutexLocker locker(&m_mutex);
        if (!isCurrent(copy, generation))
            return; // removed or replaced while it was written: the new file is dropped
        if (written && text.commit()) {
            const QString breaks = base + breaksSuffix();
            if (snapshot.lineBreaks.isEmpty())
                QFile::remove(breaks);
            written = (snapshot.lineBreaks.isEmpty() || writeFileAtomically(breaks, snapshot.lineBreaks, &error))
                      && writeLines(base + kIndexSuffix, recoveryIndexLines(snapshot.entry), &error);
        } else {
            error = fileErrorReason(text);
            written = false;
        }
    }
    if (!written)
        emit writeFailed(copy, error);
}

bool RecoveryStore::adopt(int copy, const RecoveredCopy &left)
{
    QString error;
    if (!makeRunFolder(&error)) {
        emit writeFailed(copy, error);
        return false;
    }
    QMutexLocker locker(&m_mutex);
    m_generations[copy] = ++m_lastGeneration;
    const QString base = copyBase(copy);
    // The index last: until it is there, the copy is not one.
    const QString breaks = left.textFile.chopped(textSuffix(left.entry.rich).size()) + breaksSuffix();
    const bool moved = QFile::rename(left.textFile, base + textSuffix(left.entry.rich))
                       && (!QFileInfo::exists(breaks) || QFile::rename(breaks, base + breaksSuffix()))
                       && writeLines(base + kIndexSuffix, recoveryIndexLines(left.entry), &error);
    if (!moved) {
        locker.unlock();
        emit writeFailed(copy, error.isEmpty() ? QStringLiteral("Kopien kunne ikke flyttes: ") + left.textFile : error);
    }
    return moved;
}

void RecoveryStore::remove(int copy)
{
    QMutexLocker locker(&m_mutex);
    if (!m_generations.contains(copy))
        return;
    m_generations[copy] = ++m_lastGeneration;
    const QString base = copyBase(copy);
    // The index first: a copy without its index is no copy any longer.
    for (const QString &suffix : {kIndexSuffix, textSuffix(false), textSuffix(true), breaksSuffix()})
        QFile::remove(base + suffix);
}

void RecoveryStore::waitForWriting()
{
    m_writer.waitForDone();
}

RecoveryLeftovers::RecoveryLeftovers(const QString &folder)
{
    QStringList runs = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QString &name : std::as_const(runs)) {
        const QString run = joinPath(folder, name);
        QLockFile::LockError error = QLockFile::NoError;
        std::unique_ptr<QLockFile> lock = takeLock(run, &error);
        // A running program's folder, or one whose lock cannot even be read, is left alone.
        if (!lock)
            continue;
        m_runs.push_back({run, std::move(lock)});
        readRun(run);
    }
}

RecoveryLeftovers::~RecoveryLeftovers() = default;

void RecoveryLeftovers::readRun(const QString &folder)
{
    QStringList indexes = QDir(folder).entryList({QStringLiteral("*") + kIndexSuffix}, QDir::Files | QDir::Hidden);
    // Copy 10 after copy 9.
    std::sort(indexes.begin(), indexes.end(), [](const QString &a, const QString &b) {
        const qsizetype lengthA = a.size();
        const qsizetype lengthB = b.size();
        return lengthA != lengthB ? lengthA < lengthB : a < b;
    });
    for (const QString &name : std::as_const(indexes)) {
        const QString index = joinPath(folder, name);
        const QString base = index.chopped(kIndexSuffix.size());
        const auto broken = [this, &index](const QString &reason) { m_broken.append({index, reason}); };
        const std::optional<QStringList> lines = readLines(index);
        if (!lines) {
            broken(QStringLiteral("Indeksfilen kan ikke læses."));
            continue;
        }
        QString reason;
        const std::optional<RecoveryEntry> entry = recoveryEntryFromLines(*lines, &reason);
        if (!entry) {
            broken(reason);
            continue;
        }
        RecoveredCopy copy{*entry, base + textSuffix(entry->rich), {}};
        if (!QFileInfo(copy.textFile).isFile()) {
            broken(QStringLiteral("Kopien af teksten mangler: ") + copy.textFile);
            continue;
        }
        if (const QString breaks = base + breaksSuffix(); !entry->rich && QFileInfo::exists(breaks)) {
            QFile file(breaks);
            if (!file.open(QIODevice::ReadOnly)) {
                broken(QStringLiteral("Linjeskiftene kan ikke læses: ") + fileErrorReason(file));
                continue;
            }
            copy.lineBreaks = file.readAll();
            const auto isStyle = [](char style) { return style >= char(LineBreak::CrLf) && style <= char(LineBreak::Cr); };
            if (!std::all_of(copy.lineBreaks.cbegin(), copy.lineBreaks.cend(), isStyle)) {
                broken(QStringLiteral("Linjeskiftene er beskadigede."));
                continue;
            }
        }
        m_copies.append(copy);
    }
}

void RecoveryLeftovers::discard()
{
    for (Run &run : m_runs)
        removeRun(run.folder, *run.lock);
    m_runs.clear();
    m_copies.clear();
    m_broken.clear();
}

} // namespace Platform
