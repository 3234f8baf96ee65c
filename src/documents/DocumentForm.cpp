#include "documents/DocumentForm.h"

#include "documents/DatoCompo.h"
#include "documents/DiskChanges.h"
#include "documents/DocumentRecovery.h"
#include "documents/FindReplace.h"
#include "lists/DirBox.h"
#include "lists/FavDirUnit.h"
#include "lists/filUnit.h"
#include "lists/mappefilUnit.h"
#include "opening/Funktioner.h"
#include "options/optUnit.h"
#include "platform/Browser.h"
#include "platform/DataFolders.h"
#include "platform/Dialogs.h"
#include "platform/RecoveryStore.h"
#include "platform/RichEdit.h"
#include "widgets/Action.h"
#include "widgets/Controls.h"
#include "widgets/Globals.h"
#include "widgets/Hints.h"
#include "widgets/infUnit.h"
#include "widgets/RadioGroup.h"
#include "widgets/spmUnit.h"

#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

bool isWordCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'-' || (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')
        || u == u'Æ' || u == u'Ø' || u == u'Å' || u == u'æ' || u == u'ø' || u == u'å';
}

// A line count still being taken is the count of the text's lines, marked as not the last word.
QString linesText(int lines, bool known)
{
    return QString::number(lines) + (known ? QString() : QStringLiteral(" …"));
}

} // namespace

TDocumentForm::TDocumentForm(Platform::RichEdit *editor, const DocumentOpening &opening)
    : Editor(editor)
    , m_opening(opening)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Dokument"));
    auto *body = new QWidget(this);
    auto *column = new QVBoxLayout(body);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    buildActions();
    redskabsPanel = new QWidget(this);
    redskabsPanel->setObjectName(QStringLiteral("redskabsPanel"));
    fontsizeBox = new QComboBox(redskabsPanel);
    fontsizeBox->setObjectName(QStringLiteral("fontsizeBox"));
    fontsizeBox->setAccessibleName(QStringLiteral("Størrelse"));
    puButton = new QToolButton(redskabsPanel);
    puButton->setObjectName(QStringLiteral("puButton"));
    puButton->setText(QStringLiteral("Skift popup"));
    setHint(puButton, QStringLiteral("Skift popup-menu"));
    connect(puButton, &QToolButton::clicked, this, &TDocumentForm::puButtonClick);
    dropDownPU = new QMenu(this);
    dropDownPU->setObjectName(QStringLiteral("dropDownPU"));
    column->addWidget(redskabsPanel);
    buildLoadingRow(column);
    Editor->setParent(this);
    Editor->widget()->setParent(body);
    Editor->widget()->setObjectName(QStringLiteral("Editor"));
    Editor->widget()->setAccessibleName(QStringLiteral("Editor"));
    column->addWidget(Editor->widget(), 1);
    // Whatever brings the window forward, typing goes into the text.
    body->setFocusProxy(Editor->widget());
    setWidget(body);
    Editor->widget()->installEventFilter(this);
    Editor->widget()->viewport()->installEventFilter(this);
    m_disk = new DiskChanges(*Editor, this);
    connect(m_disk, &DiskChanges::documentChanged, this, [this] {
        showLoadingRow();
        reportModified();
        XYinfo();
    });
    connect(Editor, &Platform::RichEdit::loadProgress, m_loadingBar, &QProgressBar::setValue);
    connect(Editor, &Platform::RichEdit::loaded, this, &TDocumentForm::loadingDone);
    connect(Editor, &Platform::RichEdit::displayedLinesCounted, this, [this] {
        XYinfo();
        emit informationChanged();
    });
}

void TDocumentForm::buildLoadingRow(QVBoxLayout *column)
{
    m_loadingRow = new QWidget(this);
    m_loadingRow->setObjectName(QStringLiteral("henterPanel"));
    auto *row = new QHBoxLayout(m_loadingRow);
    row->setContentsMargins(8, 4, 8, 4);
    auto *label = new QLabel(QStringLiteral("Henter …"), m_loadingRow);
    label->setObjectName(QStringLiteral("henterLabel"));
    row->addWidget(label);
    m_loadingBar = new QProgressBar(m_loadingRow);
    m_loadingBar->setObjectName(QStringLiteral("henterBar"));
    m_loadingBar->setAccessibleName(QStringLiteral("Henter"));
    m_loadingBar->setRange(0, 100);
    m_loadingBar->setValue(0);
    row->addWidget(m_loadingBar, 1);
    m_loadingRow->hide();
    column->addWidget(m_loadingRow);
}

