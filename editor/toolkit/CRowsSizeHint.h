#pragma once

#include <QSize>

class QAbstractItemView;

// The size an item view asks its layout for so that it shows a number of rows and its columns
// at their content's width, instead of Qt's fixed 256 × 192: windows open at a size that shows
// their lists.
class CRowsSizeHint {
public:
    static QSize Of(const QAbstractItemView& view, int rows);
};
