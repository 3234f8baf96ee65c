#include "platform/Dialogs.h"

#include "platform/Seam.h"

#include "platform/Modal.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#ifdef Q_OS_WIN
#include <QPageSetupDialog>
#endif

namespace Platform {

QStringList nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

namespace {

class FileDialogs : public Dialogs {
public:
    QStringList openFiles(QWidget *parent, const QString &folder) override
    {
        QFileDialog dialog(parent, QString(), folder);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        if (showModal(dialog) != QDialog::Accepted)
            return {};
        QStringList files;
        for (const QString &name : dialog.selectedFiles())
            files << QDir::toNativeSeparators(name);
        return files;
    }

    QString saveFile(QWidget *parent, const SaveRequest &request) override
    {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        // The program's names already tell the patterns ("Alle filtyper (*.*)"): the dialog
        // shows them as they are instead of adding the patterns once more.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        const QStringList filters = nameFilters(request.filter);
        dialog.setNameFilters(filters);
        if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
            dialog.selectNameFilter(filters[request.filterIndex - 1]);
        QString suffix = request.defaultExtension;
        if (suffix.startsWith(QLatin1Char('.')))
            suffix.remove(0, 1);
        dialog.setDefaultSuffix(suffix);
        if (!request.folder.isEmpty())
            dialog.setDirectory(request.folder);
        dialog.selectFile(request.fileName);
        if (showModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    }

    QString folder(QWidget *parent, const QString &start) override
    {
        QFileDialog dialog(parent);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        dialog.setDirectory(start);
        if (showModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    }

    bool printerSetup(QWidget *parent, QPrinter &printer) override
    {
#ifdef Q_OS_WIN
        // Windows' own page set-up chooses the printer too, behind its "Printer..." button.
        QPageSetupDialog dialog(&printer, parent);
#else
        // Qt's print dialog is the one that chooses the printer, a PDF file among them; here it
        // only sets up, nothing is printed, so it says so. Pages and copies are the print box's.
        QPrintDialog dialog(&printer, parent);
        dialog.setOptions(QAbstractPrintDialog::PrintToFile);
        dialog.setWindowTitle(QStringLiteral("Printeropsætning"));
        if (auto *buttons = dialog.findChild<QDialogButtonBox *>())
            if (QPushButton *accept = buttons->button(QDialogButtonBox::Ok))
                accept->setText(QStringLiteral("Indstil"));
#endif
        return showModal(dialog) == QDialog::Accepted;
    }
};


} // namespace

Dialogs &dialogs()
{
    return Seam<Dialogs>::get<FileDialogs>();
}

void setDialogs(Dialogs *fake)
{
    Seam<Dialogs>::replace(fake);
}

} // namespace Platform
