#include "app/Startup.h"

#include "app/Main.h"
#include "documents/DocumentRecovery.h"
#include "documents/Print.h"
#include "lists/favoritUnit.h"
#include "lists/filUnit.h"
#include "lists/mappefilUnit.h"
#include "lists/OpenUnit.h"
#include "opening/filtyper.h"
#include "options/boks.h"
#include "options/genvejUnit.h"
#include "options/memoUnit.h"
#include "options/optUnit.h"
#include "platform/DataFolders.h"
#include "platform/Designs.h"
#include "platform/Modal.h"
#include "platform/QtTexts.h"
#include "platform/SpellChecker.h"
#include "search/filmappeUnit.h"
#include "search/findis.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"
#include "widgets/infUnit.h"
#include "widgets/spmUnit.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

static void loadResources()
{
    // The resources live in a static library; they must be registered by hand.
    Q_INIT_RESOURCE(resources);
}

namespace {
// A box that tells the main window of what happens in it is followed from before its create
// step, which may already tell something.
template <typename Box>
void createBox(Box *&instance, void (Tmainform::*follow)(Box &) = nullptr)
{
    instance = new Box(mainform);
    if (follow)
        (mainform->*follow)(*instance);
    instance->FormCreate();
}
} // namespace

bool createProgram(const QStringList &args, const QString &startFolder)
{
    // The dictionary is read while the windows are made and the first documents opened.
    Platform::SpellChecker::shared().startLoading();
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
    startRecovery();
    createBox(infform);
    createBox(spform);
    createBox(mappefilform);
    createBox(favoritform);
    createBox(printform);
    createBox(filform, &Tmainform::followFileBox);
    createBox(openform);
    createBox(findformen, &Tmainform::followSearchBox);
    createBox(memoForm);
    createBox(boksform);
    createBox(filmappeform, &Tmainform::followFindBox);
    createBox(typeform);
    createBox(optform, &Tmainform::followOptions);
    createBox(genvejsform);
    TAction::installIdleUpdates();
    return true;
}

void destroyProgram()
{
    // The boxes are children of the main window and go with it.
    delete mainform;
    mainform = nullptr;
    // After the document windows, which leave their copies to it.
    endRecovery();
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
