// Reads any bytes as an in-game text database; one that reads must write and read back to the
// same texts.
#include "editor/database/CDbFileReader.h"
#include "editor/database/CIngameTextDb.h"
#include "editor/database/CMessageSink.h"

#include <cstddef>
#include <cstdint>

namespace {

class CNullSink : public CMessageSink {
public:
    void Report(const std::string&, const std::string&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CDbFileReader reader;
    reader.Assign(std::vector<uint8_t>(data, data + size), "fuzz.db");
    CNullSink sink;
    CIngameTextDb texts("fuzz.db");
    if (!texts.ReadIngameTextDb(reader, sink))
        return 0;
    for (const CIngameTextEntry& entry : texts.Entries())
        (void)texts.FindText(entry.textId);
    const auto written = texts.BuildFile(sink);
    if (!written)
        return 0;
    CDbFileReader again;
    again.Assign(*written, "written.db");
    CIngameTextDb back("written.db");
    if (!back.ReadIngameTextDb(again, sink) || back.Entries().size() != texts.Entries().size())
        __builtin_trap();
    for (size_t i = 0; i < texts.Entries().size(); ++i)
        if (back.Entries()[i].text != texts.Entries()[i].text ||
            back.Entries()[i].textId != texts.Entries()[i].textId)
            __builtin_trap();
    return 0;
}