void TDocumentForm::showLoadingRow()
{
    if (!Editor->isLoading())
        return;
    m_loadingBar->setValue(0);
    m_loadingRow->show();
}

bool TDocumentForm::isLoading() const
{
    return Editor->isLoading();
}

void TDocumentForm::loadingDone()
{
    m_loadingRow->hide();
    reportModified();
    XYinfo();
    emit loaded();
    emit informationChanged();
}

TDocumentForm::~TDocumentForm() = default;

TAction *TDocumentForm::newAction(const char *name, const QString &caption, const QString &hint, const char *keys)
{
    // The window's own commands answer their keys only while the window is the active one.
    auto *action = new TAction(this, QString::fromLatin1(name), caption, hint,
                               keys ? QKeySequence(QString::fromLatin1(keys)) : QKeySequence(),
                               Qt::WidgetWithChildrenShortcut);
    addAction(action);
    return action;
}

void TDocumentForm::buildActions()
{
    EditCut1 = newAction("EditCut1", QStringLiteral("Klip"), QStringLiteral("Klip valgte tekst til klipbordet: Ctrl+X"), "Ctrl+X");
    EditCopy1 = newAction("EditCopy1", QStringLiteral("Kopier"), QStringLiteral("Kopier valgte område til klipbordet: Ctrl+C"), "Ctrl+C");
    EditPaste1 = newAction("EditPaste1", QStringLiteral("Indsæt"), QStringLiteral("Indsæt tekstindhold fra klipbordet: Ctrl+V"), "Ctrl+V");
    EditSelectAll1 = newAction("EditSelectAll1", QStringLiteral("Vælg alt"), QStringLiteral("Vælg hele dokumentet: Ctrl+A"), "Ctrl+A");
    EditUndo1 = newAction("EditUndo1", QStringLiteral("Annuller"), QStringLiteral("Annuller sidste aktion: Ctrl+Z og Ctrl+Y"), "Ctrl+Z");
    EditDelete1 = newAction("EditDelete1", QStringLiteral("Slet"), QStringLiteral("Slet valgte tekst: Del"), "Del");
    aStavekontrol = newAction("aStavekontrol", QStringLiteral("Udfør"), QStringLiteral("Udfør stavekontrol på hele dokumentet"), nullptr);
    googleUrl = newAction("googleUrl", QStringLiteral("Google"), QStringLiteral("Søg med Google: Ctrl+Shift+G"), "Ctrl+Shift+G");
    bingUrl = newAction("bingUrl", QStringLiteral("Bing"), QStringLiteral("Søg med Microsoft Bing: Ctrl+Shift+B"), "Ctrl+Shift+B");
    tubeUrl = newAction("tubeUrl", QStringLiteral("Søg på YouTube"), QStringLiteral("Søg med YouTube: Ctrl+Shift+T"), "Ctrl+Shift+T");

    // While a file loads the text area takes no typing; these would change the text around it.
    EditCut1->setUpdateRule([this] { return Editor->hasSelection() && !isLoading(); });
    EditCopy1->setUpdateRule([this] { return Editor->hasSelection(); });
    EditDelete1->setUpdateRule([this] { return Editor->hasSelection() && !isLoading(); });
    EditPaste1->setUpdateRule([this] { return Editor->canPaste() && !isLoading(); });
    EditUndo1->setUpdateRule([this] { return Editor->canUndo() && !isLoading(); });
    aStavekontrol->setUpdateRule([this] { return Editor->contextMenu() == nullptr; });

    connect(EditCut1, &QAction::triggered, this, [this] { Editor->cut(); });
    connect(EditCopy1, &QAction::triggered, this, [this] { Editor->copy(); });
    connect(EditPaste1, &QAction::triggered, this, [this] { Editor->paste(); });
    connect(EditSelectAll1, &QAction::triggered, this, [this] { Editor->selectAll(); });
    connect(EditUndo1, &QAction::triggered, this, [this] { Editor->undo(); });
    connect(EditDelete1, &QAction::triggered, this, [this] { Editor->deleteSelection(); });
    connect(aStavekontrol, &QAction::triggered, this, [this] { aStavekontrolExecute(); });
    connect(googleUrl, &QAction::triggered, this,
            [this] { webSearch(QStringLiteral("www.google.com"), QStringLiteral("/search"), QStringLiteral("q")); });
    connect(bingUrl, &QAction::triggered, this,
            [this] { webSearch(QStringLiteral("www.bing.com"), QStringLiteral("/search"), QStringLiteral("q")); });
    connect(tubeUrl, &QAction::triggered, this, [this] {
        webSearch(QStringLiteral("www.youtube.com"), QStringLiteral("/results"), QStringLiteral("search_query"));
    });
}

