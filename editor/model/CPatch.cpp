#include "CPatch.h"

#include "editor/database/CSafeFile.h"
#include "editor/database/CSha256.h"
#include "editor/database/Utf8Path.h"
#include "editor/model/CDiffFields.h"
#include "editor/model/CFieldDiff.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CJsonText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <tuple>

#ifndef KESTREL_VERSION
#define KESTREL_VERSION "dev"
#endif

namespace {

using EType = SRecordChange::EType;
using SValue = CJsonText::SValue;
using EJson = SValue::EType;
using EValue = CDiffFields::EValue;

// Names and types only: ranges are checked against the database a patch is applied to.
const CDiffFields& FieldNames() {
    static const CDbCatalogue empty;
    static const CDiffFields fields(empty);
    return fields;
}

const char* TypeName(EType type) {
    return type == EType::Added ? "added" : type == EType::Removed ? "removed" : "changed";
}

bool IsJsonNumber(std::string_view text) {
    SValue value;
    std::string error;
    return !text.empty() && CJsonText::Parse(text, value, error) && value.type == EJson::Number;
}

std::string ValueText(EValue type, const std::string& value) {
    if ((type == EValue::Number || type == EValue::Float) && IsJsonNumber(value))
        return value;
    return CJsonText::Quote(value);
}

bool Fail(int line, const std::string& what, std::string& error) {
    error = "line " + std::to_string(line) + ": " + what;
    return false;
}

bool ReadInt(const SValue& value, int32_t& out) {
    if (value.type != EJson::Number)
        return false;
    const char* end = value.text.data() + value.text.size();
    const auto [ptr, ec] = std::from_chars(value.text.data(), end, out);
    return ec == std::errc() && ptr == end;
}

// A field's value in the patch as the field's text; false with the reason.
bool ReadValue(const SValue& value, EValue type, std::string& out, std::string& why) {
    switch (type) {
    case EValue::Number: {
        int32_t number = 0;
        if (value.type != EJson::Number) {
            why = "a whole number is expected";
            return false;
        }
        if (!ReadInt(value, number)) {
            why = "value " + value.text + " is out of range (a 32-bit whole number is expected)";
            return false;
        }
        out = std::to_string(number);
        return true;
    }
    case EValue::Float: {
        if (value.type == EJson::String) {
            out = value.text; // a value that is no number (NaN) as the database holds it
            return true;
        }
        float number = 0;
        const char* end = value.text.data() + value.text.size();
        const auto [ptr, ec] = std::from_chars(value.text.data(), end, number);
        if (value.type != EJson::Number || ec != std::errc() || ptr != end ||
            !std::isfinite(number)) {
            why = "a number is expected";
            return false;
        }
        char buffer[64];
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, number);
        out.assign(buffer, written.ptr);
        return true;
    }
    case EValue::Text:
        if (value.type != EJson::String) {
            why = "a string is expected";
            return false;
        }
        out = value.text;
        return true;
    case EValue::IdList: {
        std::vector<int32_t> ids;
        if (value.type != EJson::String || !CDiffFields::ParseIdList(value.text, ids)) {
            why = "a string of ids separated by commas is expected";
            return false;
        }
        out = value.text;
        return true;
    }
    }
    return false;
}

