#include "platform/Notifications.h"

#include "platform/Seam.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVariantMap>

namespace Platform {

namespace {

constexpr int balloonMilliseconds = 10000;

class DesktopNotifications : public Notifications {
public:
    bool post(const QString &name, const QString &title, const QString &body, QSystemTrayIcon *trayIcon) override
    {
#ifndef Q_OS_WIN
        if (postOverDBus(name, title, body))
            return true;
#endif
        return postAsBalloon(title, body, trayIcon);
    }

    bool hasNotificationArea() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }

private:
    static bool postOverDBus(const QString &name, const QString &title, const QString &body)
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected())
            return false;
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
        // The name has no place of its own in the protocol; a hint of ours carries it.
        const QVariantMap hints{{QStringLiteral("x-kyxtavlo-name"), name}};
        call << QStringLiteral("kyxTavlo") << uint(0) << QString() << title << body << QStringList() << hints << -1;
        // A service that is not running answers with an error at once; one that hangs must not
        // hold the program for long.
        const QDBusReply<uint> reply = bus.call(call, QDBus::Block, 5000);
        return reply.isValid();
    }

    bool postAsBalloon(const QString &title, const QString &body, QSystemTrayIcon *trayIcon) const
    {
        if (!trayIcon || !hasNotificationArea())
            return false;
        // A balloon needs its icon; one shown only for the message goes again with the balloon.
        if (!trayIcon->isVisible()) {
            trayIcon->show();
            QTimer::singleShot(balloonMilliseconds, trayIcon, [icon = QPointer<QSystemTrayIcon>(trayIcon)] {
                if (icon)
                    icon->hide();
            });
        }
        trayIcon->showMessage(title, body, QSystemTrayIcon::Information, balloonMilliseconds);
        return true;
    }
};

} // namespace

Notifications &notifications()
{
    return Seam<Notifications>::get<DesktopNotifications>();
}

void setNotifications(Notifications *fake)
{
    Seam<Notifications>::replace(fake);
}

} // namespace Platform