void TDocumentForm::leaveOwnKeysToOwnCommands()
{
    // Qt's system menu of a sub-window closes it on the desktop's close keys (Ctrl+F4, and Ctrl+W
    // on most desktops). A key on which the program has a command of its own, in this window or
    // in the frame that holds it, is left to that command: with two commands on one key, Qt runs
    // neither.
    const QList<QAction *> systemActions = systemMenu()->actions();
    QList<QKeySequence> own;
    for (const QWidget *holder : {static_cast<QWidget *>(this), window()})
        for (const QAction *action : holder->actions())
            if (!systemActions.contains(action))
                own << action->shortcuts();
    for (QAction *action : systemActions) {
        QList<QKeySequence> keys = action->shortcuts();
        keys.removeIf([&own](const QKeySequence &key) { return own.contains(key); });
        action->setShortcuts(keys);
    }
}

QToolButton *TDocumentForm::actionButton(QAction *action)
{
    return actionTextButton(redskabsPanel, action);
}

void TDocumentForm::FormCreate()
{
    opstart = true;

    for (auto [own, options] : {std::pair{m_fontNames, optform->fontnameBox}, std::pair{fontsizeBox, optform->fontsizeBox}}) {
        own->clear();
        for (int i = 0; i < options->count(); ++i)
            own->addItem(options->itemText(i));
        own->setMaxVisibleItems(qMax(1, own->count()));
        own->setCurrentIndex(options->currentIndex());
    }
    Editor->setInnerMargins(optform->marginCheck->isChecked() ? 70 : 8);
    m_toolPanelWanted = optform->redCheck->isChecked();
    placeToolPanel();
    Editor->setDefaultFont(m_fontNames->currentText(), fontsizeBox->currentText().toInt());
    Filnavn = m_opening.fileName;
    Ext = m_opening.extension;
    setPopupState(optform->popupBox->itemIndex() != 1);

    const Platform::RecoveredCopy *recovered = m_opening.recovered;
    if (recovered || Platform::fileExists(Filnavn)) {
        QString error;
        const bool read = recovered ? Editor->restoreCopy(*recovered, &error) : Editor->startLoading(Filnavn, &error);
        if (!read) {
            m_openFailed = true;
            showInfo(QStringLiteral("Dokumentet kunne ikke åbnes:\r") + (recovered ? recovered->textFile : Filnavn)
                    + QLatin1Char('\r') + error);
            return;
        }
        capNavn = recovered ? recovered->entry.caption : QFileInfo(Filnavn).fileName();
        if (Platform::fileExists(Filnavn))
            filform->FavFiler2->InsertItem(Filnavn, capNavn, 2);
        if (recovered)
            m_disk->trackRestored(Filnavn, recovered->entry);
        else
            m_disk->track(Filnavn);
    } else {
        capNavn = QString::number(m_opening.number) + QStringLiteral(". Dokument");
    }
    setWindowTitle(capNavn);
    showLoadingRow();
    // A restored text is what was never saved.
    Editor->setModified(recovered != nullptr);
    connect(Editor, &Platform::RichEdit::textChanged, this, &TDocumentForm::reportModified);
    new TRecoveryCopy(*this, recovered);
}

Platform::FileStamp TDocumentForm::readStamp() const
{
    return m_disk->readStamp();
}

QString TDocumentForm::openingNote() const
{
    return Editor->hasLongLines() ? m_longLinesText : QString();
}

void TDocumentForm::FormActivate()
{
    const bool first = opstart;
    if (first) {
        opstart = false;
        // Maximised before anything is measured, so that the line counts shown are those of the
        // width the user sees.
        showMaximized();
        leaveOwnKeysToOwnCommands();
        // With hints going to the status line, the window's own controls show no tooltips.
        m_showHints = optform->hintBox->itemIndex() != 0;
        for (QWidget *control : redskabsPanel->findChildren<QWidget *>())
            control->installEventFilter(this);
    }
    reportModified();
    m_disk->checkSoon();
    if (Platform::fileExists(Filnavn))
        mappefilform->dirBox->setDirectory(QFileInfo(Filnavn).absolutePath());
    emit activated(first);
    XYinfo();
}

void TDocumentForm::reportModified()
{
    emit modifiedChanged(Editor->isModified());
}

