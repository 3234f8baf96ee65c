#include "platform/QtTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Platform {

void useDanishQtTexts()
{
    static QTranslator *translator = nullptr;
    if (translator)
        return;
    translator = new QTranslator(QCoreApplication::instance());
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Danish, QLocale::Denmark), QStringLiteral("qtbase"), QStringLiteral("_"),
                          folder)) {
        // The program still works, only Qt's own texts stay English.
        qWarning("kyxTavlo: Qt's Danish translation (qtbase_da.qm) is not in %s", qUtf8Printable(folder));
        return;
    }
    QCoreApplication::installTranslator(translator);
}

} // namespace Platform
