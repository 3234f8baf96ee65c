#include "widgets/tekstBoks.h"

#include "platform/Designs.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int Bredde = 339;
constexpr int Margen = 12;
// Room under the text for the buttons and the margins.
constexpr int KnapPlads = 80;
// What the window manager's title bar may take of the screen's height.
constexpr int TitelPlads = 48;
constexpr int HvilePunkt = 8;
constexpr int VisPunkt = 10;

void saetPunkt(QLabel *label, int punkt)
{
    QFont font = label->font();
    font.setPointSize(punkt);
    label->setFont(font);
}
} // namespace

TtekstBoks::TtekstBoks(QWidget *parent, const QString &caption)
    : TBox(parent, caption)
    , m_tekst(new QLabel(this))
    , m_knapper(new QHBoxLayout)
{
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    // With the main window as parent the box is its transient and the window manager keeps it above
    // the main window. Without one there is nothing to be transient for, so the box asks to stay on
    // top outright, or a message could open hidden behind the windows it is about.
    if (!parent)
        setWindowFlag(Qt::WindowStaysOnTopHint);

    // File names in messages may hold "<" and "&": the text is shown exactly as given.
    m_tekst->setTextFormat(Qt::PlainText);
    m_tekst->setWordWrap(true);
    m_tekst->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *lag = new QVBoxLayout(this);
    lag->setSizeConstraint(QLayout::SetNoConstraint);
    lag->setContentsMargins(Margen, Margen, Margen, Margen);
    lag->addWidget(m_tekst);
    lag->addStretch(1);
    m_knapper->addStretch(1);
    lag->addLayout(m_knapper);

    resetValues();
    setFixedSize(Bredde, KnapPlads);
}

QPushButton *TtekstBoks::tilfoejKnap(const QString &caption, const QString &ikon)
{
    auto *knap = new QPushButton(Platform::designIcon(ikon), caption, this);
    knap->setAccessibleName(caption);
    m_knapper->addWidget(knap);
    m_knapper->addStretch(1);
    return knap;
}

void TtekstBoks::insertTekst(const QString &tekst)
{
    QString vist = tekst;
    vist.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    vist.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_tekst->setText(vist);
}

void TtekstBoks::resetValues()
{
    m_tekst->clear();
    saetPunkt(m_tekst, HvilePunkt);
}

void TtekstBoks::setVisible(bool visible)
{
    if (visible && !isVisible())
        FormShow();
    const bool varVist = isVisible();
    TBox::setVisible(visible);
    if (!visible && varVist)
        FormClose();
}

void TtekstBoks::FormShow()
{
    saetPunkt(m_tekst, VisPunkt);
    int hoejde = m_tekst->heightForWidth(Bredde - 2 * Margen) + KnapPlads;
    // A message longer than the screen still leaves the buttons where the user can reach them.
    const QWidget *ejer = parentWidget() ? parentWidget()->window() : this;
    if (const QScreen *skaerm = ejer->screen())
        hoejde = qMin(hoejde, skaerm->availableGeometry().height() - TitelPlads);
    setFixedSize(Bredde, qMax(hoejde, KnapPlads));
}

void TtekstBoks::FormClose()
{
    resetValues();
}
