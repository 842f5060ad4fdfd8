#include "CDbFileReader.h"

#include "CMessageSink.h"
#include "LittleEndian.h"
#include "Utf8Path.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

std::string Hex(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

// Sequential, bounds-checked reading of the descriptor area.
class CWordReader {
public:
    explicit CWordReader(std::span<const uint8_t> file, uint64_t position)
        : m_file(file), m_position(position) {}
    bool Read(uint32_t& value) {
        if (m_position + 4 > m_file.size())
            return false;
        value = LoadLe32(m_file.data() + m_position);
        m_position += 4;
        return true;
    }
    uint64_t Position() const { return m_position; }

private:
    std::span<const uint8_t> m_file;
    uint64_t m_position;
};

} // namespace

bool CDbFileReader::Open(const std::string& path, CMessageSink& sink) {
    // A folder, FIFO or device is no database; opening a FIFO would wait for a writer forever.
    std::error_code statusError;
    const auto status = std::filesystem::status(Utf8Path(path), statusError);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        sink.Report("Error_OpenToRead", path + (std::filesystem::is_directory(status)
                                                    ? ": it is a folder"
                                                    : ": it is not a regular file"));
        return false;
    }
    std::unique_ptr<FILE, int (*)(FILE*)> file(OpenUtf8(path, "rb"), &std::fclose);
    if (!file) {
        sink.Report("Error_OpenToRead", path + ": " + std::strerror(errno));
        return false;
    }
    // One read of the whole file; the size is a hint, the loop takes whatever is there.
    std::vector<uint8_t> bytes;
    std::error_code ec;
    const auto hint = std::filesystem::file_size(Utf8Path(path), ec);
    if (!ec && hint > UINT32_MAX) {
        sink.Report("Error_OpenToRead", path + ": file is larger than 4 GB");
        return false;
    }
    bytes.resize(ec ? 65536 : static_cast<size_t>(hint) + 1);
    size_t filled = 0;
    for (;;) {
        filled += std::fread(bytes.data() + filled, 1, bytes.size() - filled, file.get());
        if (filled < bytes.size() || filled > UINT32_MAX)
            break;
        bytes.resize(bytes.size() * 2);
    }
    bytes.resize(filled);
    if (std::ferror(file.get())) {
        sink.Report("Error_OpenToRead", path + ": read error: " + std::strerror(errno));
        return false;
    }
    if (bytes.size() > UINT32_MAX) {
        sink.Report("Error_OpenToRead", path + ": file is larger than 4 GB");
        return false;
    }
    m_path = path;
    m_bytes = std::move(bytes);
    return true;
}

void CDbFileReader::Assign(std::vector<uint8_t> bytes, std::string name) {
    m_bytes = std::move(bytes);
    m_path = std::move(name);
}

bool CDbFileReader::ReadStoredString(std::span<const uint8_t> file, uint32_t pointer,
                                     std::string& out, std::string& error) {
    if (uint64_t{pointer} + 4 > file.size()) {
        error = "string pointer " + Hex(pointer) + " lies past the end of the file (size " +
                Hex(file.size()) + ")";
        return false;
    }
    const uint32_t length = LoadLe32(file.data() + pointer);
    if (length > kMaxStringBytes) {
        error = "string at " + Hex(pointer) + " claims " + std::to_string(length) +
                " bytes, more than 255";
        return false;
    }
    if (uint64_t{pointer} + 4 + length > file.size()) {
        error = "string at " + Hex(pointer) + " of " + std::to_string(length) +
                " bytes runs past the end of the file";
        return false;
    }
    const char* begin = reinterpret_cast<const char*>(file.data()) + pointer + 4;
    const void* zero = std::memchr(begin, 0, length);
    out.assign(begin, zero ? static_cast<const char*>(zero) : begin + length);
    return true;
}

