#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class QDBusConnection;

// How a second start of the program reaches the one that already runs for the same user and data
// root, so that only one program reads and writes the user's settings and lists.
namespace Platform {

class ProgramChannel : public QObject {
    Q_OBJECT
public:
    // The channel of the logged-on user and this data root: the D-Bus session bus where there is
    // one, else a local socket in the user's runtime folder.
    static std::unique_ptr<ProgramChannel> forDataRoot(const QString &dataRoot);
    // The same over a given bus, or over a socket in a given folder.
    static std::unique_ptr<ProgramChannel> overBus(const QDBusConnection &bus, const QString &dataRoot);
    static std::unique_ptr<ProgramChannel> overSocket(const QString &folder, const QString &dataRoot);

    // Hands the file names to the program that runs on this channel; true when it took them, and
    // this start should end. Otherwise this program takes the channel and runs: false. A channel
    // that cannot be taken at all leaves the program running on its own.
    virtual bool handOver(const QStringList &fileNames) = 0;

    // Where the names of later starts go, each start's names at once, in the order the starts
    // came; the names of starts that came before the receiver was set are given to it first.
    void receiveWith(std::function<void(const QStringList &)> receiver);

    // The same for every spelling of one data root, different for two roots; a part of the
    // channel's name.
    static QString rootKey(const QString &dataRoot);

protected:
    // Called by the transport for each later start, after it has answered that start.
    void received(const QStringList &fileNames);

private:
    void deliver();

    std::function<void(const QStringList &)> m_receiver;
    QList<QStringList> m_waiting;
};

} // namespace Platform
