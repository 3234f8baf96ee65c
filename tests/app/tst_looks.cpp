#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/Win1.h"
#include "documents/Win2.h"
#include "options/optUnit.h"
#include "platform/Designs.h"
#include "platform/RichTextEdit.h"
#include "search/findis.h"
#include "widgets/Action.h"
#include "widgets/Box.h"
#include "widgets/Globals.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>
#include <algorithm>
#include <cmath>

// What the user sees of the program in each design, measured on the painted pixels: text that reads
// well on what it stands on, icons that stand out from their buttons, disabled icons that look
// disabled, command buttons that look like buttons.
namespace {

QRgb mostFrequentColour(const QImage &picture, const QRect &area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[picture.pixel(x, y) | 0xff000000u];
    }
    QRgb most = 0;
    int mostCount = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > mostCount) {
            most = it.key();
            mostCount = it.value();
        }
    }
    return most;
}

// How far what is drawn in an area (text, an icon) stands out from the area's background, the colour
// most of the area has: the contrast of its fifth strongest pixel, so that the core of the strokes
// counts and a stray pixel does not. 1 when nothing is drawn.
double inkContrast(const QImage &picture, QRect area)
{
    area &= picture.rect();
    if (area.isEmpty())
        return 1.0;
    const QColor background = QColor::fromRgb(mostFrequentColour(picture, area));
    QList<double> strengths;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            strengths << Platform::contrastRatio(QColor::fromRgb(picture.pixel(x, y)), background);
    }
    std::sort(strengths.begin(), strengths.end(), std::greater<>());
    return strengths.value(4, 1.0);
}

// Where a part of a widget shows in the picture of its window: inside every widget around it (a
// scroll area shows only some of what it holds).
QRect areaIn(const QWidget *top, const QWidget *widget, const QRect &local)
{
    QRect area = local.translated(widget->mapTo(top, QPoint(0, 0)));
    for (const QWidget *w = widget; w && w != top; w = w->parentWidget())
        area &= QRect(w->mapTo(top, QPoint(0, 0)), w->size());
    return area;
}

// Whether a widget shows in the picture of the window top. The documents on the main window are read
// in pictures of their own, since one covers another.
bool shows(const QWidget *top, const QWidget *widget)
{
    for (const QWidget *w = widget->parentWidget(); w && w != top; w = w->parentWidget()) {
        if (qobject_cast<const TDocumentForm *>(w) || qobject_cast<const QLineEdit *>(w))
            return false;
    }
    return widget->isVisibleTo(top) && !widget->visibleRegion().isEmpty() && widget->width() > 4 && widget->height() > 4;
}

bool iconOnly(const QAbstractButton *button)
{
    if (button->icon().isNull())
        return false;
    if (auto *tool = qobject_cast<const QToolButton *>(button))
        return tool->toolButtonStyle() == Qt::ToolButtonIconOnly || tool->text().isEmpty();
    return button->text().isEmpty();
}

QString nameOf(const QWidget *widget)
{
    QString name = widget->objectName();
    if (auto *label = qobject_cast<const QLabel *>(widget))
        name += QStringLiteral(" \"") + label->text() + QLatin1Char('"');
    else if (auto *button = qobject_cast<const QAbstractButton *>(widget))
        name += QStringLiteral(" \"") + (button->text().isEmpty() ? button->toolTip() : button->text()) + QLatin1Char('"');
    return QString::fromLatin1(widget->metaObject()->className()) + QLatin1Char(' ') + name;
}

// Where a widget's text is drawn; empty for widgets without text of their own.
QRect textArea(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text().trimmed().isEmpty() ? QRect() : label->contentsRect();
    if (qobject_cast<QCheckBox *>(widget) || qobject_cast<QRadioButton *>(widget)) {
        auto *button = static_cast<QAbstractButton *>(widget);
        if (button->text().isEmpty())
            return QRect();
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const bool check = qobject_cast<QCheckBox *>(widget);
        return button->style()->subElementRect(check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents,
                                               &option, button);
    }
    if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        if (button->text().trimmed().isEmpty() || !button->icon().isNull())
            return QRect();
        return button->rect().adjusted(3, 3, -3, -3);
    }
    return QRect();
}

QRect iconArea(const QAbstractButton *button)
{
    QRect area(QPoint(0, 0), button->iconSize());
    area.moveCenter(button->rect().center());
    return area.adjusted(-2, -2, 2, 2) & button->rect();
}

