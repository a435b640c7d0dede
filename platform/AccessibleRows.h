#pragma once

#include <QAccessibleWidget>
#include <QString>
#include <functional>
#include <vector>

namespace platform {

// One row of text that a widget paints itself (no child widget carries it), as assistive technology
// should read it.
struct AccessibleRow {
    QAccessible::Role role = QAccessible::StaticText;
    QString text;
    QRect rect;  // in the widget's coordinates
};

// The accessible face of a widget that paints rows of text: the widget with the given role and name,
// each row a child of its own, read from rows() whenever asked, so it always matches what is drawn.
class AccessibleRows : public QAccessibleWidget {
public:
    AccessibleRows(QWidget* widget, QAccessible::Role role, QString name,
                   std::function<std::vector<AccessibleRow>()> rows);
    ~AccessibleRows() override;

    QString text(QAccessible::Text kind) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

    std::vector<AccessibleRow> rows() const { return m_rows(); }

    // Tells assistive technology which rows came, went or changed since it was last told: screen
    // readers keep their own copy of the tree.
    void rowsChanged();

private:
    QAccessibleInterface* rowChild(int index) const;

    QString m_name;
    std::function<std::vector<AccessibleRow>()> m_rows;
    mutable std::vector<QAccessible::Id> m_children;  // registered with Qt, created when first asked
    int m_told;                                       // the number of rows assistive technology knows of
};

// Calls rowsChanged() on the widget's accessible face, where accessibility is on and the face is one.
void accessibleRowsChanged(QWidget* widget);

}  // namespace platform
