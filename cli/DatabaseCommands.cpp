#include "DatabaseCommands.h"

#include "editor/database/CDbFileReader.h"
#include "editor/database/CIngameTextDb.h"
#include "editor/database/CMessageSink.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

// Keeps the first failure, which the command turns into its one line on standard error.
class CFirstMessageSink : public CMessageSink {
public:
    void Report(const std::string& key, const std::string& detail) override {
        if (!message.empty())
            return;
        if (key == "Error_OpenToRead")
            message = "cannot read " + detail;
        else if (key == "Error_OpenToWrite")
            message = "cannot write " + detail;
        else
            message = key + ": " + detail;
    }
    std::string message;
};

// Length of the valid UTF-8 sequence at text[i], or 0 when the byte there does not start one.
size_t Utf8SequenceLength(const std::string& text, size_t i) {
    struct Form {
        unsigned char firstLead, lastLead;
        size_t length;
        uint32_t smallest;
    };
    static constexpr Form kForms[] = {
        {0xC2, 0xDF, 2, 0x80}, {0xE0, 0xEF, 3, 0x800}, {0xF0, 0xF4, 4, 0x10000}};
    const auto byte = [&](size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return 1;
    for (const Form& form : kForms) {
        if (lead < form.firstLead || lead > form.lastLead)
            continue;
        if (i + form.length > text.size())
            return 0;
        uint32_t code = lead & (0x7F >> form.length);
        for (size_t k = 1; k < form.length; ++k) {
            if ((byte(i + k) & 0xC0) != 0x80)
                return 0;
            code = code << 6 | (byte(i + k) & 0x3F);
        }
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        return code < form.smallest || code > 0x10FFFF || surrogate ? 0 : form.length;
    }
    return 0;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    char escape[8];
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t length = Utf8SequenceLength(text, i);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || length == 0) {
            // Control characters, and bytes that are not UTF-8, as their byte value.
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out.append(text, i, length);
            i += length;
            continue;
        }
        ++i;
    }
    return out + "\"";
}

// Texts are printed one per line, so line breaks, tabs and backslashes are escaped.
std::string EscapeText(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

bool UnescapeText(const std::string& text, std::string& out, std::string& error) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (next == '\\')
            out += '\\';
        else if (next == 'n')
            out += '\n';
        else if (next == 't')
            out += '\t';
        else if (next == 'r')
            out += '\r';
        else {
            error = "TEXT has a backslash that is not one of \\\\ \\n \\t \\r";
            return false;
        }
        ++i;
    }
    return true;
}

int RunInfo(const CliContext& context) {
    if (context.args.size() != 2)
        return CliFail("usage: info FILE");
    CFirstMessageSink sink;
    CDbFileReader reader;
    CDbCatalogue catalogue;
    if (!reader.Open(context.args[1], sink) || !reader.ReadCatalogue(catalogue, sink))
        return CliFail(sink.message);

    std::string json = "{\"header\":[" + std::to_string(catalogue.headerWord1) + "," +
                       std::to_string(catalogue.headerWord2) + "],\"tables\":[";
    for (size_t t = 0; t < catalogue.Tables().size(); ++t) {
        const CDbTable& table = *catalogue.Tables()[t];
        json += t ? ",{" : "{";
        json += "\"name\":" + JsonString(table.Name());
        json += ",\"record_size\":" + std::to_string(table.RecordSize());
        json += ",\"records\":" + std::to_string(table.RecordCount());
        json += ",\"section_offset\":" + std::to_string(table.SectionOffset());
        json += ",\"descriptor_offset\":" + std::to_string(table.DescriptorOffset());
        json += ",\"columns\":[";
        for (int c = 0; c < table.ColumnCount(); ++c) {
            const CDbColumn& column = *table.Column(c);
            json += c ? ",{" : "{";
            json += "\"name\":" + JsonString(column.Name());
            json += ",\"low\":" + std::to_string(column.Low());
            json += ",\"high\":" + std::to_string(column.High());
            json += ",\"width\":" + std::to_string(column.Width()) + "}";
        }
        json += "],\"lists\":[";
        for (int list = 1; list <= 3; ++list) {
            json += list > 1 ? ",[" : "[";
            const auto& entries = table.NameList(list);
            for (size_t e = 0; e < entries.size(); ++e)
                json += (e ? "," : "") + JsonString(entries[e]);
            json += "]";
        }
        json += "]}";
    }
    json += "]}\n";
    std::cout << json;
    return 0;
}

int RunTexts(const CliContext& context) {
    const auto& args = context.args;
    const bool set = args.size() == 5 && args[2] == "--set";
    if (args.size() != 2 && !set)
        return CliFail("usage: texts FILE [--set ID TEXT]");
    CFirstMessageSink sink;
    CIngameTextDb texts(args[1]);
    if (!texts.ReadIngameTextDb(sink))
        return CliFail(sink.message);

    if (!set) {
        std::string out;
        for (const CIngameTextEntry& entry : texts.Entries())
            out += std::to_string(entry.textId) + "\t" + EscapeText(entry.text) + "\n";
        std::cout << out;
        return 0;
    }
    uint32_t id = 0;
    const std::string& idText = args[3];
    const auto [end, ec] = std::from_chars(idText.data(), idText.data() + idText.size(), id);
    if (ec != std::errc() || end != idText.data() + idText.size())
        return CliFail("ID must be a number from 0 to 4294967295, not '" + idText + "'");
    std::string text, error;
    if (!UnescapeText(args[4], text, error))
        return CliFail(error);
    if (!texts.SetText(id, text))
        return CliFail("no text with id " + idText + " in " + args[1]);
    if (!texts.SaveIngameTextDb(sink))
        return CliFail(sink.message);
    return 0;
}

} // namespace

const std::vector<CliCommand>& DatabaseCommands() {
    static const std::vector<CliCommand> commands = {
        {"info", "info FILE",
         "prints the catalogue of any database file as one line of JSON: "
         "{\"header\":[w1,w2],\"tables\":[{\"name\",\"record_size\",\"records\","
         "\"section_offset\",\"descriptor_offset\",\"columns\":[{\"name\",\"low\",\"high\","
         "\"width\"}],\"lists\":[[list 1],[list 2],[list 3]]}]}, tables in file order; bytes "
         "that are not UTF-8 appear as \\u00XX",
         &RunInfo},
        {"texts", "texts FILE [--set ID TEXT]",
         "prints the texts of an in-game text database, one 'ID<TAB>TEXT' line per entry in file "
         "order, with \\\\ \\n \\t \\r for backslash, line break, tab and return; with --set, "
         "gives the first entry with that ID the TEXT (same escapes) and saves the file",
         &RunTexts},
    };
    return commands;
}
