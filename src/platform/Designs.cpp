#include "platform/Designs.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QPalette>
#include <QRegularExpression>
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
    // The palette the application had before the first design: what "Windows" paints with.
    QPalette platformPalette;
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

// The declarations of a sheet's rules by selector ("QLineEdit:disabled"), a later rule adding to and
// overriding an earlier one as Qt reads them.
using SheetRules = QHash<QString, QHash<QString, QString>>;

SheetRules rulesOf(QString sheet)
{
    static const QRegularExpression comment(QStringLiteral("/\\*.*?\\*/"), QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression rule(QStringLiteral("([^{}]+)\\{([^{}]*)\\}"));
    sheet.remove(comment);
    SheetRules rules;
    auto found = rule.globalMatch(sheet);
    while (found.hasNext()) {
        const QRegularExpressionMatch match = found.next();
        const QStringList selectors = match.captured(1).split(QLatin1Char(','));
        for (const QString &declaration : match.captured(2).split(QLatin1Char(';'))) {
            const qsizetype colon = declaration.indexOf(QLatin1Char(':'));
            if (colon < 0)
                continue;
            for (const QString &selector : selectors)
                rules[selector.simplified()][declaration.left(colon).trimmed()] = declaration.mid(colon + 1).trimmed();
        }
    }
    return rules;
}

// The colour a value paints: the colour itself, or the even blend of a gradient's colours; invalid for
// "transparent" and the like.
QColor colourIn(const QString &value)
{
    static const QRegularExpression hex(QStringLiteral("#[0-9a-fA-F]{6}\\b"));
    float red = 0, green = 0, blue = 0;
    int count = 0;
    auto found = hex.globalMatch(value);
    while (found.hasNext()) {
        const QColor colour(found.next().captured());
        red += colour.redF();
        green += colour.greenF();
        blue += colour.blueF();
        ++count;
    }
    return count ? QColor::fromRgbF(red / count, green / count, blue / count) : QColor();
}

// The palette of a design's sheet, for what the sheet itself does not paint: the windows' colours,
// the text fields', the buttons' and the selection's, each also as the sheet shows them disabled.
QPalette sheetPalette(const QString &sheet)
{
    const SheetRules rules = rulesOf(sheet);
    const auto colour = [&rules](const QString &selector, const QString &property) {
        const QHash<QString, QString> rule = rules.value(selector);
        QColor found = colourIn(rule.value(property));
        if (!found.isValid() && property == QLatin1String("background-color"))
            found = colourIn(rule.value(QStringLiteral("background")));
        return found;
    };
    const QColor window = colour(QStringLiteral("QMainWindow"), QStringLiteral("background-color"));
    const QColor button = colour(QStringLiteral("QPushButton"), QStringLiteral("background-color"));
    QPalette palette(button.isValid() ? button : window, window);
    const auto set = [&palette](QPalette::ColorGroup group, QPalette::ColorRole role, const QColor &value) {
        if (value.isValid())
            palette.setColor(group, role, value);
    };
    const QString background = QStringLiteral("background-color");
    const QString text = QStringLiteral("color");
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        set(group, QPalette::Window, window);
        set(group, QPalette::WindowText, colour(QStringLiteral("QMainWindow"), text));
        set(group, QPalette::Base, colour(QStringLiteral("QLineEdit"), background));
        set(group, QPalette::Text, colour(QStringLiteral("QLineEdit"), text));
        set(group, QPalette::Button, button);
        set(group, QPalette::ButtonText, colour(QStringLiteral("QPushButton"), text));
        set(group, QPalette::Highlight, colour(QStringLiteral("QWidget"), QStringLiteral("selection-background-color")));
        set(group, QPalette::HighlightedText, colour(QStringLiteral("QWidget"), QStringLiteral("selection-color")));
        set(group, QPalette::AlternateBase,
            colour(QStringLiteral("QAbstractItemView"), QStringLiteral("alternate-background-color")));
        set(group, QPalette::ToolTipBase, colour(QStringLiteral("QToolTip"), background));
        set(group, QPalette::ToolTipText, colour(QStringLiteral("QToolTip"), text));
    }
    const QColor disabledText = colour(QStringLiteral("QWidget:disabled"), text);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        set(QPalette::Disabled, role, disabledText);
    set(QPalette::Disabled, QPalette::Base, colour(QStringLiteral("QLineEdit:disabled"), background));
    set(QPalette::Disabled, QPalette::Button, colour(QStringLiteral("QPushButton:disabled"), background));
    set(QPalette::Disabled, QPalette::ButtonText, colour(QStringLiteral("QPushButton:disabled"), text));
    return palette;
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
        // A rich document is written on white paper in every design, as it is printed: its own
        // colours (dark blue, say) chosen on white would not read on a dark design's background.
        sheet = QString::fromUtf8(file.readAll())
                + QStringLiteral("\nPlatform--RichTextArea { background-color: white; color: black; }\n");
    }

    DesignState &designs = state();
    if (!designs.started) {
        // Empty when someone else already put a sheet on the application: "Windows" then keeps the
        // style that is in force.
        designs.platformStyle = QApplication::style()->name();
        designs.styleInForce = designs.platformStyle;
        designs.platformPalette = QApplication::palette();
        designs.started = true;
    }
    useStyle(designs, design == platformDesign ? designs.platformStyle : sheetStyle);
    QApplication::setPalette(design == platformDesign ? designs.platformPalette : sheetPalette(sheet));
    suitIconTheme(QApplication::palette());
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