// Reads a painted window: every text at 4.5:1 against its background (3:1 while disabled), every
// enabled icon at 3:1 against its button.
QStringList faultsIn(QWidget *top, const QString &where)
{
    QStringList faults;
    const QImage picture = top->grab().toImage();
    if (picture.isNull())
        return {where + QStringLiteral(": nothing painted")};
    for (QWidget *widget : top->findChildren<QWidget *>()) {
        if (!shows(top, widget))
            continue;
        const QRect text = textArea(widget);
        // A text the window cuts off is not read; it shows on scrolling.
        if (!text.isEmpty() && areaIn(top, widget, text) == text.translated(widget->mapTo(top, QPoint(0, 0)))) {
            // The platform's own look engraves disabled text in its own way.
            const bool platformLook = Platform::currentDesign() == QLatin1String("Windows");
            if (!widget->isEnabled() && platformLook)
                continue;
            const double needed = widget->isEnabled() ? 4.5 : 3.0;
            const double found = inkContrast(picture, areaIn(top, widget, text));
            if (found < needed)
                faults << QStringLiteral("%1: text of %2 has contrast %3 < %4")
                              .arg(where, nameOf(widget))
                              .arg(found, 0, 'f', 2)
                              .arg(needed);
        }
        auto *button = qobject_cast<QAbstractButton *>(widget);
        if (button && button->isEnabled() && iconOnly(button)) {
            const double found = inkContrast(picture, areaIn(top, button, iconArea(button)));
            if (found < 3.0)
                faults << QStringLiteral("%1: icon of %2 has contrast %3 < 3")
                              .arg(where, nameOf(widget))
                              .arg(found, 0, 'f', 2);
        }
    }
    return faults;
}

// How much of a button's outline stands apart from what surrounds it: near 1 for a button with a
// frame or a face of its own, near 0 for one that is only its caption.
double edgeShown(QWidget *top, QWidget *button)
{
    const QImage picture = top->grab().toImage();
    const QRect place(button->mapTo(top, QPoint(0, 0)), button->size());
    // How far a pixel lies inside the button's edge; negative outside it.
    const auto inset = [&place](int x, int y) {
        return std::min({x - place.left(), place.right() - x, y - place.top(), place.bottom() - y});
    };
    const QRect near = place.adjusted(-3, -3, 3, 3) & picture.rect();
    QHash<QRgb, int> outside;
    for (int y = near.top(); y <= near.bottom(); ++y) {
        for (int x = near.left(); x <= near.right(); ++x) {
            if (inset(x, y) < 0)
                ++outside[picture.pixel(x, y)];
        }
    }
    QRgb around = 0;
    for (auto it = outside.cbegin(); it != outside.cend(); ++it) {
        if (it.value() > outside.value(around, -1))
            around = it.key();
    }
    int edge = 0;
    int standing = 0;
    for (int y = place.top(); y <= place.bottom(); ++y) {
        for (int x = place.left(); x <= place.right(); ++x) {
            if (inset(x, y) > 0)
                continue;
            ++edge;
            const QRgb pixel = picture.pixel(x, y);
            const int difference = std::max({std::abs(qRed(pixel) - qRed(around)), std::abs(qGreen(pixel) - qGreen(around)),
                                             std::abs(qBlue(pixel) - qBlue(around))});
            if (difference >= 12)
                ++standing;
        }
    }
    return edge ? double(standing) / edge : 0.0;
}

// Every fault on a line of its own: a failure message is cut short.
bool noFaults(const QStringList &faults)
{
    for (const QString &fault : faults)
        qWarning().noquote() << fault;
    return faults.isEmpty();
}

void chooseDesign(const QString &design)
{
    // As the user does it: a pick in the design box of the "Egenskaber" page.
    optform->designBox->setCurrentIndex(optform->designBox->findText(design));
    emit optform->designBox->activated(optform->designBox->currentIndex());
    QCOMPARE(Platform::currentDesign(), design);
}

bool showWindow(QWidget *window)
{
    window->show();
    window->raise();
    return QTest::qWaitForWindowExposed(window);
}

} // namespace

class TestLooks : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void textAndIconsReadWell_data();
    void textAndIconsReadWell();
    void disabledIconsLookDisabled_data() { textAndIconsReadWell_data(); }
    void disabledIconsLookDisabled();
    void commandButtonsLookLikeButtons_data() { textAndIconsReadWell_data(); }
    void commandButtonsLookLikeButtons();
    void fontButtonArrow_data() { textAndIconsReadWell_data(); }
    void fontButtonArrow();
    void fileDialogIconsShow_data() { textAndIconsReadWell_data(); }
    void fileDialogIconsShow();
    void richTextReadsOnItsPaper_data() { textAndIconsReadWell_data(); }
    void richTextReadsOnItsPaper();

