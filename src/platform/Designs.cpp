#include "platform/Designs.h"

#include <QApplication>
#include <QFile>
#include <QStyle>

namespace Platform {

namespace {

const QString platformDesign = QStringLiteral("Windows");
// Style sheets only fill in what the style below them leaves open; on Fusion that is the same on
// every platform, so a design looks as drawn everywhere.
const QString sheetStyle = QStringLiteral("Fusion");

struct DesignState {
    QString current = platformDesign;
    bool started = false;
    // The style the application had before the first design changed it: what "Windows" goes back to.
    QString platformStyle;
    // A style under a sheet does not tell its name, so the one in force is remembered here.
    QString styleInForce;
};

DesignState &state()
{
    static DesignState designs;
    return designs;
}

QString sheetPath(const QString &design)
{
    QString file = design;
    file.replace(QLatin1Char(' '), QLatin1Char('_'));
    return QStringLiteral(":/designs/") + file + QStringLiteral(".qss");
}

QString canonicalName(const QString &name)
{
    for (const QString &design : designNames()) {
        if (design.compare(name, Qt::CaseInsensitive) == 0)
            return design;
    }
    return QString();
}

void useStyle(DesignState &designs, const QString &wanted)
{
    // Changing the style repolishes every widget; it is done only when the style really changes.
    if (wanted.isEmpty() || designs.styleInForce.compare(wanted, Qt::CaseInsensitive) == 0)
        return;
    if (QApplication::setStyle(wanted))
        designs.styleInForce = wanted;
}

} // namespace

QStringList designNames()
{
    return {platformDesign,
            QStringLiteral("Aqua Light Slate"),
            QStringLiteral("Iceberg Classico"),
            QStringLiteral("Lavender Classico"),
            QStringLiteral("Sapphire Kamri"),
            QStringLiteral("Silver"),
            QStringLiteral("Sky"),
            QStringLiteral("Smokey Quartz Kamri"),
            QStringLiteral("Windows10"),
            QStringLiteral("Windows10 Clear Day"),
            QStringLiteral("Windows11 Impressive Light"),
            QStringLiteral("Windows11 Modern Light")};
}

bool applyDesign(const QString &name, QString *error)
{
    const QString design = canonicalName(name);
    if (design.isEmpty()) {
        if (error)
            *error = QStringLiteral("Designet \"%1\" findes ikke.").arg(name);
        return false;
    }

    QString sheet;
    if (design != platformDesign) {
        QFile file(sheetPath(design));
        if (!file.open(QIODevice::ReadOnly)) {
            if (error)
                *error = QStringLiteral("Designet \"%1\" kunne ikke indlæses.").arg(design);
            return false;
        }
        sheet = QString::fromUtf8(file.readAll());
    }

    DesignState &designs = state();
    if (!designs.started) {
        // Empty when someone else already put a sheet on the application: "Windows" then keeps the
        // style that is in force.
        designs.platformStyle = QApplication::style()->name();
        designs.styleInForce = designs.platformStyle;
        designs.started = true;
    }
    useStyle(designs, design == platformDesign ? designs.platformStyle : sheetStyle);
    // Setting a sheet repolishes every widget, even when it is the same sheet again.
    if (qApp->styleSheet() != sheet)
        qApp->setStyleSheet(sheet);
    designs.current = design;
    return true;
}

QString currentDesign()
{
    return state().current;
}

} // namespace Platform
