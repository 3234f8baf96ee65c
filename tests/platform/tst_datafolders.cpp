#include "platform/DataFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Which program folder (help pages, scripts) the program reads: the data root's own, or the one
// an installation put below its prefix.
class TestDataFolders : public QObject {
    Q_OBJECT
private slots:
    void programFolder_data()
    {
        QTest::addColumn<QString>("dataRootHolds");  // "folder", "file" or "" for a "Program" entry
        QTest::addColumn<bool>("installed");         // whether the installed folder exists
        QTest::addColumn<QString>("chosen");         // "own" or "installed"
        QTest::newRow("the data root's own wins") << "folder" << true << "own";
        QTest::newRow("installed when the data root has none") << "" << true << "installed";
        QTest::newRow("a file named Program is no folder") << "file" << true << "installed";
        QTest::newRow("the data root's when neither exists") << "" << false << "own";
        QTest::newRow("the data root's own without an installation") << "folder" << false << "own";
    }
    void programFolder()
    {
        QFETCH(QString, dataRootHolds);
        QFETCH(bool, installed);
        QFETCH(QString, chosen);
        QTemporaryDir temporary;
        QVERIFY(temporary.isValid());
        const QDir top(temporary.path());
        const QString root = QDir::toNativeSeparators(top.filePath(QStringLiteral("data"))) + QDir::separator();
        QVERIFY(top.mkpath(QStringLiteral("data")));
        if (dataRootHolds == QLatin1String("folder"))
            QVERIFY(top.mkpath(QStringLiteral("data/Program/Information")));
        if (dataRootHolds == QLatin1String("file")) {
            QFile file(top.filePath(QStringLiteral("data/Program")));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        // Written as an installation names it: below bin, without a trailing separator.
        const QString installedFolder = top.filePath(QStringLiteral("usr/bin/../share/kyxtavlo"));
        if (installed)
            QVERIFY(top.mkpath(QStringLiteral("usr/bin")) && top.mkpath(QStringLiteral("usr/share/kyxtavlo")));

        const QString expected = chosen == QLatin1String("own")
            ? root + QStringLiteral("Program") + QDir::separator()
            : QDir::toNativeSeparators(top.filePath(QStringLiteral("usr/share/kyxtavlo"))) + QDir::separator();
        QCOMPARE(Platform::programFolder(root, installedFolder), expected);
    }
};

QTEST_MAIN(TestDataFolders)
#include "tst_datafolders.moc"
