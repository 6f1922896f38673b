#include "ui/table_models.h"

#include <algorithm>

namespace trimora {

CaptionedGridModel::CaptionedGridModel(int columns, QObject* parent) : QAbstractTableModel(parent) {
    headers_.resize(columns);
}

QVariant CaptionedGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::EditRole) &&
        section >= 0 && section < headers_.size())
        return headers_[section];
    if (orientation == Qt::Vertical && role == Qt::DisplayRole) return section + 1;
    return {};
}

bool CaptionedGridModel::setHeaderData(int section, Qt::Orientation orientation,
                                       const QVariant& value, int role) {
    if (orientation != Qt::Horizontal || section < 0 || section >= headers_.size() ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return false;
    headers_[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

TextGridModel::TextGridModel(TextGrid& grid, const int32_t& filledRows, QObject* parent)
    : CaptionedGridModel(grid.ColumnCount(), parent), grid_(grid), filledRows_(filledRows) {
    lastTextColumn_ = grid_.ColumnCount() - 1;
    shownRows_ = WantedRows();
}

int TextGridModel::WantedRows() const {
    return std::max(0, static_cast<int>(filledRows_)) + (showEmptyRow_ ? 1 : 0);
}

void TextGridModel::SetShowEmptyRow(bool show) {
    showEmptyRow_ = show;
    Reload();
}

int TextGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows_;
}

int TextGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.ColumnCount();
}

bool TextGridModel::IsFilledRow(const QModelIndex& index) const {
    return index.isValid() && GridRow(index) <= filledRows_;
}

QString TextGridModel::CellText(int column, int gridRow) const {
    return QString::fromStdString(grid_.Cell(column, gridRow));
}

QVariant TextGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const QString text = CellText(index.column(), GridRow(index));
    if (index.column() == grainColumn_) {
        // The grain column shows a picture only; the delegate reads the text itself.
        if (role == Qt::EditRole || role == Qt::UserRole) return text;
        if (role == Qt::ToolTipRole) return text;
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole) return text;
    return {};
}

bool TextGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    const int column = index.column();
    const int row = GridRow(index);
    const std::string text = value.toString().toStdString();
    if (grid_.Cell(column, row) == text) return true;  // no change, nothing to validate
    grid_.SetCell(column, row, text);
    emit dataChanged(index, index);
    emit cellEdited(column, row);
    return true;
}

Qt::ItemFlags TextGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int c = index.column();
    if (IsFilledRow(index) && GridRow(index) >= firstEditableRow_ && c >= firstTextColumn_ &&
        c <= lastTextColumn_ && c != grainColumn_)
        f |= Qt::ItemIsEditable;
    return f;
}

void TextGridModel::SetTextColumns(int first, int last) {
    firstTextColumn_ = first;
    lastTextColumn_ = last;
}

void TextGridModel::Reload() {
    const int wanted = WantedRows();
    if (wanted > shownRows_) {
        beginInsertRows({}, shownRows_, wanted - 1);
        shownRows_ = wanted;
        endInsertRows();
    } else if (wanted < shownRows_) {
        beginRemoveRows({}, wanted, shownRows_ - 1);
        shownRows_ = wanted;
        endRemoveRows();
    }
    if (shownRows_ > 0) emit dataChanged(index(0, 0), index(shownRows_ - 1, columnCount() - 1));
}

}  // namespace trimora
