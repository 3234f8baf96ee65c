#include "Fakes.h"

#include "widgets/BoxSettings.h"
#include "widgets/Globals.h"
#include "widgets/infUnit.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

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
    void windowKeptOnScreen_data();
    void windowKeptOnScreen();

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
    QTest::addColumn<QByteArray>("content"); // "missing" for no file, "folder" for a folder in its place
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
    QTest::newRow("signs and tabs") << QByteArray("+5\r\n-0\r\n\t7\t\r\n") << true << false << false
                                    << QList<int>{5, 0, 7} << false;
    QTest::newRow("NUL inside a number") << QByteArray("1\r\n8\0 00\r\n3\r\n", 12) << true << true << false
                                         << QList<int>{1, -1, -1} << true;
    QTest::newRow("sign without digits") << QByteArray("1\r\n2\r\n-\r\n") << true << false << false
                                         << QList<int>{1, 2, -1} << false;
    QTest::newRow("unreadable gives defaults") << QByteArray("folder") << true << false << false << defaults << false;
    QTest::newRow("unreadable gives defaults and tells where reported")
        << QByteArray("folder") << false << true << false << defaults << true;
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
    if (content == "folder") {
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("box.txt")));
    } else if (content != "missing") {
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

// Places as a screen that is gone or a hand-edited file leaves them, relative to the screen's
// available area: width, height, left and top as saved, and where the window must be after reading.
void TestBoxSettings::windowKeptOnScreen_data()
{
    QTest::addColumn<QList<int>>("saved");
    QTest::addColumn<QRect>("expected");

    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const auto at = [&area](int left, int top, int width, int height) {
        return QRect(area.left() + left, area.top() + top, width, height);
    };
    const auto saved = [](const QRect &place) {
        return QList<int>{place.width(), place.height(), place.left(), place.top()};
    };
    const QRect inside = at(10, 20, 200, 150);
    QTest::newRow("on the screen") << saved(inside) << inside;
    const QRect partlyOff = at(area.width() - 100, area.height() - 60, 200, 150);
    QTest::newRow("partly off, the title bar seen") << saved(partlyOff) << partlyOff;
    QTest::newRow("far up and left") << QList<int>{200, 150, -5000, -5000} << at(0, 0, 200, 150);
    QTest::newRow("far down and right")
        << QList<int>{200, 150, 5000, 5000} << at(area.width() - 200, area.height() - 150, 200, 150);
    QTest::newRow("title bar above the screen") << saved(at(30, -10, 200, 150)) << at(30, 0, 200, 150);
    QTest::newRow("title bar off to the left") << saved(at(-190, 40, 200, 150)) << at(0, 40, 200, 150);
    QTest::newRow("bigger than the screen")
        << QList<int>{50000, 50000, 5000, 5000} << at(0, 0, area.width(), area.height());
    QTest::newRow("ends after the width") << QList<int>{50000} << QRect(QPoint(), QSize(area.width(), 100));
}

void TestBoxSettings::windowKeptOnScreen()
{
    QFETCH(QList<int>, saved);
    QFETCH(QRect, expected);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("box.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (const int value : saved)
        file.write(QByteArray::number(value) + "\r\n");
    file.close();

    QWidget window;
    window.move(0, 0);
    window.resize(expected.width(), 100);
    readSettings(path, {4, false, false, SettingsRules::Fallback::Defaults}, {},
                 [&](SettingsLines &lines) { lines.windowGeometry(window); });
    QCOMPARE(QRect(window.pos(), window.size()), expected);
}

QTEST_MAIN(TestBoxSettings)
#include "tst_boxsettings.moc"
