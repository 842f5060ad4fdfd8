#pragma once

#include <QImage>
#include <QString>

// What the formation view draws for one marker; the page that owns the view fills it in.
struct SFormationMarker {
    int cell = 0;       // grid cell, row * 10 + column
    int stackLevel = 0; // earlier markers in the same cell: drawn that far offset
    bool setPiece = false;
    QImage icon;         // player markers: the position icon
    QString boxText;     // jersey number, or the set-piece label
    QString name;        // shown under the box
    QString toolTip;     // rich text
    QString description; // what a screen reader says of the marker
};
