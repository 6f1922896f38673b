// The table view used for the text grids of the main window and the band dialog: it lets
// its owner refuse a cell before it becomes current, reports clicks beside the cells and
// right clicks, and draws the grain column as a picture.
#pragma once

#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

namespace trimora {

class StringGridView : public QTableView {
    Q_OBJECT
public:
    explicit StringGridView(QWidget* parent = nullptr);

    // Asked before a cell becomes current; false keeps the current cell. byMouse tells a
    // click from keyboard navigation.
    std::function<bool(const QModelIndex& index, bool byMouse)> canSelect;

    bool IsEditing() const { return state() == QAbstractItemView::EditingState; }
    // Ends an open in-place edit, storing its text in the model.
    void CommitEditor();

signals:
    void currentCellChanged(const QModelIndex& current);
    // A left click that hit no cell (below the rows).
    void emptyAreaClicked();
    // A right click; index is the cell under the mouse (may be invalid).
    void rightClicked(const QModelIndex& index, const QPoint& globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
};

// Draws the grain flag ("0" may be turned, "1" keeps its orientation) as a picture, 4 pixels
// from the cell's left edge, and no text.
class GrainDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace trimora