void TDocumentForm::XYinfo()
{
    LinieAntal = Editor->displayedLineCount();
    m_linesKnown = Editor->displayedLinesKnown();
    const QPoint caret = Editor->caretPosition();
    posY = caret.y();
    posX = caret.x();
    showCaretPosition();
}

bool TDocumentForm::eventFilter(QObject *watched, QEvent *event)
{
    const bool inTextArea = watched == Editor->widget() || watched == Editor->widget()->viewport();
    if (!inTextArea)
        return event->type() == QEvent::ToolTip && !m_showHints;
    switch (event->type()) {
    case QEvent::KeyRelease:
        XYinfo();
        break;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            musNede = true;
        break;
    case QEvent::MouseButtonRelease:
        musNede = false;
        XYinfo();
        break;
    case QEvent::MouseMove:
        if (musNede)
            XYinfo();
        break;
    default:
        break;
    }
    return false;
}

QString TDocumentForm::lineCountText() const
{
    return linesText(LinieAntal, m_linesKnown);
}

FileInformation TDocumentForm::filInformation()
{
    const QString chars = QString::number(Editor->textLength());
    FileInformation information;
    const int lines = Editor->displayedLineCount();
    information.lines = QStringLiteral("Antal linjer: ") + linesText(lines, Editor->displayedLinesKnown());
    if (Filnavn.isEmpty()) {
        information.name = m_noNameText;
        information.size = QStringLiteral("Antal tegn: ") + chars;
        information.state = QStringLiteral("Dokumentet er ikke gem.");
    } else if (Platform::fileExists(Filnavn)) {
        information.name = QFileInfo(Filnavn).fileName();
        information.size = QStringLiteral("Filstørrelse: ") + TFunktioner::getFileSizeString(Filnavn)
                           + QStringLiteral(" (") + chars + QStringLiteral(" tegn)");
        information.state = Editor->isModified() ? QStringLiteral("Dokumentet er ikke gemt")
                                                 : QStringLiteral("Dokumentet er gemt");
    } else {
        information.name = QFileInfo(Filnavn).fileName();
        information.size = QStringLiteral("Antal tegn: ") + chars;
        information.state = QStringLiteral("Dokumentet eksisterer ikke. Muligvis slettet eller omdøbt.");
        Editor->setModified(true);
        reportModified();
    }
    return information;
}

bool TDocumentForm::Gem()
{
    if (Platform::fileExists(Filnavn)) {
        if (m_disk->changedSinceRead()
            && !ask(QStringLiteral("Filen er ændret af et andet program, siden den blev hentet.\rSkal den overskrives?")))
            return false;
        write();
        return !Editor->isModified();
    }
    if (Filnavn.isEmpty())
        return GemSom();
    if (ask(QStringLiteral("Skal dokumentet gemmes med følgende filnavn:\r") + QFileInfo(Filnavn).fileName()
            + QLatin1Char('?'))) {
        write();
        return !Editor->isModified();
    }
    Filnavn.clear();
    return GemSom();
}

void TDocumentForm::write()
{
    QString error;
    if (!Editor->saveToFile(Filnavn, &error)) {
        showInfo(QStringLiteral("Dokumentet blev ikke gemt:\r") + Filnavn + QLatin1Char('\r') + error);
        return;
    }
    m_disk->track(Filnavn);
    Editor->setModified(false);
    reportModified();
}

bool TDocumentForm::GemSom()
{
    Platform::SaveRequest request;
    request.filter = QStringLiteral("Tekstdokument (.txt)|*.txt|Rich Tekstdokument (.rtf)|*.rtf|Alle filtyper (*.*)|*.*");
    request.filterIndex = m_saveFilterIndex;
    request.defaultExtension = m_defaultExtension;
    if (Platform::fileExists(Filnavn)) {
        const QFileInfo info(Filnavn);
        request.folder = QDir::toNativeSeparators(info.absolutePath());
        request.fileName = info.fileName();
    } else {
        request.fileName = QStringLiteral("UdenNavn");
    }
    const QString chosen = Platform::dialogs().saveFile(window(), request);
    if (chosen.isEmpty())
        return false;
    if (QFileInfo::exists(chosen)
        && !ask(QStringLiteral("Der eksisterer allerede en fil med indførte navn.\rSkal filen overskrives?")))
        return false;
    const QString oldCaption = capNavn;
    Filnavn = chosen;
    Ext = TFunktioner::fileExtension(chosen);
    capNavn = QFileInfo(chosen).fileName();
    setWindowTitle(capNavn);
    emit renamed(oldCaption);
    write();
    filform->FavFiler2->InsertItem(Filnavn, capNavn, 2);
    filform->ListeForandret2 = true;
    return !Editor->isModified();
}

