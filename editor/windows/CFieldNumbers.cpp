#include "CFieldNumbers.h"

#include "editor/model/CColumnRange.h"
#include "editor/toolkit/CArrowRangeSpinBox.h"
#include "editor/windows/CFrameHost.h"

void CFieldNumbers::Fill(CArrowRangeSpinBox* box, const CFrameHost& host,
                         const CGameDatabase& database, const std::string& table, int column,
                         int32_t value) {
    const CColumnRange range = CColumnRange::Of(database, table, column);
    box->Fill(value, range.low, range.high);
    box->setToolTip(host.Text("Caption_AllowedRange").arg(range.low).arg(range.high));
}