bool ReadChange(const SValue& item, SRecordChange& change, std::string& error) {
    const CDiffFields& names = FieldNames();
    if (item.type != EJson::Object)
        return Fail(item.line, "a change must be an object", error);
    const SValue* kind = item.Member("kind");
    if (!kind || kind->type != EJson::String)
        return Fail(item.line, "a change needs a \"kind\" string", error);
    const auto found = CDiffFields::KindOfName(kind->text);
    if (!found)
        return Fail(kind->line, "unknown kind '" + kind->text + "'", error);
    change.kind = *found;
    change.line = item.line;
    const SValue* type = item.Member("change");
    if (!type || type->type != EJson::String ||
        (type->text != "added" && type->text != "removed" && type->text != "changed"))
        return Fail(type ? type->line : item.line,
                    "\"change\" must be \"added\", \"removed\" or \"changed\"", error);
    change.type = type->text == "added"     ? EType::Added
                  : type->text == "removed" ? EType::Removed
                                            : EType::Changed;
    const auto keys = CDiffFields::KeyNames(change.kind);
    for (size_t k = 0; k < keys.size(); ++k) {
        const SValue* key = item.Member(keys[k]);
        int32_t id = 0;
        if (!key || !ReadInt(*key, id))
            return Fail(key ? key->line : item.line,
                        std::string("\"") + keys[k] + "\" must be a 32-bit whole number", error);
        (k == 0 ? change.id : change.sub) = id;
    }
    if (change.kind == ERecordKind::Kit && (change.sub < 0 || change.sub >= CTeamKit::kSlotCount))
        return Fail(item.line, "kit type " + std::to_string(change.sub) + " is outside 0..10", error);
    for (const CJsonText::SMember& member : item.members)
        if (member.key != "kind" && member.key != "change" && member.key != "fields" &&
            std::find_if(keys.begin(), keys.end(),
                         [&](const char* k) { return member.key == k; }) == keys.end())
            return Fail(member.value.line, "unknown key '" + member.key + "'", error);
    const SValue* fields = item.Member("fields");
    if (!fields || fields->type != EJson::Object)
        return Fail(fields ? fields->line : item.line, "a change needs a \"fields\" object", error);
    for (const auto& [name, value] : fields->members) {
        const auto valueType = names.ValueType(change.kind, name);
        if (!valueType)
            return Fail(value.line,
                        std::string("unknown field '") + name + "' of kind " + kind->text, error);
        SFieldChange field{name, {}, {}};
        std::string why;
        if (change.type == EType::Changed) {
            if (value.type != EJson::Array || value.items.size() != 2)
                return Fail(value.line, "field '" + name + "': a pair [old, new] is expected",
                            error);
            if (!ReadValue(value.items[0], *valueType, field.oldValue, why) ||
                !ReadValue(value.items[1], *valueType, field.newValue, why))
                return Fail(value.line, "field '" + name + "': " + why, error);
            if (field.oldValue == field.newValue)
                return Fail(value.line, "field '" + name + "': old and new value are the same",
                            error);
        } else if (!ReadValue(value, *valueType,
                              change.type == EType::Added ? field.newValue : field.oldValue, why)) {
            return Fail(value.line, "field '" + name + "': " + why, error);
        }
        change.fields.push_back(std::move(field));
    }
    std::sort(change.fields.begin(), change.fields.end(),
              [](const SFieldChange& a, const SFieldChange& b) { return a.field < b.field; });
    if (change.type == EType::Changed && change.fields.empty())
        return Fail(fields->line, "a changed record needs at least one field", error);
    if (change.type != EType::Changed)
        for (const std::string& name : names.FieldNames(change.kind))
            if (std::none_of(change.fields.begin(), change.fields.end(),
                             [&](const SFieldChange& f) { return f.field == name; }))
                return Fail(fields->line,
                            std::string("an ") + TypeName(change.type) +
                                " record needs every field; '" + name + "' is missing",
                            error);
    return true;
}

bool ReadHeader(const SValue& root, CPatch::SHeader& header, std::string& error) {
    const SValue* format = root.Member("format");
    if (!format || format->type != EJson::String || format->text != CPatch::kFormatName)
        return Fail(format ? format->line : root.line,
                    std::string("not a patch: \"format\" must be \"") + CPatch::kFormatName + "\"",
                    error);
    const SValue* version = root.Member("version");
    int32_t number = 0;
    if (!version || !ReadInt(*version, number))
        return Fail(version ? version->line : root.line, "\"version\" must be a whole number",
                    error);
    if (number != CPatch::kFormatVersion)
        return Fail(version->line,
                    "unknown format version " + std::to_string(number) + " (this program reads " +
                        std::to_string(CPatch::kFormatVersion) + ")",
                    error);
    header.version = number;
    for (const auto& [key, value] : root.members) {
        if (key == "tool" || key == "message") {
            if (value.type != EJson::String)
                return Fail(value.line, "\"" + key + "\" must be a string", error);
            (key == "tool" ? header.tool : header.message) = value.text;
        } else if (key == "base") {
            if (value.type != EJson::Object)
                return Fail(value.line, "\"base\" must be an object", error);
            for (const auto& [name, part] : value.members) {
                if (name == "sha256" && part.type == EJson::String) {
                    header.baseSha256 = part.text;
                } else if (name == "counts" && part.type == EJson::Object) {
                    for (const auto& [what, count] : part.members) {
                        int32_t n = 0;
                        if (!ReadInt(count, n) || n < 0)
                            return Fail(count.line, "a count must be a whole number of 0 or more",
                                        error);
                        header.baseCounts[what] = n;
                    }
                } else {
                    return Fail(part.line, "unknown or mistyped key '" + name + "' of \"base\"",
                                error);
                }
            }
        } else if (key != "format" && key != "version" && key != "changes") {
            return Fail(value.line, "unknown key '" + key + "'", error);
        }
    }
    return true;
}

} // namespace

std::map<std::string, int64_t> CPatch::Counts(const CGameDatabase& db) {
    int64_t kits = 0, squads = 0;
    for (const auto& [id, team] : db.Teams()) {
        squads += static_cast<int64_t>(team.Links().size());
        for (int slot = 0; slot < CTeamKit::kSlotCount; ++slot)
            kits += team.FindKit(slot) ? 1 : 0;
    }
    return {{"players", static_cast<int64_t>(db.Players().size())},
            {"teams", static_cast<int64_t>(db.Teams().size())},
            {"leagues", static_cast<int64_t>(db.Leagues().size())},
            {"stadiums", static_cast<int64_t>(db.Stadiums().size())},
            {"formations", static_cast<int64_t>(db.Formations().size())},
            {"kits", kits},
            {"squads", squads}};
}