bool CDbFileReader::ReadCatalogue(CDbCatalogue& catalogue, CMessageSink& sink) const {
    const std::span<const uint8_t> file = m_bytes;
    auto fail = [&](const std::string& detail) {
        sink.Report("Error_OpenToRead", m_path + ": " + detail);
        return false;
    };
    if (file.size() < 12)
        return fail("file of " + std::to_string(file.size()) + " bytes is too short for a header");

    CDbCatalogue result;
    result.filePath = m_path;
    result.headerWord1 = LoadLe32(file.data());
    result.headerWord2 = LoadLe32(file.data() + 4);
    result.tableCount = LoadLe32(file.data() + 8);
    const uint64_t count = result.tableCount;
    // Each table takes a directory word and a descriptor of at least 24 bytes.
    if (12 + count * 28 > file.size())
        return fail("table count " + std::to_string(count) + " does not fit in the file");

    CWordReader words(file, 12 + 4 * count);
    for (uint64_t t = 0; t < count; ++t) {
        const uint64_t descriptor = words.Position();
        const std::string where =
            "table " + std::to_string(t) + " (descriptor at " + Hex(descriptor) + ")";
        uint32_t namePointer = 0, recordSize = 0, k1 = 0, k3 = 0, k2 = 0, columns = 0;
        if (!words.Read(namePointer) || !words.Read(recordSize) || !words.Read(k1) ||
            !words.Read(k3) || !words.Read(k2) || !words.Read(columns))
            return fail(where + ": descriptor runs past the end of the file");
        const uint64_t rest = 8 * uint64_t{columns} + 4 * (uint64_t{k1} + k2 + k3 + columns);
        if (words.Position() + rest > file.size())
            return fail(where + ": " + std::to_string(columns) + " columns and name lists of " +
                        std::to_string(k1) + ", " + std::to_string(k2) + ", " + std::to_string(k3) +
                        " entries run past the end of the file");

        auto table = std::make_unique<CDbTable>(LoadLe32(file.data() + 12 + 4 * t),
                                                static_cast<uint32_t>(descriptor));
        std::string text, error;
        if (!ReadStoredString(file, namePointer, text, error))
            return fail(where + ", name: " + error);
        table->SetName(text);
        const std::string named =
            "table " + table->Name() + " (descriptor at " + Hex(descriptor) + ")";
        table->SetRecordSize(recordSize);
        for (uint32_t c = 0; c < columns; ++c) {
            uint32_t low = 0, high = 0;
            words.Read(low);
            words.Read(high);
            table->AddColumn({}, static_cast<int32_t>(low), static_cast<int32_t>(high));
        }
        if (table->TotalColumnBits() > 8 * int64_t{kMaxPackedBytes})
            return fail(named + ": its columns need more than " + std::to_string(kMaxPackedBytes) +
                        " packed bytes");
        for (const auto& [list, entries] : {std::pair{1, k1}, {3, k3}, {2, k2}}) {
            for (uint32_t e = 0; e < entries; ++e) {
                uint32_t pointer = 0;
                words.Read(pointer);
                if (!ReadStoredString(file, pointer, text, error))
                    return fail(named + ", name list " + std::to_string(list) + " entry " +
                                std::to_string(e) + ": " + error);
                table->AddNameListEntry(list, text);
            }
        }
        for (uint32_t c = 0; c < columns; ++c) {
            uint32_t pointer = 0;
            words.Read(pointer);
            if (!ReadStoredString(file, pointer, text, error))
                return fail(named + ", column " + std::to_string(c) + " name: " + error);
            table->SetColumnName(static_cast<int>(c), text);
        }

        const uint64_t section = table->SectionOffset();
        if (section + 8 > file.size())
            return fail(named + ": record section at " + Hex(section) +
                        " lies past the end of the file");
        const uint32_t records = LoadLe32(file.data() + section);
        if (records > 0 && recordSize == 0)
            return fail(named + ": " + std::to_string(records) + " records of size 0");
        if (section + 8 + uint64_t{records} * recordSize > file.size())
            return fail(named + ": " + std::to_string(records) + " records of " +
                        std::to_string(recordSize) + " bytes at " + Hex(section + 8) +
                        " run past the end of the file");
        table->SetRecordCount(records);
        result.AddTable(std::move(table));
    }
    catalogue = std::move(result);
    return true;
}

std::optional<CDbRecordCursor> CDbFileReader::Records(const CDbTable& table, int fixedWords,
                                                      CMessageSink& sink) const {
    const std::string where = m_path + ": table " + table.Name();
    const uint64_t fixedBytes = 4 * static_cast<uint64_t>(fixedWords < 0 ? 0 : fixedWords);
    const uint64_t section = table.SectionOffset();
    const uint64_t size = table.RecordSize();
    auto fail = [&](const std::string& detail) {
        sink.Report("Error_OpenToRead", where + ": " + detail);
        return std::nullopt;
    };
    if (section + 8 > m_bytes.size())
        return fail("record section at " + Hex(section) + " lies past the end of the file");
    const uint32_t records = LoadLe32(m_bytes.data() + section);
    if (records > 0 && size < fixedBytes)
        return fail("record size " + std::to_string(size) + " cannot hold " +
                    std::to_string(fixedWords) + " fixed words");
    if (records > 0 && size - fixedBytes > kMaxPackedBytes)
        return fail("record size " + std::to_string(size) + " leaves a packed area of more than " +
                    std::to_string(kMaxPackedBytes) + " bytes");
    if (records > 0 && section + 8 + records * size > m_bytes.size())
        return fail(std::to_string(records) + " records of " + std::to_string(size) + " bytes at " +
                    Hex(section + 8) + " run past the end of the file");
    return CDbRecordCursor(m_bytes, where, static_cast<uint32_t>(section + 8), records,
                           static_cast<uint32_t>(size), fixedWords < 0 ? 0 : fixedWords, &sink);
}
