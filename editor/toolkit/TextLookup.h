#pragma once

#include <QString>

#include <functional>

// The localised text of a key; the key itself when it has no text.
using TextLookup = std::function<QString(const QString& key)>;
