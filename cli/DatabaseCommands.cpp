#include "DatabaseCommands.h"

#include "CCliFiles.h"
#include "CliJson.h"
#include "ModelGame.h"

#include "editor/database/CDbFileReader.h"
#include "editor/database/CIngameTextDb.h"
#include "editor/database/CMessageSink.h"
#include "editor/database/Utf8Path.h"
#include "editor/model/CBackupStore.h"

#include <charconv>
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

// The file named, or standard input for "-".
bool OpenReader(const std::string& path, CDbFileReader& reader, CFirstMessageSink& sink,
                std::string& error) {
    if (!CCliFiles::IsStandard(path)) {
        if (reader.Open(path, sink))
            return true;
        error = sink.message;
        return false;
    }
    auto bytes = CCliFiles::Read(path, error);
    if (!bytes)
        return false;
    reader.Assign(std::move(*bytes), "standard input");
    return true;
}

int RunInfo(const CliContext& context) {
    if (context.args.size() != 2)
        return CliUsage("info FILE");
    CFirstMessageSink sink;
    CDbFileReader reader;
    CDbCatalogue catalogue;
    std::string error;
    if (!OpenReader(context.args[1], reader, sink, error))
        return CliFail(error);
    if (!reader.ReadCatalogue(catalogue, sink))
        return CliFail(sink.message);

    CliJson tables = CliJson::array();
    for (const auto& table : catalogue.Tables()) {
        CliJson columns = CliJson::array();
        for (int c = 0; c < table->ColumnCount(); ++c) {
            const CDbColumn& column = *table->Column(c);
            columns.push_back({{"name", CliByteString(column.Name())},
                               {"low", column.Low()},
                               {"high", column.High()},
                               {"width", column.Width()}});
        }
        CliJson lists = CliJson::array();
        for (int list = 1; list <= 3; ++list) {
            CliJson entries = CliJson::array();
            for (const std::string& entry : table->NameList(list))
                entries.push_back(CliByteString(entry));
            lists.push_back(std::move(entries));
        }
        tables.push_back({{"name", CliByteString(table->Name())},
                          {"record_size", table->RecordSize()},
                          {"records", table->RecordCount()},
                          {"section_offset", table->SectionOffset()},
                          {"descriptor_offset", table->DescriptorOffset()},
                          {"columns", std::move(columns)},
                          {"lists", std::move(lists)}});
    }
    CliJson json;
    json["header"] = {catalogue.headerWord1, catalogue.headerWord2};
    json["tables"] = std::move(tables);
    std::cout << CliJsonTextKeepingBytes(json) << "\n";
    return 0;
}

int RunTexts(const CliContext& context) {
    const auto& args = context.args;
    const bool set = context.Has("--set");
    if (args.size() != 2)
        return CliUsage("texts FILE [--set ID TEXT]");
    if (set && CCliFiles::IsStandard(args[1]))
        return CliUsage("texts FILE [--set ID TEXT] (--set saves the FILE, so it cannot be -)");
    // A change is read and written under the lock of the game (or of the file's folder).
    SCliGamePaths paths;
    std::string error;
    const std::string beside = paths.Resolve(context, error) ? paths.db : args[1];
    CInstallationLock lock;
    if (set && !LockFolderOf(beside, lock, error))
        return CliFail(error);
    CFirstMessageSink sink;
    CIngameTextDb texts(args[1]);
    CDbFileReader reader;
    if (!OpenReader(args[1], reader, sink, error))
        return CliFail(error);
    if (!texts.ReadIngameTextDb(reader, sink))
        return CliFail(sink.message);

    if (!set) {
        std::string out;
        for (const CIngameTextEntry& entry : texts.Entries())
            out += std::to_string(entry.textId) + "\t" + EscapeText(entry.text) + "\n";
        std::cout << out;
        return 0;
    }
    uint32_t id = 0;
    const std::string& idText = context.options.at("--set")[0];
    const auto [end, ec] = std::from_chars(idText.data(), idText.data() + idText.size(), id);
    if (ec != std::errc() || end != idText.data() + idText.size())
        return CliFail("ID must be a number from 0 to 4294967295, not '" + idText + "'");
    std::string text;
    if (!UnescapeText(context.options.at("--set")[1], text, error))
        return CliFail(error);
    if (!texts.SetText(id, text))
        return CliFail("no text with id " + idText + " in " + args[1]);
    // As every save: the file as it was goes to the game's backups folder (or one beside it).
    std::string made;
    const CBackupStore store(CBackupStore::FolderFor(Utf8Path(beside)));
    if (!store.Backup(Utf8Path(args[1]), paths.keep, made, error))
        return CliFail("nothing was saved, the file could not be backed up: " + error);
    if (!texts.SaveIngameTextDb(sink))
        return CliFail(sink.message);
    return 0;
}

} // namespace

const std::vector<CliCommand>& DatabaseCommands() {
    static const std::vector<CliCommand> commands = {
        {"info", "info FILE",
         "prints the catalogue of any database file (FILE - : standard input) as one line of "
         "JSON: "
         "{\"header\":[w1,w2],\"tables\":[{\"name\",\"record_size\",\"records\","
         "\"section_offset\",\"descriptor_offset\",\"columns\":[{\"name\",\"low\",\"high\","
         "\"width\"}],\"lists\":[[list 1],[list 2],[list 3]]}]}, tables in file order; bytes "
         "that are not UTF-8 appear as \\u00XX",
         &RunInfo},
        {"texts",
         "texts FILE [--set ID TEXT]",
         "prints the texts of an in-game text database (FILE - : standard input), one "
         "'ID<TAB>TEXT' line per entry in file "
         "order, with \\\\ \\n \\t \\r for backslash, line break, tab and return; with --set, "
         "gives the first entry with that ID the TEXT (same escapes) and saves the file",
         &RunTexts,
         {{"--set", 2, "ID TEXT  gives the entry ID the TEXT and saves the file"}}},
    };
    return commands;
}
