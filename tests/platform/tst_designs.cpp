#include "platform/Designs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>
#include <memory>

// The resources live in the static library; registering them must happen outside any namespace.
static void registerResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

// What Qt says about style sheets it cannot read or apply while a design is in force.
QStringList styleWarnings;
QtMessageHandler previousHandler = nullptr;

void recordStyleWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    static const QRegularExpression aboutStyles(
        QStringLiteral("style ?sheet|could not parse|qcss|unknown property|property|pixmap|image"),
        QRegularExpression::CaseInsensitiveOption);
    if (type != QtDebugMsg && type != QtInfoMsg && aboutStyles.match(message).hasMatch())
        styleWarnings << message;
    if (previousHandler)
        previousHandler(type, context, message);
}

QString sheetFile(const QString &design)
{
    return QStringLiteral(":/designs/") + QString(design).replace(QLatin1Char(' '), QLatin1Char('_'))
        + QStringLiteral(".qss");
}

QString readSheet(const QString &design)
{
    QFile file(sheetFile(design));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// ---- Contrast, as WCAG 2 computes it ---------------------------------------------------------------

double luminance(const QColor &colour)
{
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colours a brush paints with: every stop of a gradient; nothing when it paints nothing.
QList<QColor> coloursOf(const QBrush &brush)
{
    QList<QColor> colours;
    if (const QGradient *gradient = brush.gradient()) {
        for (const QGradientStop &stop : gradient->stops())
            colours << stop.second;
    } else if (brush.style() != Qt::NoBrush && brush.color().alpha() == 255) {
        colours << brush.color();
    }
    return colours;
}

// What a widget's text stands on: its own background where it paints one, else the nearest parent
// that paints its background.
QList<QColor> backgroundOf(const QWidget *widget, QPalette::ColorGroup group)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const bool paints = w->isWindow() || w->autoFillBackground() || w->testAttribute(Qt::WA_StyledBackground)
            || (w == widget && w->backgroundRole() != QPalette::Window);
        if (!paints)
            continue;
        const QList<QColor> colours = coloursOf(w->palette().brush(group, w == widget ? w->backgroundRole()
                                                                                         : QPalette::Window));
        if (!colours.isEmpty())
            return colours;
    }
    return {};
}

double worstContrast(const QColor &text, const QList<QColor> &background)
{
    double worst = 21.0;
    for (const QColor &colour : background)
        worst = std::min(worst, contrast(text, colour));
    return worst;
}

// ---- Reading a style sheet ------------------------------------------------------------------------

using Declarations = QMap<QString, QString>;

struct Sheet {
    QMap<QString, Declarations> rules; // selector -> its properties, later ones winning
    QStringList selectors;             // in the order they first appear
};

