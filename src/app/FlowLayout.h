#pragma once

#include <QLayout>
#include <QList>

// Lays its widgets out in rows, left to right, each at its preferred size: a widget that does not
// fit beside the ones before it starts a new row. Panels of options keep their captions whole in
// a narrow window instead of being squeezed.
class FlowLayout : public QLayout {
public:
    explicit FlowLayout(QWidget *parent);
    ~FlowLayout() override;

    void addItem(QLayoutItem *item) override;
    int count() const override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    void setGeometry(const QRect &rect) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;

private:
    // Places the items in rect (or only measures, when not applying); returns the height used.
    int arrange(const QRect &rect, bool apply) const;

    QList<QLayoutItem *> m_items;
};
