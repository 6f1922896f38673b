#include "ui/string_grid.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>

#include "core/tables.h"
#include "ui/glyphs.h"

namespace trimora {

StringGridView::StringGridView(QWidget* parent) : QTableView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    setWordWrap(false);
    // Tab leaves the table for the next control, as in the quick-entry fields.
    setTabKeyNavigation(false);
}

void StringGridView::CommitEditor() {
    QWidget* editor = indexWidget(currentIndex());
    if (editor == nullptr || !IsEditing()) return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void StringGridView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::RightButton) {
        emit rightClicked(index, event->globalPosition().toPoint());
        return;
    }
    if (!index.isValid()) {
        emit emptyAreaClicked();
        return;
    }
    if (index != currentIndex() && canSelect && !canSelect(index, true)) return;
    QTableView::mousePressEvent(event);
}

void StringGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    // A refused cell must not open an editor through the second click either.
    if (index.isValid() && index != currentIndex()) return;
    QTableView::mouseDoubleClickEvent(event);
}

QModelIndex StringGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex next = QTableView::moveCursor(action, modifiers);
    if (next.isValid() && next != currentIndex() && canSelect && !canSelect(next, false))
        return currentIndex();
    return next;
}

void StringGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    emit currentCellChanged(current);
}

void GrainDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    opt.icon = QIcon();
    // Background and focus frame as any other cell, then the picture on a cleared cell.
    QStyledItemDelegate::paint(painter, opt, QModelIndex());
    const int image = GrainImageIndex(index.data(Qt::UserRole).toString().toStdString());
    if (image < 0) return;
    const int size = qMin(16, option.rect.height() - 2);
    const QPixmap pixmap = GrainPixmap(image == kImageGrainKept, size);
    painter->drawPixmap(option.rect.left() + 4,
                        option.rect.top() + (option.rect.height() - size) / 2, pixmap);
}

}  // namespace trimora
