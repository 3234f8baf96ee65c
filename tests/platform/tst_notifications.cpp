#include "ProgramFixture.h"

#include "app/Main.h"
#include "platform/Notifications.h"
#include "widgets/Globals.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QProcess>
#include <QSemaphore>
#include <QSystemTrayIcon>
#include <QTest>
#include <QThread>
#include <QVariantMap>

namespace {

// What a notification service on the desktop receives.
struct Received {
    QString application, summary, body, name;
};

// A stand-in for the desktop's notification service on a private session bus, answering from a
// thread of its own, as a real service answers from its own process.
class NotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QList<Received> received;

public slots:
    uint Notify(const QString &application, uint, const QString &, const QString &summary, const QString &body,
                const QStringList &, const QVariantMap &hints, int)
    {
        received.append({application, summary, body, hints.value(QStringLiteral("x-kyxtavlo-name")).toString()});
        return uint(received.size());
    }
};

class ServiceThread : public QThread {
public:
    explicit ServiceThread(QString address) : m_address(std::move(address)) {}
    QSemaphore ready;
    // What the service received, once the thread has ended.
    QList<Received> received;

protected:
    void run() override
    {
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, QStringLiteral("service"));
        NotificationService own;
        bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &own, QDBusConnection::ExportAllSlots);
        bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
        ready.release();
        exec();
        bus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
        received = own.received;
        QDBusConnection::disconnectFromBus(QStringLiteral("service"));
    }

private:
    QString m_address;
};

} // namespace

class TestNotifications : public QObject {
    Q_OBJECT
private slots:
    void postsToTheNotificationService();
    void noServiceAndNoNotificationArea();
    void sendTellsWhenNothingShowsTheMessage();
};

void TestNotifications::postsToTheNotificationService()
{
    QVERIFY(QDBusConnection::sessionBus().isConnected());
    ServiceThread thread(QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS")));
    thread.start();
    thread.ready.acquire();
    QTRY_VERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(
        QStringLiteral("org.freedesktop.Notifications")));

    const QString longBody(100000, QLatin1Char('b'));
    QVERIFY(Platform::notifications().post(QStringLiteral("kyx Vandel 1"), QStringLiteral("Husk"),
                                           QStringLiteral("Mælk og æg"), nullptr));
    QVERIFY(Platform::notifications().post(QStringLiteral("kyx Vandel 2"), QStringLiteral("Lang"), longBody, nullptr));
    thread.quit();
    thread.wait();
    QCOMPARE(thread.received.size(), 2);
    QCOMPARE(thread.received[0].application, QStringLiteral("kyxTavlo"));
    QCOMPARE(thread.received[0].name, QStringLiteral("kyx Vandel 1"));
    QCOMPARE(thread.received[0].summary, QStringLiteral("Husk"));
    QCOMPARE(thread.received[0].body, QStringLiteral("Mælk og æg"));
    QCOMPARE(thread.received[1].name, QStringLiteral("kyx Vandel 2"));
    QCOMPARE(thread.received[1].body, longBody);
}

void TestNotifications::noServiceAndNoNotificationArea()
{
    // Nothing answers on the bus, and the offscreen desktop has no notification area.
    QSystemTrayIcon icon;
    QVERIFY(!Platform::notifications().post(QStringLiteral("kyx Vandel 3"), QStringLiteral("t"), QStringLiteral("b"), &icon));
    QVERIFY(!icon.isVisible());
}

// "Send" in the message centre on such a desktop tells the user that the message was not shown.
void TestNotifications::sendTellsWhenNothingShowsTheMessage()
{
    ProgramFixture program;
    Platform::setNotifications(nullptr); // the desktop's own, as the program has it
    program.start();
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+7")));
    mainform->bcEdit->setText(QStringLiteral("Husk"));
    mainform->bcMemo->setPlainText(QStringLiteral("Mælk og æg"));
    program.modal.press(QStringLiteral("OK"));
    QTest::mouseClick(mainform->bcButton, Qt::LeftButton);
    Platform::setNotifications(&program.notifications);
    QVERIFY(program.modal.unexpected.isEmpty());
    QCOMPARE(shownText(program.modal.shown.value(0).text),
             QStringLiteral("Beskeden kunne ikke vises:\nHusk\nSkrivebordet har hverken et beskedcenter eller en systembakke."));
}

// The session bus of this test is a dbus-daemon of its own, so that nothing reaches the desktop.
int main(int argc, char **argv)
{
    QProcess bus;
    bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                             QStringLiteral("--print-address=1")});
    if (!bus.waitForStarted() || !bus.waitForReadyRead(10000)) {
        qCritical("dbus-daemon could not be started: %s", qPrintable(bus.errorString()));
        return 1;
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.readLine().trimmed());
    int result = 0;
    {
        QApplication app(argc, argv);
        TestNotifications test;
        result = QTest::qExec(&test, argc, argv);
    }
    bus.terminate();
    bus.waitForFinished();
    return result;
}

#include "tst_notifications.moc"
