#pragma once

#include <QString>

class QSystemTrayIcon;

// Posts messages to the desktop's notification centre.
namespace Platform {

class Notifications {
public:
    virtual ~Notifications() = default;
    // name identifies the notification; title and body are what the user reads. Where the desktop
    // has no notification service, the message goes to the balloon of trayIcon (when there is a
    // notification area). False when neither could take it.
    virtual bool post(const QString &name, const QString &title, const QString &body, QSystemTrayIcon *trayIcon) = 0;
    // Whether the desktop has a notification area that can hold the program's icon. Many
    // desktops have none, and an icon there could never be clicked.
    virtual bool hasNotificationArea() const = 0;
};

Notifications &notifications();
void setNotifications(Notifications *fake); // nullptr restores the real one; the caller keeps ownership

} // namespace Platform
