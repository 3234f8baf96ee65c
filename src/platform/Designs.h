#pragma once

#include <QString>
#include <QStringList>

// The program's visual designs. "Windows" is the platform's own look; every other design is a style
// sheet carried in the resources (":/designs/<name with _ for spaces>.qss") and drawn on the Fusion
// style, so that a design looks the same on every platform.
namespace Platform {

// "Windows" first, then the carried designs in alphabetical order.
QStringList designNames();

// Applies the design to the whole application at once. The name is matched without regard to case.
// An unknown name, or a design whose sheet cannot be read, leaves the current design as it is and
// gives false with a Danish message in *error.
bool applyDesign(const QString &name, QString *error = nullptr);

// The name of the design in force, as designNames() spells it; "Windows" until another is applied.
QString currentDesign();

} // namespace Platform