private:
    std::unique_ptr<ProgramFixture> m_program;
    Twinform1 *m_text = nullptr;
    Twinform2 *m_rich = nullptr;
};

void TestLooks::initTestCase()
{
    m_program = std::make_unique<ProgramFixture>();
    const QString text = m_program->writeFile(QStringLiteral("brev.txt"), "Kære Ane\r\nTak for sidst.\r\n");
    const QString rich = m_program->writeFile(QStringLiteral("noter.rtf"),
                                              "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green0\\blue160;}"
                                              "\\f0\\fs20 Noter til m\\'f8det: \\cf1 r\\'f8get laks\\cf0\\par}");
    m_program->start({text, rich});
    for (TDocumentForm *window : mainform->documentWindows()) {
        if (auto *text = qobject_cast<Twinform1 *>(window))
            m_text = text;
        if (auto *rich = qobject_cast<Twinform2 *>(window))
            m_rich = rich;
    }
    QVERIFY(m_text);
    QVERIFY(m_rich);
}

void TestLooks::cleanupTestCase()
{
    m_program.reset();
}

void TestLooks::textAndIconsReadWell_data()
{
    QTest::addColumn<QString>("design");
    for (const QString &design : Platform::designNames())
        QTest::newRow(qPrintable(design)) << design;
}

// The main window with each page of the command panel, both document windows and every box.
void TestLooks::textAndIconsReadWell()
{
    QFETCH(QString, design);
    chooseDesign(design);
    QStringList faults;
    using Page = Tmainform::CommandPage;
    const QList<std::pair<TAction *, Page>> pages{
        {mainform->openMenu1, Page::File},        {mainform->openMenu2, Page::Document},
        {mainform->openMenu3, Page::Search},      {mainform->openMenu4, Page::Window},
        {mainform->openMenu5, Page::Information}, {mainform->openMenu6, Page::Options},
        {mainform->openMenu7, Page::Boxes}};
    for (const auto &[action, page] : pages) {
        if (!mainform->showsPage(page))
            action->trigger();
        QCoreApplication::processEvents();
        QVERIFY(mainform->menuBog->isVisible());
        QCOMPARE(mainform->currentPage(), page);
        faults << faultsIn(mainform, QStringLiteral("page %1").arg(action->text()));
    }
    pages.last().first->trigger();
    for (QWidget *window : std::initializer_list<QWidget *>{m_text, m_rich}) {
        window->raise();
        faults << faultsIn(window, window->windowTitle());
    }
    for (QWidget *top : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<TBox *>(top);
        // The options box lends its panels to the "Egenskaber" page, read above.
        if (!box || box == optform)
            continue;
        QVERIFY(showWindow(box));
        faults << faultsIn(box, box->windowTitle());
        box->hide();
    }
    QVERIFY(noFaults(faults));
}

// A disabled icon button is told from an enabled one at a glance: its icon is faded to a contrast of
// at most 2.5:1 (an enabled one has 3:1 or more), and still shows.
void TestLooks::disabledIconsLookDisabled()
{
    QFETCH(QString, design);
    chooseDesign(design);
    QStringList faults;
    const auto standingOut = [](QWidget *top, QToolButton *button) {
        return inkContrast(top->grab().toImage(), areaIn(top, button, iconArea(button)));
    };
    const auto check = [&](QWidget *top, QAction *action) {
        QToolButton *button = nullptr;
        for (QToolButton *candidate : top->findChildren<QToolButton *>()) {
            if (candidate->defaultAction() == action && shows(top, candidate))
                button = candidate;
        }
        if (!button) {
            faults << action->objectName() + QStringLiteral(": no button shows");
            return;
        }
        action->setEnabled(true);
        const double on = standingOut(top, button);
        action->setEnabled(false);
        const double off = standingOut(top, button);
        action->setEnabled(true);
        if (on < 3.0 || off > 2.5 || off < 1.3)
            faults << QStringLiteral("%1: enabled icon has contrast %2, disabled %3")
                          .arg(action->objectName())
                          .arg(on, 0, 'f', 2)
                          .arg(off, 0, 'f', 2);
    };
    check(m_rich, m_rich->aMargin);
    check(m_rich, m_rich->RichEditBullets2);
    mainform->openMenu1->trigger();
    check(mainform, mainform->opdaterFilinfo);
    mainform->openMenu1->trigger();
    QVERIFY(noFaults(faults));
}

