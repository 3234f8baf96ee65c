#include "platform/WebAddress.h"

#include <QTest>

// Which text under the mouse counts as a web address.
class TestWebAddress : public QObject {
    Q_OBJECT
private slots:
    void addressAt_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("address");
        QTest::newRow("https in a sentence") << "Se https://dr.dk/nyheder, tak." << 10 << "https://dr.dk/nyheder";
        QTest::newRow("www at its first letter") << "(www.kyx.dk)" << 1 << "www.kyx.dk";
        QTest::newRow("mail") << "skriv mailto:a@b.dk!" << 8 << "mailto:a@b.dk";
        QTest::newRow("query kept") << "https://x.dk/?q=blå&n=2" << 20 << "https://x.dk/?q=blå&n=2";
        QTest::newRow("plain word") << "Se https://dr.dk nu" << 1 << "";
        QTest::newRow("on a space") << "Se https://dr.dk nu" << 2 << "";
        QTest::newRow("prefix alone") << "https://" << 3 << "";
        QTest::newRow("past the end") << "www.dr.dk" << 9 << "";
    }
    void addressAt()
    {
        QFETCH(QString, line);
        QFETCH(int, offset);
        QFETCH(QString, address);
        QCOMPARE(Platform::webAddressAt(line, offset), address);
    }
};

QTEST_MAIN(TestWebAddress)
#include "tst_webaddress.moc"
