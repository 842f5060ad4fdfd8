#pragma once

#include "CDbCatalogue.h"
#include "CDbRecordCursor.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class CMessageSink;

// A database file read once into memory, and the checked decoding of its catalogue, records
// and stored strings. Every failure is reported to the sink under "Error_OpenToRead" with a
// detail that names the file, the table, the record and the offset.
class CDbFileReader {
public:
    // Reads the whole file. Fails (and reports the system's reason) when it cannot be read.
    bool Open(const std::string& path, CMessageSink& sink);
    // Takes bytes already in memory; name stands for the file in messages.
    void Assign(std::vector<uint8_t> bytes, std::string name);

    const std::string& Path() const { return m_path; }
    std::span<const uint8_t> Bytes() const { return m_bytes; }

    // Reads header, directory and all descriptors, and checks that every record section lies
    // within the file. On success replaces catalogue (file path = Path()); on failure leaves it
    // untouched.
    bool ReadCatalogue(CDbCatalogue& catalogue, CMessageSink& sink) const;

    // A cursor over the records of a table read by ReadCatalogue, whose records begin with
    // fixedWords words. Fails when the record size cannot hold them or leaves a packed area of
    // more than 256 bytes.
    std::optional<CDbRecordCursor> Records(const CDbTable& table, int fixedWords,
                                           CMessageSink& sink) const;

    // The stored string at pointer: at most 255 bytes, cut at the first zero byte. On failure
    // error says what is wrong (without the file name) and out is unchanged.
    static bool ReadStoredString(std::span<const uint8_t> file, uint32_t pointer, std::string& out,
                                 std::string& error);

    static constexpr uint32_t kMaxStringBytes = 255;
    static constexpr uint32_t kMaxPackedBytes = 256;

private:
    std::string m_path;
    std::vector<uint8_t> m_bytes;
};