Sheet parseSheet(QString text)
{
    static const QRegularExpression comment(QStringLiteral("/\\*.*?\\*/"),
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression block(QStringLiteral("([^{}]+)\\{([^{}]*)\\}"));
    text.remove(comment);
    Sheet sheet;
    auto blocks = block.globalMatch(text);
    while (blocks.hasNext()) {
        const QRegularExpressionMatch match = blocks.next();
        Declarations declarations;
        for (const QString &declaration : match.captured(2).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const qsizetype colon = declaration.indexOf(QLatin1Char(':'));
            if (colon < 0) {
                if (!declaration.trimmed().isEmpty())
                    declarations.insert(declaration.trimmed(), QString());
                continue;
            }
            declarations.insert(declaration.left(colon).trimmed(), declaration.mid(colon + 1).simplified());
        }
        for (const QString &selector : match.captured(1).split(QLatin1Char(','))) {
            const QString name = selector.simplified();
            if (!sheet.rules.contains(name))
                sheet.selectors << name;
            Declarations &rule = sheet.rules[name];
            for (auto it = declarations.cbegin(); it != declarations.cend(); ++it)
                rule.insert(it.key(), it.value());
        }
    }
    return sheet;
}

// Colours named in a value: one for a plain colour, every stop of a gradient; none for
// "transparent" or "none".
QList<QColor> coloursIn(const QString &value)
{
    static const QRegularExpression hex(QStringLiteral("#[0-9a-fA-F]{6}\\b"));
    QList<QColor> colours;
    auto found = hex.globalMatch(value);
    while (found.hasNext())
        colours << QColor(found.next().captured());
    return colours;
}

QList<QColor> backgroundIn(const Declarations &rule)
{
    for (const QString &property : {QStringLiteral("background-color"), QStringLiteral("background")}) {
        if (rule.contains(property))
            return coloursIn(rule.value(property));
    }
    return {};
}

// The selector a state or part falls back to: "QMenu::item:disabled" -> "QMenu::item" -> "QMenu".
QString broaderSelector(const QString &selector)
{
    const qsizetype part = selector.indexOf(QStringLiteral("::"));
    const qsizetype state = selector.lastIndexOf(QLatin1Char(':'));
    if (state > 0 && selector.at(state - 1) != QLatin1Char(':') && (part < 0 || state > part + 1))
        return selector.left(state);
    if (part > 0)
        return selector.left(part);
    return QString();
}

// The parts of a control that carry text; borders, handles, indicators and arrows do not.
bool carriesText(const QString &selector)
{
    static const QRegularExpression part(QStringLiteral("::([a-z-]+)"));
    const QRegularExpressionMatch match = part.match(selector);
    if (!match.hasMatch())
        return true;
    static const QStringList withText{QStringLiteral("item"), QStringLiteral("tab"), QStringLiteral("section"),
                                      QStringLiteral("title"), QStringLiteral("chunk"), QStringLiteral("pane")};
    return withText.contains(match.captured(1));
}

// ---- A window with one of every kind of control the program shows ----------------------------------

struct Sampler {
    std::unique_ptr<QMainWindow> window;
    std::unique_ptr<QDialog> dialog;
    QMenu *menu = nullptr;
    QComboBox *combo = nullptr;
    QPushButton *plainButton = nullptr;
    QMdiSubWindow *document = nullptr;
    QList<QWidget *> textControls; // whose text must read well on what it stands on
    QList<QWidget *> selectable;   // whose selected text must read well on the selection
};

Sampler buildSampler()
{
    Sampler s;
    s.window = std::make_unique<QMainWindow>();
    QMainWindow *window = s.window.get();
    window->resize(900, 640);

    s.menu = window->menuBar()->addMenu(QStringLiteral("&Filer"));
    s.menu->addAction(QStringLiteral("Åben..."));
    QAction *checked = s.menu->addAction(QStringLiteral("Dokument 1"));
    checked->setCheckable(true);
    checked->setChecked(true);
    s.menu->addSeparator();
    s.menu->addAction(QStringLiteral("Gem"))->setEnabled(false);
    s.menu->addMenu(QStringLiteral("Seneste"))->addAction(QStringLiteral("brev.txt"));
    window->menuBar()->addMenu(QStringLiteral("&Vindue"));

    auto *splitter = new QSplitter(window);
    window->setCentralWidget(splitter);

    auto *left = new QWidget(splitter);
    auto *column = new QVBoxLayout(left);
    auto *tools = new QHBoxLayout;
    auto *tool = new QToolButton(left);
    tool->setText(QStringLiteral("Værktøj"));
    auto *offTool = new QToolButton(left);
    offTool->setText(QStringLiteral("Slukket"));
    offTool->setEnabled(false);
    tools->addWidget(tool);
    tools->addWidget(offTool);
    column->addLayout(tools);

    s.plainButton = new QPushButton(QStringLiteral("Knap"), left);
    auto *defaultButton = new QPushButton(QStringLiteral("OK"), left);
    defaultButton->setDefault(true);
    auto *offButton = new QPushButton(QStringLiteral("Slukket"), left);
    offButton->setEnabled(false);
    column->addWidget(s.plainButton);
    column->addWidget(defaultButton);
    column->addWidget(offButton);

    auto *group = new QGroupBox(QStringLiteral("Indstillinger"), left);
    auto *groupColumn = new QVBoxLayout(group);
    auto *check = new QCheckBox(QStringLiteral("Vis linjenumre"), group);
    check->setChecked(true);
    auto *offCheck = new QCheckBox(QStringLiteral("Slukket"), group);
    offCheck->setChecked(true);
    offCheck->setEnabled(false);
    auto *radio = new QRadioButton(QStringLiteral("Tekst"), group);
    radio->setChecked(true);
    auto *otherRadio = new QRadioButton(QStringLiteral("RTF"), group);
    groupColumn->addWidget(check);
    groupColumn->addWidget(offCheck);
    groupColumn->addWidget(radio);
    groupColumn->addWidget(otherRadio);
    column->addWidget(group);

    s.combo = new QComboBox(left);
    s.combo->addItems({QStringLiteral("Sky"), QStringLiteral("Silver"), QStringLiteral("Windows")});
    auto *offCombo = new QComboBox(left);
    offCombo->addItem(QStringLiteral("Slukket"));
    offCombo->setEnabled(false);
    auto *edit = new QLineEdit(QStringLiteral("brev.txt"), left);
    auto *readOnly = new QLineEdit(QStringLiteral("C:\\Dokumenter\\brev.txt"), left);
    readOnly->setReadOnly(true);
    auto *empty = new QLineEdit(left);
    empty->setPlaceholderText(QStringLiteral("Vælg et element i listen"));
    auto *offEdit = new QLineEdit(QStringLiteral("Slukket"), left);
    offEdit->setEnabled(false);
    auto *spin = new QSpinBox(left);
    spin->setValue(120);
    spin->setMaximum(999);
    auto *label = new QLabel(QStringLiteral("Filstørrelse 12 kB"), left);
    auto *progress = new QProgressBar(left);
    progress->setValue(40);
    for (QWidget *w : std::initializer_list<QWidget *>{s.combo, offCombo, edit, readOnly, empty, offEdit, spin,
                                                       label, progress})
        column->addWidget(w);
    column->addStretch();

    auto *right = new QSplitter(Qt::Vertical, splitter);
    auto *tabs = new QTabWidget(right);
    auto *plain = new QPlainTextEdit(tabs);
    QStringList lines;
    for (int i = 1; i <= 80; ++i)
        lines << QStringLiteral("Linje %1: blåbærgrød med fløde og en meget lang hale af ord, der ikke kan være på "
                                "én linje i et smalt vindue")
                     .arg(i);
    plain->setPlainText(lines.join(QLatin1Char('\n')));
    plain->setLineWrapMode(QPlainTextEdit::NoWrap);
    plain->selectAll();
    tabs->addTab(plain, QStringLiteral("Tekst"));
    auto *rich = new QTextEdit(tabs);
    rich->setHtml(QStringLiteral("<p>Kære <b>Ane</b>, tak for brevet.</p>"));
    tabs->addTab(rich, QStringLiteral("RTF"));
    auto *list = new QListWidget(tabs);
    list->addItems({QStringLiteral("brev.txt"), QStringLiteral("noter.rtf"), QStringLiteral("liste.txt")});
    list->setCurrentRow(1);
    tabs->addTab(list, QStringLiteral("Liste"));
    auto *tree = new QTreeWidget(tabs);
    tree->setHeaderLabels({QStringLiteral("Mappe"), QStringLiteral("Filer")});
    auto *top = new QTreeWidgetItem(tree, {QStringLiteral("Dokumenter"), QStringLiteral("3")});
    new QTreeWidgetItem(top, {QStringLiteral("Breve"), QStringLiteral("2")});
    top->setExpanded(true);
    tabs->addTab(tree, QStringLiteral("Træ"));
    auto *table = new QTableWidget(3, 2, tabs);
    table->setHorizontalHeaderLabels({QStringLiteral("Genvej"), QStringLiteral("Tekst")});
    table->setItem(0, 0, new QTableWidgetItem(QStringLiteral("Ctrl+1")));
    table->setItem(0, 1, new QTableWidgetItem(QStringLiteral("Med venlig hilsen")));
    tabs->addTab(table, QStringLiteral("Tabel"));
    tabs->setTabEnabled(4, false);

    auto *documents = new QWidget(right);
    auto *documentColumn = new QVBoxLayout(documents);
    documentColumn->setContentsMargins(0, 0, 0, 0);
    documentColumn->setSpacing(0);
    auto *area = new QMdiArea(documents);
    auto *documentText = new QPlainTextEdit(QStringLiteral("Kære Ane\n\nTak for sidst."));
    s.document = area->addSubWindow(documentText);
    s.document->setWindowTitle(QStringLiteral("brev.txt"));
    s.document->resize(300, 160);
    auto *documentTabs = new QTabBar(documents);
    documentTabs->setDocumentMode(true);
    documentTabs->setExpanding(false);
    documentTabs->addTab(QStringLiteral("brev.txt"));
    documentTabs->addTab(QStringLiteral("noter.rtf"));
    documentColumn->addWidget(area, 1);
    documentColumn->addWidget(documentTabs);

    window->statusBar()->showMessage(QStringLiteral("Linje 1, kolonne 1"));

    s.dialog = std::make_unique<QDialog>();
    auto *dialogColumn = new QVBoxLayout(s.dialog.get());
    auto *question = new QLabel(QStringLiteral("Vil du gemme ændringerne?"), s.dialog.get());
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel,
                                         s.dialog.get());
    dialogColumn->addWidget(question);
    dialogColumn->addWidget(buttons);

    s.textControls = {tool,     s.plainButton, defaultButton, check,       radio,       group,
                      s.combo,  edit,          readOnly,      spin,        label,       progress,
                      plain,    rich,          list,          tree,        table,       documentText,
                      documentTabs, window->menuBar(), s.menu, window->statusBar(), question};
    s.selectable = {plain, rich, list, tree, table, edit};
    return s;
}

