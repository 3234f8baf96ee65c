#include "options/genvejUnit.h"

#include "platform/Designs.h"

#include <QHeaderView>
#include <QIcon>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <initializer_list>
#include <optional>
#include <utility>

namespace {

using Row = std::pair<const char16_t *, const char16_t *>;

// A read-only list of shortcuts. On the pages whose rows carry an image each entry starts with one
// blank, which keeps the text clear of the image.
QTableWidget *shortcutList(QTabWidget *tabs, const QString &pageName, const QString &keyHeading,
                           const std::optional<QIcon> &image, std::initializer_list<Row> rows)
{
    auto *list = new QTableWidget(int(rows.size()), 2, tabs);
    list->setAccessibleName(pageName);
    list->setHorizontalHeaderLabels({keyHeading, QStringLiteral("Funktion")});
    list->verticalHeader()->hide();
    list->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list->horizontalHeader()->setStretchLastSection(true);
    list->setShowGrid(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setWordWrap(false);
    list->setIconSize(QSize(16, 16));

    const Qt::ItemFlags readOnly = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    int row = 0;
    for (const auto &[key, command] : rows) {
        QString text = QString::fromUtf16(key);
        if (image)
            text.prepend(QLatin1Char(' '));
        auto *keyItem = new QTableWidgetItem(image.value_or(QIcon()), text);
        auto *commandItem = new QTableWidgetItem(QString::fromUtf16(command));
        keyItem->setFlags(readOnly);
        commandItem->setFlags(readOnly);
        list->setItem(row, 0, keyItem);
        list->setItem(row, 1, commandItem);
        ++row;
    }
    tabs->addTab(list, pageName);
    return list;
}

// The theme's image where there is one, else the style's own, so every row keeps its image.
QIcon rowImage(const QWidget *w, const QString &iconName, QStyle::StandardPixmap reserve)
{
    return Platform::designIcon(iconName, w->style()->standardIcon(reserve));
}

constexpr int DesignWidth = 280;
constexpr int DesignHeight = 306;

} // namespace

Tgenvejsform::Tgenvejsform(QWidget *parent)
    : TBox(parent, QStringLiteral("Genveje"))
    , PageControl1(new QTabWidget(this))
    , ListView1(shortcutList(PageControl1, QStringLiteral("Hovedmenuen"), QStringLiteral("Ctrl+"),
                             rowImage(this, QStringLiteral("go-next"), QStyle::SP_ArrowRight),
                             {{u"1", u"Fil"},
                              {u"2", u"Dokument"},
                              {u"3", u"Søg"},
                              {u"4", u"Vindue"},
                              {u"5", u"Bokse"},
                              {u"6", u"Egenskaber"},
                              {u"7", u"Info"}}))
    , ListView2(shortcutList(PageControl1, QStringLiteral("F taster"), QStringLiteral("Tast"),
                             rowImage(this, QStringLiteral("input-keyboard"), QStyle::SP_CommandLink),
                             {{u"F1", u"Info"},
                              {u"F2", u"Opdater filinformation"},
                              {u"F3", u"Mappefilboksen"},
                              {u"F4", u"Favoritboksen"},
                              {u"F5", u"Dokumentboksen"},
                              {u"F6", u"Søg efter tekst i dokumenter"},
                              {u"F7", u"Søg efter fil og mappenavne"},
                              {u"F8", u"Typelisteboksen"},
                              {u"F9", u"Denne boks"}}))
    , ListView3(shortcutList(PageControl1, QStringLiteral("Internet"), QStringLiteral("Genvej"),
                             rowImage(this, QStringLiteral("internet-web-browser"), QStyle::SP_DriveNetIcon),
                             {{u"Ctrl+Shift+B", u"Søg med Bing"},
                              {u"Ctrl+Shift+G", u"Søg med Google"},
                              {u"Ctrl+Shift+T", u"Søg på YouTube"}}))
    , ListView4(shortcutList(PageControl1, QStringLiteral("Ctrl+"), QStringLiteral("Tast"), std::nullopt,
                             {{u"R", u"Redskabslinje"},
                              {u"H", u"Hovedmenu"}}))
{
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setAccessibleName(QStringLiteral("Genveje"));
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView2->setObjectName(QStringLiteral("ListView2"));
    ListView3->setObjectName(QStringLiteral("ListView3"));
    ListView4->setObjectName(QStringLiteral("ListView4"));
    PageControl1->setCurrentIndex(0);

    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    // Every tab in sight rather than two of them behind scroll arrows.
    PageControl1->setUsesScrollButtons(false);
    setFixedSize(DesignWidth, DesignHeight);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->addWidget(PageControl1);
}

void Tgenvejsform::showEvent(QShowEvent *event)
{
    // What lies around the tab row (margins, the page's frame) as the design draws it, plus the
    // row's own width.
    setFixedSize(DesignWidth, DesignHeight);
    layout()->activate();
    const QTabBar *tabs = PageControl1->tabBar();
    const int around = width() - tabs->width();
    setFixedSize(qMax(DesignWidth, tabs->sizeHint().width() + around), DesignHeight);
    layout()->activate();
    TBox::showEvent(event);
}
