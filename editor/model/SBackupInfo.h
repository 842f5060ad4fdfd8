#pragma once

#include <cstdint>
#include <map>
#include <string>

// What the side file of a backup records, so a list can show it without loading the copy.
struct SBackupInfo {
    std::string name;    // the copy's file name in the backups folder
    std::string file;    // the name of the file it is a copy of, e.g. "corvid.db"
    std::string time;    // local time of the copy, "2026-12-07 14:03:22"
    std::string version; // the program that made it
    uint64_t size = 0;
    std::string sha256;
    // The first backup ever made of the file: never rotated out.
    bool original = false;
    // Order of making across the folder (times can repeat within a second).
    int64_t sequence = 0;
    // Records per table of the copy ("players", "teams", "leagues", "texts"); empty when the
    // file could not be read as a database.
    std::map<std::string, int64_t> counts;
};
