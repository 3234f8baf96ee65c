#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QHash>
#include <QTest>

namespace {

QString sourceRoot()
{
    return QDir::cleanPath(QFINDTESTDATA("../../src") + QStringLiteral("/.."));
}

} // namespace

class TestSourceTree : public QObject {
    Q_OBJECT
private slots:
    void noTwoNamesDifferOnlyInCase();
    void onlyTheProgramsTopReachesTheMainWindow();
};

// The source tree is checked out on Windows and macOS too, whose file systems ignore letter case:
// there two names that differ only in case are one file, and one of them is lost.
void TestSourceTree::noTwoNamesDifferOnlyInCase()
{
    const QString root = sourceRoot();
    QHash<QString, QString> byFoldedName;
    QStringList clashes;
    for (const QString &top : {QStringLiteral("src"), QStringLiteral("tests"), QStringLiteral("resources"),
                               QStringLiteral("tools"), QStringLiteral("bench")}) {
        QDirIterator it(root + u'/' + top, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next().mid(root.size() + 1);
            const QString folded = path.toCaseFolded();
            const auto seen = byFoldedName.constFind(folded);
            if (seen != byFoldedName.cend())
                clashes << seen.value() + QStringLiteral(" / ") + path;
            else
                byFoldedName.insert(folded, path);
        }
    }
    QVERIFY2(!byFoldedName.isEmpty(), "the source tree was not found");
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QStringLiteral(", "))));
}

// The document windows and the boxes know the main window only through the values, signals and
// narrow interfaces it gives them, so that each can be built and tested without it: nothing below
// src/app includes a header of src/app.
void TestSourceTree::onlyTheProgramsTopReachesTheMainWindow()
{
    const QString src = sourceRoot() + QStringLiteral("/src");
    const QRegularExpression appInclude(QStringLiteral("^\\s*#\\s*include\\s*\"app/"));
    QStringList reaching;
    int read = 0;
    QDirIterator it(src, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.startsWith(src + QStringLiteral("/app/")))
            continue;
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(path));
        ++read;
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        for (const QString &line : lines)
            if (appInclude.match(line).hasMatch())
                reaching << path.mid(src.size() + 1) + QStringLiteral(": ") + line.trimmed();
    }
    QVERIFY2(read > 0, "no sources were found");
    QVERIFY2(reaching.isEmpty(), qPrintable(reaching.join(QStringLiteral(", "))));
}

QTEST_GUILESS_MAIN(TestSourceTree)
#include "tst_sourcetree.moc"