// Everything a design has to paint, painted once: the window, its popups, a dialog and a tooltip.
QList<QImage> grabAll(Sampler &s)
{
    QList<QImage> pictures;
    s.window->show();
    if (!QTest::qWaitForWindowExposed(s.window.get()))
        return pictures;
    pictures << s.window->grab().toImage();
    pictures << s.menu->grab().toImage();
    s.combo->showPopup();
    pictures << s.combo->view()->grab().toImage();
    s.combo->hidePopup();
    s.dialog->show();
    pictures << s.dialog->grab().toImage();
    QToolTip::showText(s.plainButton->mapToGlobal(QPoint(4, 4)), QStringLiteral("Åben et eksisterende dokument"),
                       s.plainButton);
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->inherits("QTipLabel") && top->isVisible())
            pictures << top->grab().toImage();
    }
    QToolTip::hideText();
    s.dialog->hide();
    return pictures;
}

QColor buttonFace(const QString &design)
{
    if (!Platform::applyDesign(design))
        return QColor();
    QPushButton button(QStringLiteral("OK"));
    button.setFixedSize(120, 34);
    const QImage picture = button.grab().toImage();
    // Left of the centred text and clear of a rounded corner: the face itself.
    return picture.pixelColor(10, picture.height() / 2);
}

const QStringList optionBoxNames{
    QStringLiteral("Windows"),
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
    QStringLiteral("Windows11 Modern Light"),
};

} // namespace

