#include "platform/ProgramChannel.h"

#include "platform/DataFolders.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace Platform {

namespace {

// How long a start waits for the running program to take its names. A program that does not
// answer within it is taken for hung, and the start runs on its own.
constexpr int answerMilliseconds = 5000;

const QString objectPath = QStringLiteral("/Program");
const QString interfaceName = QStringLiteral("io.github.kyxtavlo.kyxTavlo.Program");

class BusChannel : public ProgramChannel {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.github.kyxtavlo.kyxTavlo.Program")
public:
    BusChannel(const QDBusConnection &bus, const QString &dataRoot)
        : m_bus(bus)
        , m_service(QStringLiteral("io.github.kyxtavlo.kyxTavlo.R") + rootKey(dataRoot))
    {
    }

    ~BusChannel() override
    {
        if (m_owner)
            m_bus.unregisterService(m_service);
    }

    bool handOver(const QStringList &fileNames) override
    {
        if (!m_bus.isConnected() || !m_bus.interface())
            return false;
        if (!m_exported)
            m_exported = m_bus.registerObject(objectPath, this, QDBusConnection::ExportScriptableSlots);
        // The running program may end between a refused claim and the call; then the name is
        // free again and taken on the next round.
        for (int round = 0; round < 3; ++round) {
            const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> claim = m_bus.interface()->registerService(
                m_service, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
            if (!claim.isValid())
                return false; // the bus refuses the name: run alone
            if (claim.value() == QDBusConnectionInterface::ServiceRegistered) {
                m_owner = true;
                return false;
            }
            QDBusMessage call = QDBusMessage::createMethodCall(m_service, objectPath, interfaceName, QStringLiteral("Open"));
            call << fileNames;
            if (m_bus.call(call, QDBus::Block, answerMilliseconds).type() == QDBusMessage::ReplyMessage)
                return true;
        }
        return false;
    }

public slots:
    Q_SCRIPTABLE void Open(const QStringList &fileNames) { received(fileNames); }

private:
    QDBusConnection m_bus;
    const QString m_service;
    bool m_exported = false;
    bool m_owner = false;
};

class SocketChannel : public ProgramChannel {
    Q_OBJECT
public:
    explicit SocketChannel(const QString &name)
        : m_name(name)
    {
        m_server.setSocketOptions(QLocalServer::UserAccessOption);
        connect(&m_server, &QLocalServer::newConnection, this, &SocketChannel::takeConnections);
    }

    bool handOver(const QStringList &fileNames) override
    {
        // Two starts at the same moment: the second waits until the first listens, and then
        // hands its names to it.
        QLockFile claiming(lockName());
        claiming.tryLock(answerMilliseconds);
        if (send(fileNames))
            return true;
        // Nobody answers: a socket left by a program that died is in the way.
        QLocalServer::removeServer(m_name);
        m_server.listen(m_name);
        return false;
    }

private:
    QString lockName() const
    {
#ifdef Q_OS_WIN
        return QDir(QDir::tempPath()).filePath(m_name + QStringLiteral(".lock"));
#else
        return m_name + QStringLiteral(".lock");
#endif
    }

    bool send(const QStringList &fileNames) const
    {
        QLocalSocket socket;
        socket.connectToServer(m_name);
        if (!socket.waitForConnected(answerMilliseconds))
            return false;
        QByteArray message;
        QDataStream out(&message, QIODevice::WriteOnly);
        out << fileNames;
        socket.write(message);
        while (socket.bytesAvailable() < 1)
            if (!socket.waitForReadyRead(answerMilliseconds))
                return false;
        return socket.read(1) == "1";
    }

    void takeConnections()
    {
        while (QLocalSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                QDataStream in(socket);
                in.startTransaction();
                QStringList fileNames;
                in >> fileNames;
                if (!in.commitTransaction())
                    return; // the rest is still coming
                socket->write("1");
                socket->flush();
                received(fileNames);
            });
        }
    }

    const QString m_name;
    QLocalServer m_server;
};

} // namespace

std::unique_ptr<ProgramChannel> ProgramChannel::forDataRoot(const QString &dataRoot)
{
#ifndef Q_OS_WIN
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected())
        return overBus(bus, dataRoot);
    return overSocket(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation), dataRoot);
#else
    // Named pipes are the user's own by their name.
    return std::make_unique<SocketChannel>(QStringLiteral("kyxtavlo-") + userName() + QLatin1Char('-') + rootKey(dataRoot));
#endif
}

std::unique_ptr<ProgramChannel> ProgramChannel::overBus(const QDBusConnection &bus, const QString &dataRoot)
{
    return std::make_unique<BusChannel>(bus, dataRoot);
}

std::unique_ptr<ProgramChannel> ProgramChannel::overSocket(const QString &folder, const QString &dataRoot)
{
    return std::make_unique<SocketChannel>(QDir(folder).filePath(QStringLiteral("kyxtavlo-") + rootKey(dataRoot)));
}

QString ProgramChannel::rootKey(const QString &dataRoot)
{
    const QFileInfo root(dataRoot);
    QString path = root.exists() ? root.canonicalFilePath() : QDir::cleanPath(root.absoluteFilePath());
#ifdef Q_OS_WIN
    path = path.toLower();
#endif
    return QString::fromLatin1(QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(16));
}

void ProgramChannel::receiveWith(std::function<void(const QStringList &)> receiver)
{
    m_receiver = std::move(receiver);
    deliver();
}

void ProgramChannel::received(const QStringList &fileNames)
{
    m_waiting.append(fileNames);
    // The start that sent them has its answer first; opening them may ask the user things.
    QMetaObject::invokeMethod(this, &ProgramChannel::deliver, Qt::QueuedConnection);
}

void ProgramChannel::deliver()
{
    while (m_receiver && !m_waiting.isEmpty())
        m_receiver(m_waiting.takeFirst());
}

} // namespace Platform

#include "ProgramChannel.moc"