CPatch CPatch::Make(const CGameDatabase& base, const CGameDatabase& changed,
                    std::string baseSha256, std::string message) {
    CPatch patch;
    patch.header.tool = std::string("Kestrel ") + KESTREL_VERSION;
    patch.header.message = std::move(message);
    patch.header.baseSha256 = std::move(baseSha256);
    patch.header.baseCounts = Counts(base);
    patch.changes = CFieldDiff::Compare(base, changed);
    return patch;
}

std::string CPatch::ToText() const {
    const CDiffFields& names = FieldNames();
    std::string out = "{\n";
    out += "  \"format\": " + CJsonText::Quote(kFormatName) + ",\n";
    out += "  \"version\": " + std::to_string(header.version) + ",\n";
    out += "  \"tool\": " + CJsonText::Quote(header.tool) + ",\n";
    out += "  \"message\": " + CJsonText::Quote(header.message) + ",\n";
    out += "  \"base\": {\"sha256\": " + CJsonText::Quote(header.baseSha256) + ", \"counts\": {";
    bool first = true;
    for (const auto& [name, count] : header.baseCounts) {
        out += (first ? "" : ", ") + CJsonText::Quote(name) + ": " + std::to_string(count);
        first = false;
    }
    out += "}},\n  \"changes\": [";
    for (size_t i = 0; i < changes.size(); ++i) {
        const SRecordChange& change = changes[i];
        out += i == 0 ? "\n" : ",\n";
        out += "    {\"kind\": " + CJsonText::Quote(CDiffFields::KindName(change.kind));
        const auto keys = CDiffFields::KeyNames(change.kind);
        out += std::string(", \"") + keys[0] + "\": " + std::to_string(change.id);
        if (keys.size() > 1)
            out += std::string(", \"") + keys[1] + "\": " + std::to_string(change.sub);
        out += std::string(", \"change\": \"") + TypeName(change.type) + "\", \"fields\": {";
        for (size_t f = 0; f < change.fields.size(); ++f) {
            const SFieldChange& field = change.fields[f];
            const EValue type = names.ValueType(change.kind, field.field).value_or(EValue::Text);
            out += (f == 0 ? "" : ", ") + CJsonText::Quote(field.field) + ": ";
            if (change.type == EType::Changed)
                out += "[" + ValueText(type, field.oldValue) + ", " +
                       ValueText(type, field.newValue) + "]";
            else
                out += ValueText(type, change.type == EType::Added ? field.newValue
                                                                   : field.oldValue);
        }
        out += "}}";
    }
    out += changes.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

bool CPatch::Read(std::string_view text, CPatch& patch, std::string& error) {
    patch = CPatch();
    if (text.size() > kMaxFileSize)
        return Fail(1, "the file is larger than " + std::to_string(kMaxFileSize >> 20) + " MiB",
                    error);
    SValue root;
    if (!CJsonText::Parse(text, root, error))
        return false;
    if (root.type != EJson::Object)
        return Fail(root.line, "not a patch: the file is no JSON object", error);
    if (!ReadHeader(root, patch.header, error))
        return false;
    const SValue* changes = root.Member("changes");
    if (!changes || changes->type != EJson::Array)
        return Fail(changes ? changes->line : root.line, "\"changes\" must be an array", error);
    std::set<std::tuple<int, int32_t, int32_t>> seen;
    patch.changes.reserve(changes->items.size());
    for (const SValue& item : changes->items) {
        SRecordChange change;
        if (!ReadChange(item, change, error))
            return false;
        if (!seen.emplace(static_cast<int>(change.kind), change.id, change.sub).second)
            return Fail(item.line,
                        std::string(CDiffFields::KindName(change.kind)) + " " +
                            CDiffFields::IdText(change.kind, change.id, change.sub) +
                            " appears twice",
                        error);
        patch.changes.push_back(std::move(change));
    }
    return true;
}

bool CPatch::Make(const CGameDatabase& base, const std::string& baseDbPath,
                  const CGameDatabase& changed, std::string message, CPatch& patch,
                  std::string& error) {
    const auto digest = CSha256::OfFile(Utf8Path(baseDbPath), error);
    if (!digest) {
        error = "cannot read " + baseDbPath + ": " + error;
        return false;
    }
    patch = Make(base, changed, digest->sha256, std::move(message));
    return true;
}

bool CPatch::ReadFile(const std::string& path, CPatch& patch, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path file = Utf8Path(path);
    const auto status = fs::status(file, ec);
    if (!fs::is_regular_file(status)) {
        error = "cannot read " + path + (fs::exists(status) ? ": it is not a regular file" : "");
        return false;
    }
    if (fs::file_size(file, ec) > kMaxFileSize) {
        error = path + ": the file is larger than " + std::to_string(kMaxFileSize >> 20) + " MiB";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in || in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    if (!Read(text.str(), patch, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool CPatch::WriteFile(const std::string& path, std::string& error) const {
    const std::string text = ToText();
    if (CSafeFile::Write(path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()}, error))
        return true;
    error = "cannot write " + path + ": " + error;
    return false;
}
