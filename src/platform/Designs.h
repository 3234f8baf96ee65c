#pragma once

#include <QColor>
#include <QIcon>
#include <QPalette>
#include <QString>
#include <QStringList>

// The program's visual designs. "Windows" is the platform's own look; every other design is a style
// sheet carried in the resources (":/designs/<name with _ for spaces>.qss") and drawn on the Fusion
// style, so that a design looks the same on every platform.
namespace Platform {

// Where the program's freedesktop icon names are found: the desktop's icon theme, or Breeze where
// the desktop names none; the system's icon folders are searched also where the platform does not
// name them (a session without a desktop).
void useIconTheme();
// Dark designs take the light-on-dark variant of the icon theme: the icons Qt's own dialogs draw
// (the file dialogs' back, up and view buttons, folders) are then visible on them.
void suitIconTheme(const QPalette &palette);

// An icon of the icon theme drawn for the design in force: an icon that would not stand out from the
// design's windows is drawn in the design's text colour when it has one colour (a dark theme icon on
// a dark design) and moved towards that colour when it has several; a disabled icon is drawn faded
// and grey, so it is told from an enabled one at a glance. The fallback is used where the theme has
// no icon of that name.
QIcon designIcon(const QString &name, const QIcon &fallback = QIcon());

// The contrast ratio of two colours as WCAG 2 defines it: 1 for equal luminance, 21 for black on
// white. Icons are recoloured by it, and what a design shows is measured by it.
double contrastRatio(QColor a, QColor b);

// "Windows" first, then the carried designs in alphabetical order.
QStringList designNames();

// Applies the design to the whole application at once: its sheet, and a palette of the sheet's own
// colours for whatever the sheet does not paint (pages, scroll areas, the system's dialogs), so a
// dark design is dark everywhere. The name is matched without regard to case.
// An unknown name, or a design whose sheet cannot be read, leaves the current design as it is and
// gives false with a Danish message in *error.
bool applyDesign(const QString &name, QString *error = nullptr);

// The name of the design in force, as designNames() spells it; "Windows" until another is applied.
QString currentDesign();

} // namespace Platform
