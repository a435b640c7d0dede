#include "platform/AccessibleRows.h"

#include <QWidget>
#include <algorithm>

namespace platform {
namespace {

// A row as a child: it reads its text through the parent each time, so it never holds a stale copy.
class RowInterface final : public QAccessibleInterface {
public:
    RowInterface(const AccessibleRows* parent, int index) : m_parent(parent), m_index(index) {}

    // Stays valid after its row went away, so that its removal can still be told.
    bool isValid() const override { return m_parent->isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_parent->window(); }
    QAccessibleInterface* parent() const override { return const_cast<AccessibleRows*>(m_parent); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QString text(QAccessible::Text kind) const override { return kind == QAccessible::Name ? row().text : QString(); }
    QAccessible::Role role() const override { return row().role; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = !exists() || m_parent->state().invisible;
        return state;
    }
    QRect rect() const override {
        if (!exists()) return {};
        const auto* widget = static_cast<const QWidget*>(m_parent->object());
        return QRect(widget->mapToGlobal(row().rect.topLeft()), row().rect.size());
    }

private:
    bool exists() const { return m_parent->isValid() && m_index < m_parent->childCount(); }
    AccessibleRow row() const {
        if (!exists()) return {};
        return m_parent->rows().at(static_cast<size_t>(m_index));
    }

    const AccessibleRows* m_parent;
    int m_index;
};

}  // namespace

AccessibleRows::AccessibleRows(QWidget* widget, QAccessible::Role role, QString name,
                               std::function<std::vector<AccessibleRow>()> rows)
    : QAccessibleWidget(widget, role),
      m_name(std::move(name)),
      m_rows(std::move(rows)),
      m_told(static_cast<int>(m_rows().size())) {}

AccessibleRows::~AccessibleRows() {
    for (QAccessible::Id id : m_children) QAccessible::deleteAccessibleInterface(id);
}

QString AccessibleRows::text(QAccessible::Text kind) const {
    if (kind == QAccessible::Name) return m_name;
    if (kind == QAccessible::Description) {
        QStringList lines;
        for (const AccessibleRow& row : m_rows()) lines << row.text;
        return lines.join(QLatin1Char('\n'));
    }
    return QAccessibleWidget::text(kind);
}

int AccessibleRows::childCount() const {
    return static_cast<int>(m_rows().size());
}

QAccessibleInterface* AccessibleRows::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    return rowChild(index);
}

QAccessibleInterface* AccessibleRows::rowChild(int index) const {
    while (m_children.size() <= static_cast<size_t>(index)) {
        m_children.push_back(
            QAccessible::registerAccessibleInterface(new RowInterface(this, static_cast<int>(m_children.size()))));
    }
    return QAccessible::accessibleInterface(m_children[static_cast<size_t>(index)]);
}

int AccessibleRows::indexOfChild(const QAccessibleInterface* child) const {
    for (size_t i = 0; i < m_children.size(); ++i) {
        if (QAccessible::accessibleInterface(m_children[i]) == child) return static_cast<int>(i);
    }
    return -1;
}

void AccessibleRows::rowsChanged() {
    const int now = childCount();
    const auto tell = [](QAccessibleInterface* row, QAccessible::Event what) {
        QAccessibleEvent event(row, what);
        QAccessible::updateAccessibility(&event);
    };
    for (int i = m_told - 1; i >= now; --i) tell(rowChild(i), QAccessible::ObjectDestroyed);
    for (int i = 0; i < std::min(now, m_told); ++i) tell(rowChild(i), QAccessible::NameChanged);
    for (int i = m_told; i < now; ++i) tell(rowChild(i), QAccessible::ObjectCreated);
    m_told = now;
    tell(this, QAccessible::NameChanged);
    tell(this, QAccessible::DescriptionChanged);
}

void accessibleRowsChanged(QWidget* widget) {
    if (!QAccessible::isActive()) return;
    if (auto* rows = dynamic_cast<AccessibleRows*>(QAccessible::queryAccessibleInterface(widget))) rows->rowsChanged();
}

}  // namespace platform
