#include "CColumnRange.h"

#include "editor/model/CGameDatabase.h"

#include <algorithm>

CColumnRange CColumnRange::Of(const CGameDatabase& database, const std::string& table,
                              int column) {
    const CDbTable* layout = database.Catalogue().FindTable(table);
    if (!layout || column < 0 || column >= layout->ColumnCount())
        return {};
    return {layout->ColumnLow(column), layout->ColumnHigh(column)};
}

CColumnRange CColumnRange::Narrowed(int32_t otherLow, int32_t otherHigh) const {
    const int32_t newLow = std::max(low, otherLow);
    const int32_t newHigh = std::min(high, otherHigh);
    if (newLow > newHigh)
        return *this;
    return {newLow, newHigh};
}
