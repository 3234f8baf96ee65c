#include <QDir>
#include <QDirIterator>
#include <QHash>
#include <QTest>

// The source tree is checked out on Windows and macOS too, whose file systems ignore letter case:
// there two names that differ only in case are one file, and one of them is lost.
class TestSourceTree : public QObject {
    Q_OBJECT
private slots:
    void noTwoNamesDifferOnlyInCase();
};

void TestSourceTree::noTwoNamesDifferOnlyInCase()
{
    const QString root = QDir::cleanPath(QFINDTESTDATA("../../src") + QStringLiteral("/.."));
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

QTEST_GUILESS_MAIN(TestSourceTree)
#include "tst_sourcetree.moc"
