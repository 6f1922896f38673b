// The edge band types dialog: a grid of the band file's records, edited in place, with
// commands to add and delete band types; OK writes the band file.
#pragma once

#include <QDialog>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "core/text_grid.h"
#include "ui/form_messages.h"

class QAction;
class QMenu;
class QPushButton;

namespace trimora {

class StringGridView;
class TextGridModel;

class TBands : public QDialog {
    Q_OBJECT
public:
    TBands(std::filesystem::path bandFile, TextSource text, QWidget* parent = nullptr);

    void SetLengthUnit(int unit) { lengthUnit_ = unit; }
    // Called after OK has written the band file (the main window reloads its band lists).
    std::function<void()> onSaved;

    // Fills the grid from the band file.
    void FillGrid();
    // Sets the header cells from the language texts.
    void ApplyTexts();
    int BandTypeCount() const { return bandRows_; }
    const TextGrid& Grid() const { return grid_; }

    void Newbandtype1Click();
    void Deleterow1Click();
    void btnBandSaveClick();

private:
    bool CanSelectCell(const QModelIndex& index, bool byMouse);
    void CellSelected(const QModelIndex& index);
    void CellEdited(int column, int gridRow);
    void UpdateCommands();
    MessageAnswer Show(MessageKind kind, int number, std::optional<QPoint> position,
                       MessageButtons buttons = MessageButtons::Ok);

    std::filesystem::path bandFile_;
    TextSource text_;
    int lengthUnit_ = 1;
    TextGrid grid_{5};
    int32_t bandRows_ = 0;  // band types shown: grid rows 1..bandRows_
    std::string rememberedText_;

    TextGridModel* model_ = nullptr;
    StringGridView* StringGrid1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Newbandtype1 = nullptr;
    QAction* Deleterow1 = nullptr;
    QPushButton* btnBandSave = nullptr;
};

}  // namespace trimora
