#include "Fakes.h"

#include "app/BoxSettings.h"
#include "app/Globals.h"
#include "options/infUnit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The rules every settings file is read by: which values a file with too few, too many or bad
// lines gives, and when the user hears about it.
class TestBoxSettings : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void readingRules_data();
    void readingRules();
    void writtenFileReadsBack();

private:
    Tinfform *m_info = nullptr;
};

void TestBoxSettings::initTestCase()
{
    m_info = new Tinfform;
    infform = m_info;
}

void TestBoxSettings::cleanupTestCase()
{
    infform = nullptr;
    delete m_info;
}

// A member with three integer values: a, b and c, designed as -1 and defaulting to 7.
void TestBoxSettings::readingRules_data()
{
    QTest::addColumn<QByteArray>("content"); // "missing" for no file
    QTest::addColumn<bool>("countChecked");
    QTest::addColumn<bool>("reported");
    QTest::addColumn<bool>("designOnMissing");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<bool>("messageShown");

    const QList<int> defaults{7, 7, 7};
    const QList<int> design{-1, -1, -1};
    QTest::newRow("complete") << QByteArray("1\r\n2\r\n3\r\n") << true << false << false << QList<int>{1, 2, 3} << false;
    QTest::newRow("LF and no final break") << QByteArray("1\n2\n3") << true << false << false << QList<int>{1, 2, 3} << false;
    QTest::newRow("missing gives defaults") << QByteArray("missing") << true << true << false << defaults << false;
    QTest::newRow("missing keeps design values") << QByteArray("missing") << true << true << true << design << false;
    QTest::newRow("trailing blank line is a fourth line")
        << QByteArray("1\r\n2\r\n3\r\n\r\n") << true << false << false << defaults << false;
    QTest::newRow("wrong count keeps design values")
        << QByteArray("1\r\n2\r\n") << true << true << true << design << false;
    QTest::newRow("unchecked count: extra lines ignored")
        << QByteArray("1\r\n2\r\n3\r\n4\r\n") << false << true << false << QList<int>{1, 2, 3} << false;
    QTest::newRow("unchecked count: too few lines stop with a message")
        << QByteArray("1\r\n2\r\n") << false << true << false << QList<int>{1, 2, -1} << true;
    QTest::newRow("word instead of number, silent")
        << QByteArray("seks\r\n2\r\n3\r\n") << false << false << false << design << false;
    QTest::newRow("bad middle line stops there")
        << QByteArray("1\r\nx\r\n3\r\n") << true << true << false << QList<int>{1, -1, -1} << true;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF" "4\r\n5\r\n6\r\n") << true << true << false
                                     << QList<int>{4, 5, 6} << false;
    QTest::newRow("UTF-16 with mark") << QByteArray("\xFF\xFE" "4\0\r\0\n\0" "5\0\r\0\n\0" "6\0\r\0\n\0", 20) << true
                                      << true << false << QList<int>{4, 5, 6} << false;
    QTest::newRow("binary garbage") << QByteArray("\x00\x01\xFF\xFE\x80\r\n\x00\r\n\x7F", 11) << true << true << false
                                    << design << true;
    QTest::newRow("spaces around numbers") << QByteArray(" 8 \r\n9\r\n-3\r\n") << true << false << false
                                           << QList<int>{8, 9, -3} << false;
}

void TestBoxSettings::readingRules()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, countChecked);
    QFETCH(bool, reported);
    QFETCH(bool, designOnMissing);
    QFETCH(QList<int>, values);
    QFETCH(bool, messageShown);

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("box.txt"));
    if (content != "missing") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    ModalScript modal;
    if (messageShown)
        modal.press(QStringLiteral("OK"));

    QList<int> read{-1, -1, -1};
    const SettingsRules rules{3, countChecked, reported,
                              designOnMissing ? SettingsRules::Fallback::DesignValues : SettingsRules::Fallback::Defaults};
    readSettings(path, rules, [&] { read = {7, 7, 7}; }, [&](SettingsLines &lines) {
        for (int &value : read)
            value = lines.integer();
    });
    QCOMPARE(read, values);
    QCOMPARE(modal.shown.size(), messageShown ? 1 : 0);
    QVERIFY(modal.unexpected.isEmpty());
    if (messageShown)
        QCOMPARE(modal.shown[0].text, QStringLiteral("Information\nDer gik noget galt med opstarten.\nDer kan eventuelt "
                                                     "være slettet vigtige filer."));
}

void TestBoxSettings::writtenFileReadsBack()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("box.txt"));
    QVERIFY(SettingsWriter().integer(-12).yesNo(true).yesNo(false).text(QStringLiteral("Smokey Quartz Kamri")).write(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("-12\r\n1\r\n0\r\nSmokey Quartz Kamri\r\n"));

    int number = 0;
    bool yes = false, no = true;
    QString text;
    QVERIFY(readSettings(path, {4, true, false, SettingsRules::Fallback::Defaults}, {}, [&](SettingsLines &lines) {
        number = lines.integer();
        yes = lines.yesNo();
        no = lines.yesNo();
        text = lines.text();
    }));
    QCOMPARE(number, -12);
    QVERIFY(yes);
    QVERIFY(!no);
    QCOMPARE(text, QStringLiteral("Smokey Quartz Kamri"));
}

QTEST_MAIN(TestBoxSettings)
#include "tst_boxsettings.moc"