void TDocumentForm::showRedskabsPanel()
{
    m_toolPanelWanted = !m_toolPanelWanted;
    placeToolPanel();
}

void TDocumentForm::placeToolPanel()
{
    // Tiled among many, a window would show its tool rows garbled and hardly a line of text.
    constexpr int kNarrowest = 420;
    constexpr int kTextLines = 5;
    const bool room = width() >= kNarrowest
                      && height() >= redskabsPanel->height() + kTextLines * Editor->widget()->fontMetrics().lineSpacing();
    redskabsPanel->setVisible(m_toolPanelWanted && room);
}

void TDocumentForm::resizeEvent(QResizeEvent *event)
{
    QMdiSubWindow::resizeEvent(event);
    placeToolPanel();
}

bool TDocumentForm::FormCloseQuery()
{
    if (!Editor->isModified())
        return true;
    // The user sees the document the question is about, also when several are closed at once.
    emit attentionWanted();
    switch (askOrCancel(QStringLiteral("Dokumentet: ") + capNavn + QStringLiteral("\rer modificeret.\rSkal det gemmes?"))) {
    case Answer::Yes:
        return Gem(); // a cancelled or failed save keeps the window: closing now would lose the text
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    // The box closed without an answer takes the close back, as a cancelled save dialog does.
    return false;
}

void TDocumentForm::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    QMdiSubWindow::closeEvent(event);
    emit closed();
}

void TDocumentForm::FormClose()
{
    if (Platform::fileExists(Filnavn)) {
        filform->FavFiler1->InsertItem(Filnavn, capNavn, 1);
        filform->FavFiler2->DeleteItem(Filnavn);
        filform->ListeForandret1 = true;
        filform->ListeForandret2 = true;
    }
    emit closing();
}

QString TDocumentForm::FindTekst() const
{
    if (Editor->hasSelection()) {
        QString selected = Editor->selectedText();
        if (selected.endsWith(QLatin1Char(' ')))
            selected.chop(1);
        return selected;
    }
    int caret = 0;
    const QString line = Editor->caretBlockText(&caret);
    int start = caret;
    while (start > 0 && isWordCharacter(line[start - 1]))
        --start;
    int end = caret;
    while (end < line.size() && isWordCharacter(line[end]))
        ++end;
    return line.mid(start, end - start);
}

QString TDocumentForm::getTheWord() const
{
    const QString word = FindTekst();
    return word.isEmpty() ? QStringLiteral("Der mangler et søgeord") : word;
}

void TDocumentForm::webSearch(const QString &host, const QString &path, const QString &key) const
{
    openInBrowser(Platform::searchAddress(host, path, key, getTheWord()));
}

void TDocumentForm::puButtonClick()
{
    setPopupState(Editor->contextMenu() != m_windowMenu);
}

void TDocumentForm::setPopupState(bool ownMenu)
{
    // The caption names the menu that the next click brings.
    const QString next = ownMenu ? QStringLiteral("Stavekontrol") : QStringLiteral("Funktioner");
    Editor->setContextMenu(ownMenu ? m_windowMenu : nullptr);
    puButton->setText(next);
    puButton->setAccessibleName(next);
    // Both captions take the room of the wider one, so that the controls beside the button stay
    // where they are.
    const QFontMetrics metrics = puButton->fontMetrics();
    const int widest = qMax(metrics.horizontalAdvance(QStringLiteral("Stavekontrol")),
                            metrics.horizontalAdvance(QStringLiteral("Funktioner")));
    puButton->setMinimumWidth(puButton->sizeHint().width() - metrics.horizontalAdvance(next) + widest);
    setHint(puButton, QStringLiteral("Skift popup-menu til \"") + next + QLatin1Char('"'));
}

int TDocumentForm::FindOrd(const SearchSettings &settings)
{
    return search(settings, false);
}

int TDocumentForm::ErstatTekst(const SearchSettings &settings)
{
    return search(settings, true);
}

int TDocumentForm::search(const SearchSettings &settings, bool replacing)
{
    const int count = searchText(*Editor, settings, replacing);
    // A run that ends on a search finding nothing shows where the caret is; a single step forward
    // leaves the caret fields as they were.
    if (settings.all || (!settings.forward && count == 0))
        XYinfo();
    return count;
}
