#include "app/Startup.h"

#include "app/Action.h"
#include "app/Globals.h"
#include "app/Main.h"
#include "documents/Print.h"
#include "lists/OpenUnit.h"
#include "lists/favoritUnit.h"
#include "lists/filUnit.h"
#include "lists/mappefilUnit.h"
#include "opening/filtyper.h"
#include "options/boks.h"
#include "options/genvejUnit.h"
#include "options/infUnit.h"
#include "options/memoUnit.h"
#include "options/optUnit.h"
#include "options/spmUnit.h"
#include "platform/DataFolders.h"
#include "platform/Designs.h"
#include "platform/Modal.h"
#include "platform/QtTexts.h"
#include "search/filmappeUnit.h"
#include "search/findis.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

static void loadResources()
{
    // The resources live in a static library; they must be registered by hand.
    Q_INIT_RESOURCE(resources);
}

namespace {
template <typename Box>
void createBox(Box *&instance)
{
    instance = new Box(mainform);
    instance->FormCreate();
}
} // namespace

bool createProgram(const QStringList &args, const QString &startFolder)
{
    loadResources();
    Platform::useDanishQtTexts();
    Platform::useIconTheme();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kyxtavlo.svg")));
    // The installed desktop entry: desktops that find a window's name and icon through it (Wayland
    // task bars) show the program's own.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.kyxtavlo.kyxTavlo"));
    // The program starts in "Sky"; the options box puts on the user's own design a moment later.
    Platform::applyDesign(QStringLiteral("Sky"));
    mainform = new Tmainform(args, startFolder);
    if (!mainform->dataFoldersReady()) {
        QMessageBox message(QMessageBox::Critical, QStringLiteral("kyxTavlo"),
                            QStringLiteral("Programmets datamappe kunne ikke oprettes:\n") + mainform->OptMappe
                                + QStringLiteral("\n\nProgrammet kan ikke starte uden den."),
                            QMessageBox::Ok);
        Platform::showModal(message);
        delete mainform;
        mainform = nullptr;
        return false;
    }
    createBox(infform);
    createBox(spform);
    createBox(mappefilform);
    createBox(favoritform);
    createBox(printform);
    createBox(filform);
    createBox(openform);
    createBox(findformen);
    createBox(memoForm);
    createBox(boksform);
    createBox(filmappeform);
    createBox(typeform);
    createBox(optform);
    createBox(genvejsform);
    TAction::installIdleUpdates();
    return true;
}

void destroyProgram()
{
    // The boxes are children of the main window and go with it.
    delete mainform;
    mainform = nullptr;
    infform = nullptr;
    spform = nullptr;
    mappefilform = nullptr;
    favoritform = nullptr;
    printform = nullptr;
    filform = nullptr;
    openform = nullptr;
    findformen = nullptr;
    memoForm = nullptr;
    boksform = nullptr;
    filmappeform = nullptr;
    typeform = nullptr;
    optform = nullptr;
    genvejsform = nullptr;
}
