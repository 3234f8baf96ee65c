#include "platform/ProgramChannel.h"

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using Platform::ProgramChannel;

namespace {

// A D-Bus session bus of the test's own, so that nothing of a desktop's bus is met.
class PrivateBus {
public:
    PrivateBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                       QStringLiteral("--print-address=1")});
        while (m_daemon.state() != QProcess::NotRunning && !m_daemon.canReadLine())
            m_daemon.waitForReadyRead(10000);
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    // A connection of its own for each program, as each process has.
    QDBusConnection connection(const QString &name) const { return QDBusConnection::connectToBus(m_address, name); }
    bool running() const { return !m_address.isEmpty(); }

private:
    QProcess m_daemon;
    QString m_address;
};

// The program that runs first, in a thread of its own, since a second start waits for its answer.
class FirstProgram {
public:
    explicit FirstProgram(std::function<std::unique_ptr<ProgramChannel>()> make)
    {
        m_context.moveToThread(&m_thread);
        m_thread.start();
        QMetaObject::invokeMethod(&m_context, [&] {
            m_channel = make();
            m_tookChannel = !m_channel->handOver({});
        }, Qt::BlockingQueuedConnection);
    }
    ~FirstProgram()
    {
        QMetaObject::invokeMethod(&m_context, [this] { m_channel.reset(); }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    bool tookChannel() const { return m_tookChannel; }
    // The program is ready for files from later starts.
    void listen()
    {
        QMetaObject::invokeMethod(&m_context, [this] {
            m_channel->receiveWith([this](const QStringList &names) {
                QMutexLocker lock(&m_mutex);
                m_received << names;
            });
        }, Qt::BlockingQueuedConnection);
    }
    QList<QStringList> received()
    {
        QMutexLocker lock(&m_mutex);
        return m_received;
    }

private:
    QThread m_thread;
    QObject m_context;
    std::unique_ptr<ProgramChannel> m_channel;
    bool m_tookChannel = false;
    QMutex m_mutex;
    QList<QStringList> m_received;
};

} // namespace

// A second start of the program on the same data root hands its files to the one that runs; on
// another data root it runs on its own.
class TestProgramChannel : public QObject {
    Q_OBJECT
private slots:
    void rootKey_data();
    void rootKey();
    void secondStartHandsOver_data();
    void secondStartHandsOver();
    void socketLeftBehindIsTakenOver();
};

void TestProgramChannel::rootKey_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("same");
    QTest::newRow("trailing separator") << "/data/kyx" << "/data/kyx/" << true;
    QTest::newRow("dot and double slash") << "/data/kyx" << "/data/./other/..//kyx" << true;
    QTest::newRow("two roots") << "/data/kyx" << "/data/kyx2" << false;
    QTest::newRow("letter case") << "/data/kyx" << "/data/Kyx" << false;
}

void TestProgramChannel::rootKey()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, same);
    QCOMPARE(ProgramChannel::rootKey(a) == ProgramChannel::rootKey(b), same);
    // Part of a bus name, whose parts are letters, digits and underscores.
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{16}$")).match(ProgramChannel::rootKey(a)).hasMatch());
}

void TestProgramChannel::secondStartHandsOver_data()
{
    QTest::addColumn<bool>("overBus");
    QTest::newRow("local socket") << false;
    QTest::newRow("session bus") << true;
}

void TestProgramChannel::secondStartHandsOver()
{
    QFETCH(bool, overBus);
    PrivateBus bus;
    if (overBus)
        QVERIFY2(bus.running(), "dbus-daemon did not start");
    QTemporaryDir runtime;
    const QString root = QDir(runtime.path()).filePath(QStringLiteral("data"));
    const QString otherRoot = QDir(runtime.path()).filePath(QStringLiteral("andre data"));
    int starts = 0;
    auto start = [&](const QString &dataRoot) {
        return overBus ? ProgramChannel::overBus(bus.connection(QStringLiteral("start %1").arg(++starts)), dataRoot)
                       : ProgramChannel::overSocket(runtime.path(), dataRoot);
    };

    {
        FirstProgram first([&] { return start(root); });
        QVERIFY(first.tookChannel());
        // Files handed over while the first program is still starting wait for it.
        QVERIFY(start(root)->handOver({QStringLiteral("/a/brev.txt"), QStringLiteral("/mappe med mellemrum/b.rtf")}));
        first.listen();
        QVERIFY(start(root)->handOver({}));
        QVERIFY(start(root)->handOver({QStringLiteral("/c/æøå.txt")}));
        const QList<QStringList> expected{{QStringLiteral("/a/brev.txt"), QStringLiteral("/mappe med mellemrum/b.rtf")},
                                          {},
                                          {QStringLiteral("/c/æøå.txt")}};
        QTRY_COMPARE(first.received(), expected);

        // Another data root is another program.
        const std::unique_ptr<ProgramChannel> other = start(otherRoot);
        QVERIFY(!other->handOver({QStringLiteral("/d.txt")}));
        QCOMPARE(first.received(), expected);
    }
    // With the first program gone, the next start runs itself.
    FirstProgram next([&] { return start(root); });
    QVERIFY(next.tookChannel());
}

// A program that died leaves its socket file; the next start is not stopped by it.
void TestProgramChannel::socketLeftBehindIsTakenOver()
{
    QTemporaryDir runtime;
    const QString root = QDir(runtime.path()).filePath(QStringLiteral("data"));
    QFile left(QDir(runtime.path()).filePath(QStringLiteral("kyxtavlo-") + ProgramChannel::rootKey(root)));
    QVERIFY(left.open(QIODevice::WriteOnly));
    left.close();
    FirstProgram first([&] { return ProgramChannel::overSocket(runtime.path(), root); });
    QVERIFY(first.tookChannel());
    first.listen();
    QVERIFY(ProgramChannel::overSocket(runtime.path(), root)->handOver({QStringLiteral("/x.txt")}));
    QTRY_COMPARE(first.received(), QList<QStringList>{{QStringLiteral("/x.txt")}});
}

QTEST_GUILESS_MAIN(TestProgramChannel)
#include "tst_programchannel.moc"
