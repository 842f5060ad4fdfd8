#pragma once

#include <QString>

// What the last Find asked for; offered again by the next one.
struct CFindSettings {
    QString text;
    bool leagues = true;
    bool teams = true;
    bool players = true;
};
