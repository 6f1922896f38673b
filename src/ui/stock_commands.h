// The two stock buttons of the input page: good offcuts of the last result become sheet rows
// (BitBtn15), and the sheets the result used are taken off the sheet table (TableMinus). Each
// acts once per result; a run that placed every piece enables them again.
#pragma once

namespace trimora {

class TMainForm;

void BitBtn15Click(TMainForm& form);
void TableMinusClick(TMainForm& form);

// Connects the input page's buttons to the handlers above.
void ConnectStockButtons(TMainForm& form);

}  // namespace trimora