class TestDesigns : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        registerResources();
        // A platform whose own look is not Fusion, so that going back to it can be told apart.
        QVERIFY(QApplication::setStyle(QStringLiteral("Windows")));
        previousHandler = qInstallMessageHandler(recordStyleWarnings);
    }

    void cleanupTestCase() { qInstallMessageHandler(previousHandler); }

    void init() { styleWarnings.clear(); }

    // The names saved in the options file: renaming one would lose every user's choice.
    void namesAreThoseOfTheOptionsBox() { QCOMPARE(Platform::designNames(), optionBoxNames); }

    void designAppliesCleanly_data()
    {
        QTest::addColumn<QString>("design");
        for (const QString &design : optionBoxNames)
            QTest::newRow(qPrintable(design)) << design;
    }

    // Applying the design and painting every kind of control under it draws no complaint from Qt, and
    // every text reads well on what it stands on, disabled text included.
    void designAppliesCleanly()
    {
        QFETCH(QString, design);
        QString error;
        QVERIFY2(Platform::applyDesign(design, &error), qPrintable(error));
        QVERIFY(error.isEmpty());
        QCOMPARE(Platform::currentDesign(), design);
        const bool carried = design != QLatin1String("Windows");
        if (carried)
            QVERIFY(!readSheet(design).isEmpty() && qApp->styleSheet().startsWith(readSheet(design)));
        else
            QVERIFY(qApp->styleSheet().isEmpty());

        Sampler sampler = buildSampler();
        const QList<QImage> pictures = grabAll(sampler);
        QCOMPARE(pictures.size(), 5);
        for (qsizetype i = 0; i < pictures.size(); ++i)
            QVERIFY2(!pictures.at(i).isNull(), qPrintable(QStringLiteral("picture %1 is empty").arg(i)));
        QVERIFY2(styleWarnings.isEmpty(), qPrintable(styleWarnings.join(QLatin1Char('\n'))));

        if (!carried)
            return; // the platform's own look is the platform's business
        QStringList unreadable;
        for (QWidget *control : sampler.textControls) {
            const QString what = QString::fromLatin1(control->metaObject()->className());
            const QPalette palette = control->palette();
            const QColor text = palette.color(QPalette::Active, control->foregroundRole());
            const QList<QColor> ground = backgroundOf(control, QPalette::Active);
            if (ground.isEmpty() || worstContrast(text, ground) < 4.5)
                unreadable << QStringLiteral("%1: text %2 on %3 has contrast %4")
                                  .arg(what, text.name(), ground.value(0).name())
                                  .arg(worstContrast(text, ground), 0, 'f', 2);

            const QColor offText = palette.color(QPalette::Disabled, control->foregroundRole());
            const QList<QColor> offGround = backgroundOf(control, QPalette::Disabled);
            if (offText == text)
                unreadable << what + QStringLiteral(": disabled text looks enabled");
            if (offGround.isEmpty() || worstContrast(offText, offGround) < 3.0)
                unreadable << QStringLiteral("%1: disabled text %2 on %3 has contrast %4")
                                  .arg(what, offText.name(), offGround.value(0).name())
                                  .arg(worstContrast(offText, offGround), 0, 'f', 2);
        }
        for (QWidget *control : sampler.selectable) {
            const QPalette palette = control->palette();
            const double selected = contrast(palette.color(QPalette::Active, QPalette::HighlightedText),
                                             palette.color(QPalette::Active, QPalette::Highlight));
            if (selected < 4.5)
                unreadable << QStringLiteral("%1: selected text has contrast %2")
                                  .arg(QString::fromLatin1(control->metaObject()->className()))
                                  .arg(selected, 0, 'f', 2);
        }
        // Fusion writes the title of a document window itself: white on a gradient from 14 % lighter
        // than the selection colour down to it while the window is active, black on the background
        // colour while it is not.
        const QPalette title = sampler.document->palette();
        const QColor activeTitle = title.color(QPalette::Active, QPalette::Highlight);
        if (contrast(Qt::white, activeTitle.lighter(114)) < 4.5)
            unreadable << QStringLiteral("active document title on %1").arg(activeTitle.name());
        const QColor inactiveTitle = title.color(QPalette::Inactive, QPalette::Window);
        if (contrast(Qt::black, inactiveTitle) < 4.5)
            unreadable << QStringLiteral("inactive document title on %1").arg(inactiveTitle.name());
        QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join(QLatin1Char('\n'))));
    }

    void sheetIsCompleteAndReadable_data()
    {
        QTest::addColumn<QString>("design");
        for (const QString &design : optionBoxNames.mid(1))
            QTest::newRow(qPrintable(design)) << design;
    }

    // Every kind of control the program shows, in every state the user meets, has its look in the
    // sheet; every part that carries text reads well; every property and image exists.
    void sheetIsCompleteAndReadable()
    {
        QFETCH(QString, design);
        const Sheet sheet = parseSheet(readSheet(design));
        QVERIFY(!sheet.rules.isEmpty());

        static const QStringList required{
            QStringLiteral("QMainWindow"), QStringLiteral("QDialog"), QStringLiteral("QMenuBar"),
            QStringLiteral("QMenuBar::item:selected"), QStringLiteral("QMenu"), QStringLiteral("QMenu::item:selected"),
            QStringLiteral("QMenu::item:disabled"), QStringLiteral("QToolButton"), QStringLiteral("QToolButton:hover"),
            QStringLiteral("QPushButton"), QStringLiteral("QPushButton:hover"), QStringLiteral("QPushButton:pressed"),
            QStringLiteral("QPushButton:disabled"), QStringLiteral("QPushButton:default"),
            QStringLiteral("QCheckBox::indicator:checked"), QStringLiteral("QRadioButton::indicator:checked"),
            QStringLiteral("QGroupBox"), QStringLiteral("QGroupBox::title"), QStringLiteral("QComboBox"),
            QStringLiteral("QComboBox QAbstractItemView"), QStringLiteral("QLineEdit"),
            QStringLiteral("QLineEdit:read-only"), QStringLiteral("QLineEdit:disabled"), QStringLiteral("QPlainTextEdit"),
            QStringLiteral("QTextEdit"), QStringLiteral("QAbstractItemView"),
            QStringLiteral("QAbstractItemView::item:selected"), QStringLiteral("QHeaderView::section"),
            QStringLiteral("QTabWidget::pane"), QStringLiteral("QTabBar::tab"), QStringLiteral("QTabBar::tab:selected"),
            QStringLiteral("QTabBar[documentMode=\"true\"]::tab:selected"), QStringLiteral("QMdiArea"),
            QStringLiteral("QMdiSubWindow"), QStringLiteral("QScrollBar:vertical"), QStringLiteral("QScrollBar:horizontal"),
            QStringLiteral("QScrollBar::handle"), QStringLiteral("QProgressBar"), QStringLiteral("QProgressBar::chunk"),
            QStringLiteral("QSplitter::handle"), QStringLiteral("QToolTip"), QStringLiteral("QStatusBar")};
        for (const QString &selector : required)
            QVERIFY2(sheet.rules.contains(selector), qPrintable(selector + QStringLiteral(" has no look")));

        static const QStringList properties{
            "alternate-background-color", "background", "background-color", "border", "border-top", "border-right",
            "border-bottom", "border-left", "border-color", "border-top-color", "border-right-color",
            "border-bottom-color", "border-left-color", "border-radius", "border-top-left-radius",
            "border-top-right-radius", "border-bottom-left-radius", "border-bottom-right-radius", "border-style",
            "border-width", "bottom", "color", "font", "font-family", "font-size", "font-weight", "gridline-color",
            "height", "image", "left", "margin", "margin-top", "margin-right", "margin-bottom", "margin-left",
            "max-height", "max-width", "min-height", "min-width", "outline", "padding", "padding-top",
            "padding-right", "padding-bottom", "padding-left", "right", "selection-background-color",
            "selection-color", "spacing", "subcontrol-origin", "subcontrol-position", "text-align", "top", "width"};
        for (const QString &selector : sheet.selectors) {
            const Declarations &rule = sheet.rules.value(selector);
            for (auto it = rule.cbegin(); it != rule.cend(); ++it) {
                QVERIFY2(properties.contains(it.key()) || it.key().startsWith(QLatin1String("qproperty-")),
                         qPrintable(selector + QStringLiteral(": unknown property ") + it.key()));
                static const QRegularExpression url(QStringLiteral("url\\(([^)]*)\\)"));
                const QRegularExpressionMatch image = url.match(it.value());
                if (image.hasMatch())
                    QVERIFY2(!QImage(image.captured(1)).isNull(),
                             qPrintable(selector + QStringLiteral(": no image at ") + image.captured(1)));
            }
        }

        // The background of what a rule colours, and the colour of what it paints on, come from the
        // rule itself or from the rule it refines; plain text stands on the windows' background.
        const auto inherited = [&sheet](QString selector, const auto &take) {
            for (; !selector.isEmpty(); selector = broaderSelector(selector)) {
                const auto found = take(sheet.rules.value(selector));
                if (!found.isEmpty())
                    return found;
            }
            return take(sheet.rules.value(QStringLiteral("QDialog")));
        };
        const auto background = [](const Declarations &rule) { return backgroundIn(rule); };
        const auto colour = [](const Declarations &rule) { return coloursIn(rule.value(QStringLiteral("color"))); };
        QStringList unreadable;
        for (const QString &selector : sheet.selectors) {
            const Declarations &rule = sheet.rules.value(selector);
            if (!carriesText(selector) || (!rule.contains(QStringLiteral("color")) && backgroundIn(rule).isEmpty()))
                continue;
            const QList<QColor> text = inherited(selector, colour);
            const QList<QColor> ground = inherited(selector, background);
            if (text.isEmpty() || ground.isEmpty())
                continue;
            const double needed = selector.contains(QLatin1String(":disabled")) ? 3.0 : 4.5;
            const double worst = worstContrast(text.first(), ground);
            if (worst < needed)
                unreadable << QStringLiteral("%1: text %2 has contrast %3 < %4")
                                  .arg(selector, text.first().name())
                                  .arg(worst, 0, 'f', 2)
                                  .arg(needed);
        }
        for (const QString &selector : sheet.selectors) {
            const Declarations &rule = sheet.rules.value(selector);
            const QList<QColor> selected = coloursIn(rule.value(QStringLiteral("selection-color")));
            const QList<QColor> selection = coloursIn(rule.value(QStringLiteral("selection-background-color")));
            if (!selected.isEmpty() && !selection.isEmpty() && worstContrast(selected.first(), selection) < 4.5)
                unreadable << QStringLiteral("%1: selected text %2 has contrast %3")
                                  .arg(selector, selected.first().name())
                                  .arg(worstContrast(selected.first(), selection), 0, 'f', 2);
        }
        QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join(QLatin1Char('\n'))));
    }

    // Each design is a look of its own: the sheets differ, and a plain button shows a face of a
    // colour no other design gives it.
    void designsAreDistinct()
    {
        QMap<QRgb, QString> faces;
        QMap<QString, QString> sheets;
        for (const QString &design : optionBoxNames) {
            const QColor face = buttonFace(design);
            QVERIFY2(face.isValid(), qPrintable(design));
            QVERIFY2(!faces.contains(face.rgb()),
                     qPrintable(QStringLiteral("%1 and %2 give a button the same face %3")
                                    .arg(design, faces.value(face.rgb()), face.name())));
            faces.insert(face.rgb(), design);
            const QString sheet = qApp->styleSheet();
            QVERIFY2(!sheets.contains(sheet), qPrintable(design + QStringLiteral(" repeats ") + sheets.value(sheet)));
            sheets.insert(sheet, design);
        }
    }

    // The designs draw on Fusion whatever the platform; "Windows" is the platform's own style with no
    // sheet at all.
    void windowsIsThePlatformLook()
    {
        std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        std::unique_ptr<QStyle> platform(QStyleFactory::create(QStringLiteral("Windows")));
        const auto sliderLength = [] { return QApplication::style()->pixelMetric(QStyle::PM_SliderLength); };
        QVERIFY(fusion->pixelMetric(QStyle::PM_SliderLength) != platform->pixelMetric(QStyle::PM_SliderLength));

        QVERIFY(Platform::applyDesign(QStringLiteral("Sapphire Kamri")));
        QCOMPARE(sliderLength(), fusion->pixelMetric(QStyle::PM_SliderLength));

        QVERIFY(Platform::applyDesign(QStringLiteral("Windows")));
        QCOMPARE(qApp->styleSheet(), QString());
        QCOMPARE(QApplication::style()->name(), QStringLiteral("windows"));
        QCOMPARE(sliderLength(), platform->pixelMetric(QStyle::PM_SliderLength));
        QCOMPARE(Platform::currentDesign(), QStringLiteral("Windows"));

        // A name as a hand-edited options file may spell it.
        QVERIFY(Platform::applyDesign(QStringLiteral("smokey quartz kamri")));
        QCOMPARE(Platform::currentDesign(), QStringLiteral("Smokey Quartz Kamri"));
    }

    void unknownNameKeepsTheDesign_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("unknown") << QStringLiteral("Nordlys");
        QTest::newRow("empty") << QString();
        QTest::newRow("near miss") << QStringLiteral("Windows 10");
        QTest::newRow("file name") << QStringLiteral("Aqua_Light_Slate");
    }

    void unknownNameKeepsTheDesign()
    {
        QFETCH(QString, name);
        QVERIFY(Platform::applyDesign(QStringLiteral("Lavender Classico")));
        const QString sheet = qApp->styleSheet();
        QString error;
        QVERIFY(!Platform::applyDesign(name, &error));
        QCOMPARE(error, QStringLiteral("Designet \"%1\" findes ikke.").arg(name));
        QCOMPARE(Platform::currentDesign(), QStringLiteral("Lavender Classico"));
        QCOMPARE(qApp->styleSheet(), sheet);
        QVERIFY(!Platform::applyDesign(name)); // no place for the message is fine too
    }
};

QTEST_MAIN(TestDesigns)
#include "tst_designs.moc"
