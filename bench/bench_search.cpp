// What the two searches over a folder tree cost, each run through its own box as a user runs it:
// "Søg i dokumenter" (a word in the files of one type) and "Søg efter mapper og filer" (a word in
// the names of folders and files). compare_open.sh sets the figures beside grep and find on the
// same trees in the same run.
//
//   bench_search tree <folder>                        writes the two trees (see makeTrees)
//   bench_search documents <folder> <mask> <word>     the search in documents, recursive
//   bench_search names <folder> <word>                the search for folders and files by name
//
// Each prints "RESULT\tkey\tlabel\tseconds\tpeak MB\tnote"; the note tells what was found, so that
// the counts can be set beside the other tool's. The whole program runs, offscreen or, on an X
// server with QT_QPA_PLATFORM=xcb, in real windows. It measures; it never fails on a figure.

#include "Measure.h"

#include "app/Main.h"
#include "app/Startup.h"
#include "options/optUnit.h"
#include "platform/Modal.h"
#include "platform/SpellChecker.h"
#include "search/filmappeUnit.h"
#include "search/findis.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <random>

namespace {

using Measure::out;
using Measure::peakMiB;

void result(const QString &key, const QString &label, double seconds, const QString &note)
{
    out() << "RESULT\t" << key << '\t' << label << '\t' << QString::number(seconds, 'f', 3) << '\t'
          << QString::number(peakMiB(), 'f', 1) << '\t' << note << Qt::endl;
}

constexpr const char *kWords[] = {"søndag", "lørdag", "fødselsdag", "smørrebrød", "æblegrød", "kirkegård",
                                  "håndværker", "tålmodighed", "økonomi", "vindue", "tastatur", "brev",
                                  "regnskab", "ferie", "billeder", "noter", "opskrift", "kladde"};

QByteArray sentence(std::mt19937 &random, int words)
{
    QByteArray line;
    for (int i = 0; i < words; ++i) {
        line += kWords[std::uniform_int_distribution<int>(0, int(std::size(kWords)) - 1)(random)];
        line += i + 1 == words ? ".\r\n" : " ";
    }
    return line;
}

// RTF keeps æ, ø and å as escapes, as word processors write them.
QByteArray rtfEscaped(const QByteArray &utf8)
{
    QByteArray escaped;
    for (const QChar c : QString::fromUtf8(utf8)) {
        if (c.unicode() < 128)
            escaped += char(c.unicode());
        else
            escaped += "\\'" + QByteArray::number(c.unicode(), 16);
    }
    return escaped;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Under folder: "dokumenter", 20 000 files of a few kB (text, web pages and RTF by turns) in 200
// folders two levels deep, every word of kWords common in them and "kommunalbestyrelsesmedlemmet"
// in one file of forty; and "navne", 200 000 entries, folders and empty files named by words.
int makeTrees(const QString &folder)
{
    std::mt19937 random(20261211);
    const auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const QDir root(folder);
    for (int top = 0; top < 20; ++top) {
        for (int sub = 0; sub < 10; ++sub) {
            const QString dir = root.filePath(QStringLiteral("dokumenter/%1/%2").arg(top).arg(sub));
            if (!QDir().mkpath(dir))
                return 1;
            for (int i = 0; i < 100; ++i) {
                QByteArray text;
                for (int lines = 20 + pick(60); lines > 0; --lines)
                    text += sentence(random, 3 + pick(9));
                // A rare word beside the common ones: a search that finds little costs the reading.
                if (pick(40) == 0)
                    text += "Husk kommunalbestyrelsesmedlemmet på søndag.\r\n";
                bool written = false;
                switch (i % 3) {
                case 0: written = writeFile(QStringLiteral("%1/fil%2.txt").arg(dir).arg(i), text); break;
                case 1:
                    written = writeFile(QStringLiteral("%1/side%2.html").arg(dir).arg(i),
                                        "<html><body><p>\r\n" + text + "</p></body></html>\r\n");
                    break;
                default:
                    written = writeFile(QStringLiteral("%1/brev%2.rtf").arg(dir).arg(i),
                                        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 "
                                            + rtfEscaped(text).replace("\r\n", "\\par\r\n") + "}");
                }
                if (!written)
                    return 1;
            }
        }
    }
    for (int top = 0; top < 2000; ++top) {
        const QString dir = root.filePath(QStringLiteral("navne/%1 %2").arg(QString::fromUtf8(kWords[top % std::size(kWords)])).arg(top));
        if (!QDir().mkpath(dir))
            return 1;
        for (int i = 0; i < 99; ++i) {
            const QString name = QString::fromUtf8(kWords[pick(int(std::size(kWords)))]) + QLatin1Char(' ')
                                 + QString::number(i) + (i % 10 == 0 ? QString() : QStringLiteral(".txt"));
            const bool made = i % 10 == 0 ? QDir(dir).mkdir(name) : writeFile(dir + QLatin1Char('/') + name, {});
            if (!made)
                return 1;
        }
    }
    return 0;
}

// The program started with a data root of its own; a box that asks or tells something is answered
// "cancel" and named in the result, since it means the search did not run as meant.
class Program {
public:
    Program()
    {
        qputenv("KYXTAVLO_DATA_ROOT", m_root.path().toUtf8());
        Platform::setModalResponder([this](QDialog &box) {
            m_boxes << box.windowTitle();
            box.reject();
        });
        m_started = createProgram({}, QDir::currentPath());
        // The dictionary is read in a thread of its own after the start; a user's search comes
        // after it, and a search measured beside it would share the processors with it.
        if (m_started)
            Platform::SpellChecker::shared().isAvailable();
    }
    ~Program()
    {
        if (m_started)
            destroyProgram();
        Platform::setModalResponder({});
    }
    bool started() const { return m_started; }
    QString boxesNote() const
    {
        return m_boxes.isEmpty() ? QString() : QStringLiteral("; BOXES SHOWN: ") + m_boxes.join(QStringLiteral(", "));
    }

private:
    QTemporaryDir m_root;
    QStringList m_boxes;
    bool m_started = false;
};

int searchDocuments(const QString &folder, const QString &mask, const QString &word)
{
    Program program;
    if (!program.started())
        return 1;
    findformen->show();
    QCoreApplication::processEvents();
    findformen->dirEdit->setText(folder);
    const int entry = findformen->filterBoks->findText(mask, Qt::MatchContains);
    if (entry < 0) {
        out() << "no file type " << mask << " in the filter list" << Qt::endl;
        return 1;
    }
    findformen->filterBoks->setCurrentIndex(entry);
    findformen->EditFind->setEditText(word);
    findformen->rekursivCheck->setChecked(true);
    QElapsedTimer timer;
    timer.start();
    findformen->AfindBib->Execute();
    const double seconds = timer.nsecsElapsed() / 1e9;
    QSet<QString> files;
    for (int row = 0; row < findformen->findis->rowCount(); ++row)
        files.insert(findformen->findis->item(row, 0)->text());
    result(QStringLiteral("search-documents"), QStringLiteral("Søg i dokumenter, ") + mask, seconds,
           QStringLiteral("%1 hits in %2 files").arg(findformen->findis->rowCount()).arg(files.size())
               + program.boxesNote());
    return 0;
}

int searchNames(const QString &folder, const QString &word)
{
    Program program;
    if (!program.started())
        return 1;
    // Every name found is wanted, as find lists every one.
    optform->maxElementer = 10'000'000;
    filmappeform->show();
    QCoreApplication::processEvents();
    filmappeform->mappeEdit->setText(folder);
    filmappeform->findTekstEdit->setText(word);
    QElapsedTimer timer;
    timer.start();
    filmappeform->aSearch->Execute();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const int found = filmappeform->mappeBoxen->count() + filmappeform->filBoxen->count();
    result(QStringLiteral("search-names"), QStringLiteral("Søg efter mapper og filer"), seconds,
           QStringLiteral("%1 names (%2 folders, %3 files)")
                   .arg(found)
                   .arg(filmappeform->mappeBoxen->count())
                   .arg(filmappeform->filBoxen->count())
               + program.boxesNote());
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString scenario = args.value(1);
    if (scenario == QLatin1String("tree") && args.size() == 3)
        return makeTrees(args[2]);
    if (scenario == QLatin1String("documents") && args.size() == 5)
        return searchDocuments(args[2], args[3], args[4]);
    if (scenario == QLatin1String("names") && args.size() == 4)
        return searchNames(args[2], args[3]);
    QTextStream(stderr) << "usage: bench_search tree <folder> | documents <folder> <mask> <word> | names <folder> <word>"
                        << Qt::endl;
    return 2;
}
