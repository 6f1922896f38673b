// Item models that show the project's two tables. They read and write the project's text
// grids directly; the views hold no copy of the data.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <cstdint>

#include "core/text_grid.h"

namespace trimora {

// A grid model whose column captions are set by the language loader (setHeaderData) and whose
// row captions are the 1-based grid rows.
class CaptionedGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CaptionedGridModel(int columns, QObject* parent);

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role) override;

private:
    QStringList headers_;
};

// Model rows are the grid's rows 1.. (row 0 of the grid is the view's header). The model
// shows the filled rows and one empty row below them, so the user can see where the table
// ends and selecting below the filled rows is answered with a message instead of nothing.
class TextGridModel : public CaptionedGridModel {
    Q_OBJECT
public:
    // `filledRows` is the project's counter of the table (SheetRowCount or PartRowCount).
    TextGridModel(TextGrid& grid, const int32_t& filledRows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    static int GridRow(const QModelIndex& index) { return index.row() + 1; }
    int FilledRows() const { return filledRows_; }
    bool IsFilledRow(const QModelIndex& index) const;
    // Text of a grid cell (column, 1-based row).
    QString CellText(int column, int gridRow) const;

    // Columns whose cells are edited as plain text; the others are changed by commands.
    void SetTextColumns(int first, int last);
    // Grid rows above this one are fixed (not edited in place).
    void SetFirstEditableRow(int gridRow) { firstEditableRow_ = gridRow; }
    // Whether an empty row is shown below the filled rows.
    void SetShowEmptyRow(bool show);
    // The column drawn as the grain picture (part table), -1 for none.
    void SetGrainColumn(int column) { grainColumn_ = column; }
    int GrainColumn() const { return grainColumn_; }

    // Call after the core changed the grid: adjusts the shown rows and repaints all cells.
    void Reload();

signals:
    // An in-place edit changed the text of a cell; the owner validates it.
    void cellEdited(int column, int gridRow);

private:
    int WantedRows() const;

    TextGrid& grid_;
    const int32_t& filledRows_;
    int shownRows_ = 1;
    int firstTextColumn_ = 1;
    int lastTextColumn_ = 0;
    int grainColumn_ = -1;
    int firstEditableRow_ = 1;
    bool showEmptyRow_ = true;
};

}  // namespace trimora
