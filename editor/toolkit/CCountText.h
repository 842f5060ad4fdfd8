#pragma once

#include "editor/toolkit/TextLookup.h"

#include <QString>

// Texts with a count in the language's plural forms. A counted text holds its singular and
// plural forms separated by "|" ("%1 player|%1 players"); the language file's
// Caption_PluralOne lists the counts that take the singular ("1" in English, "0 1" in French).
class CCountText {
public:
    // The form of `key` for the count, with the count put in for %1.
    static QString Of(const TextLookup& text, const QString& key, qint64 count);
    // The form of `forms` for the count; a text without "|" is its only form.
    static QString Choose(const QString& forms, const QString& singularCounts, qint64 count);
};