// "Udfør" among the size captions of the "Egenskaber" page and "Find i bibliotek" beside the search
// field stand among labels and fields: they have a frame or a face that sets them off.
void TestLooks::commandButtonsLookLikeButtons()
{
    QFETCH(QString, design);
    chooseDesign(design);
    mainform->openMenu6->trigger();
    QCoreApplication::processEvents();
    QWidget *size = nullptr;
    for (QAbstractButton *button : mainform->findChildren<QAbstractButton *>()) {
        if (button->text() == QStringLiteral("Udfør") && button->isVisible() && button->toolTip().contains(QStringLiteral("programstørrelse")))
            size = button;
    }
    QVERIFY(size);
    QVERIFY(size->isVisible());
    const double sizeEdge = edgeShown(mainform, size);
    mainform->openMenu6->trigger();

    QVERIFY(showWindow(findformen));
    QWidget *find = nullptr;
    for (QAbstractButton *button : findformen->findChildren<QAbstractButton *>()) {
        if (button->text() == QLatin1String("Find i bibliotek") && button->isVisible())
            find = button;
    }
    QVERIFY(find);
    const double findEdge = edgeShown(findformen, find);
    findformen->hide();
    QVERIFY2(sizeEdge > 0.6, qPrintable(QStringLiteral("Udfør: %1 of the edge shows").arg(sizeEdge)));
    QVERIFY2(findEdge > 0.6, qPrintable(QStringLiteral("Find i bibliotek: %1 of the edge shows").arg(findEdge)));
}

// The arrow of "Fonte" is drawn as an arrow: it stands out from the button, and no solid black block
// covers it.
void TestLooks::fontButtonArrow()
{
    QFETCH(QString, design);
    chooseDesign(design);
    m_rich->raise();
    QToolButton *fontButton = m_rich->Button1;
    const QRect place(fontButton->mapTo(m_rich, QPoint(0, 0)), fontButton->size());
    const QImage picture = m_rich->grab().toImage().copy(place);
    const QRect arrow(fontButton->width() - 16, 2, 14, fontButton->height() - 4);
    QVERIFY2(inkContrast(picture, arrow) >= 3.0, qPrintable(QString::number(inkContrast(picture, arrow))));
    for (int y = 0; y + 4 <= picture.height(); ++y) {
        for (int x = 0; x + 4 <= picture.width(); ++x) {
            bool black = true;
            for (int dy = 0; dy < 4 && black; ++dy) {
                for (int dx = 0; dx < 4 && black; ++dx)
                    black = (picture.pixel(x + dx, y + dy) & 0xffffffu) == 0;
            }
            QVERIFY2(!black, qPrintable(QStringLiteral("a black block at %1,%2").arg(x).arg(y)));
        }
    }
}

// The open and save dialogs are Qt's own; their tool buttons (back, up, new folder, the views) draw
// icons from the icon theme, which must suit a dark design as well as a light one.
void TestLooks::fileDialogIconsShow()
{
    QFETCH(QString, design);
    chooseDesign(design);
    QFileDialog dialog(mainform, QStringLiteral("Åbn"), QDir::tempPath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QVERIFY(showWindow(&dialog));
    const QImage picture = dialog.grab().toImage();
    QStringList faults;
    for (QToolButton *button : dialog.findChildren<QToolButton *>()) {
        if (!button->isVisible() || !button->isEnabled() || button->icon().isNull())
            continue;
        const QRect area = areaIn(&dialog, button, button->rect().adjusted(3, 3, -3, -3));
        const double contrast = inkContrast(picture, area);
        if (contrast < 3.0)
            faults << QStringLiteral("%1: %2").arg(button->objectName()).arg(contrast, 0, 'f', 2);
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(", "))));
}

// A rich document's text, in the automatic colour and in a colour of its own (dark blue is common
// in letters), reads well in every design: a dark design must not put it on a dark background.
void TestLooks::richTextReadsOnItsPaper()
{
    QFETCH(QString, design);
    chooseDesign(design);
    m_rich->raise();
    auto *area = static_cast<Platform::RichTextEdit *>(m_rich->editor())->area();
    const QImage picture = area->viewport()->grab().toImage();
    const QString text = area->toPlainText();
    QStringList faults;
    for (const QString &word : {QStringLiteral("Noter"), QStringLiteral("laks")}) {
        QTextCursor cursor(area->document());
        cursor.setPosition(text.indexOf(word));
        const QRect start = area->cursorRect(cursor);
        cursor.setPosition(text.indexOf(word) + word.size());
        const QRect wordArea = start.united(area->cursorRect(cursor));
        const double contrast = inkContrast(picture, wordArea.adjusted(-2, 0, 2, 0));
        if (contrast < 4.5)
            faults << QStringLiteral("%1: %2").arg(word).arg(contrast, 0, 'f', 2);
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(", "))));
}

QTEST_MAIN(TestLooks)
#include "tst_looks.moc"
