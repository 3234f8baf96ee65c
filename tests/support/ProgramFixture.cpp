#include "ProgramFixture.h"

#include "app/Main.h"
#include "app/Startup.h"
#include "platform/DataFolders.h"
#include "widgets/Globals.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTest>

namespace {
// The offscreen platform warns about every window it cannot size by hints; that says nothing
// about the program.
QtMessageHandler previousHandler = nullptr;

void quietOffscreenWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("propagateSizeHints")) || message.contains(QLatin1String("does not support raise()")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}
} // namespace

ProgramFixture::ProgramFixture()
{
    static const bool installed = [] {
        previousHandler = qInstallMessageHandler(quietOffscreenWarnings);
        return true;
    }();
    Q_UNUSED(installed);
    QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark));
    qputenv("KYXTAVLO_DATA_ROOT", m_root.path().toUtf8());
    QDir().mkpath(optMappe());
    QDir().mkpath(workFolder());
}

ProgramFixture::~ProgramFixture()
{
    if (m_running)
        destroyProgram();
    qunsetenv("KYXTAVLO_DATA_ROOT");
}

void ProgramFixture::start(const QStringList &args)
{
    QVERIFY(createProgram(args, QDir::currentPath()));
    m_running = true;
    mainform->show();
    QVERIFY(QTest::qWaitForWindowExposed(mainform));
}

bool ProgramFixture::close()
{
    const bool closed = mainform->close();
    if (closed) {
        destroyProgram();
        m_running = false;
    }
    return closed;
}

QString ProgramFixture::dataRoot() const
{
    return Platform::dataRoot();
}

QString ProgramFixture::optMappe() const
{
    return QDir(m_root.path()).filePath(QStringLiteral("Brugere/") + Platform::userName() + QStringLiteral("/Egenskaber"));
}

QString ProgramFixture::workFolder() const
{
    return QDir(m_root.path()).filePath(QStringLiteral("work"));
}

QString ProgramFixture::writeFile(const QString &name, const QByteArray &bytes) const
{
    const QString path = QDir(workFolder()).filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QByteArray ProgramFixture::readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString shownText(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}
