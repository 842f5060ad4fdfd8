#include "editor/localisation/CLocalisationTable.h"
#include "editor/localisation/LocalisationText.h"
#include "editor/model/CDiffFields.h"
#include "editor/model/CPlayerField.h"
#include "editor/model/CRecordFieldKeys.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path kSource = KESTREL_SOURCE_DIR;
const char* const kLanguages[] = {"English_UK", "French", "German", "Spanish"};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Every quoted localisation key in the editor's sources.
std::set<std::string> KeysUsedByTheCode() {
    static const std::regex key("\"((Menu|Caption|Message|Msg|Tab|Error|LUT)_[A-Za-z0-9_]+)\"");
    std::set<std::string> keys;
    for (const auto& entry : fs::recursive_directory_iterator(kSource / "editor")) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) {
            continue;
        }
        const std::string text = ReadAll(entry.path());
        for (auto it = std::sregex_iterator(text.begin(), text.end(), key);
             it != std::sregex_iterator(); ++it) {
            keys.insert((*it)[1].str());
        }
    }
    for (int n = 0; n < CLocalisationTable::kPositionCount; ++n) {
        keys.insert(std::string(CLocalisationTable::PositionKey(n)));
    }
    return keys;
}

// Key -> text of one shipped file, with the check that every row sits in the text column.
std::map<std::string, std::string> Rows(const std::string& language) {
    const std::string text = ReadAll(kSource / "resources" / (language + ".qtx"));
    std::map<std::string, std::string> rows;
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const auto tab = line.find('\t');
        if (tab != std::string::npos) {
            rows[line.substr(0, tab)] = line.substr(tab + 1);
        }
    }
    return rows;
}

} // namespace

TEST(LocalisationFiles, EveryKeyTheProgramUsesHasEnglishText) {
    CLocalisationTable english;
    ASSERT_TRUE(english.Load((kSource / "resources" / "English_UK.qtx").string(), "English_UK"));
    const std::set<std::string> used = KeysUsedByTheCode();
    ASSERT_GT(used.size(), 60u) << "the scan found too few keys to be looking at the editor";
    for (const std::string& key : used) {
        EXPECT_TRUE(english.Contains(key)) << key << " has no English text";
    }
}

TEST(LocalisationFiles, EveryLanguageHasEveryEnglishKeyWithText) {
    const auto english = Rows("English_UK");
    for (const char* language : kLanguages) {
        CLocalisationTable table;
        ASSERT_TRUE(table.Load((kSource / "resources" / (std::string(language) + ".qtx")).string(),
                               language))
            << language;
        EXPECT_EQ(table.Size(), english.size()) << language;
        for (const auto& [key, text] : english) {
            EXPECT_TRUE(table.Contains(key)) << language << " lacks " << key;
        }
    }
}

// Headers, choices and findings show fields by these names: each needs one, and two fields
// sharing a name could not be told apart.
TEST(LocalisationFiles, EveryPlayerFieldHasItsOwnNameInEveryLanguage) {
    for (const char* language : kLanguages) {
        const auto rows = Rows(language);
        std::map<std::string, std::string> fieldOfName;
        for (const CPlayerField& field : CPlayerField::All()) {
            const auto row = rows.find(field.DisplayKey());
            ASSERT_NE(row, rows.end()) << language << " lacks " << field.DisplayKey();
            EXPECT_FALSE(row->second.empty()) << language << " " << field.DisplayKey();
            const auto [other, added] = fieldOfName.emplace(row->second, field.Name());
            EXPECT_TRUE(added) << language << ": " << field.Name() << " and " << other->second
                               << " are both shown as " << row->second;
        }
    }
}

// Comparisons and patch previews show every field a comparison can report by a name: a field
// added to a kind without one fails here, as do two fields of a kind shown alike.
TEST(LocalisationFiles, EveryComparedFieldOfEveryKindHasItsOwnNameInEveryLanguage) {
    const CDbCatalogue catalogue;
    const CDiffFields fields(catalogue);
    for (const char* language : kLanguages) {
        const auto rows = Rows(language);
        for (int k = 0; k <= static_cast<int>(ERecordKind::Team); ++k) {
            const auto kind = static_cast<ERecordKind>(k);
            const std::string kindName = CDiffFields::KindName(kind);
            ASSERT_FALSE(fields.FieldNames(kind).empty()) << kindName;
            std::map<std::string, std::string> fieldOfName;
            for (const std::string& field : fields.FieldNames(kind)) {
                const auto key = CRecordFieldKeys::Of(kind, field);
                ASSERT_TRUE(key) << kindName << " field " << field << " has no caption key";
                const auto row = rows.find(key->key);
                ASSERT_NE(row, rows.end()) << language << " lacks " << key->key;
                ASSERT_FALSE(row->second.empty()) << language << " " << key->key;
                EXPECT_EQ(row->second.find("%1") != std::string::npos, !key->number.empty())
                    << language << " " << key->key << " for " << field;
                std::string shown = row->second;
                if (!key->number.empty())
                    shown.replace(shown.find("%1"), 2, key->number);
                const auto [other, added] = fieldOfName.emplace(shown, field);
                EXPECT_TRUE(added) << language << " " << kindName << ": " << field << " and "
                                   << other->second << " are both shown as " << shown;
            }
        }
    }
}

TEST(RecordFieldKeys, FieldsAKindDoesNotHaveGetNoKey) {
    EXPECT_FALSE(CRecordFieldKeys::Of(ERecordKind::Team, "no_such_field"));
    EXPECT_FALSE(CRecordFieldKeys::Of(ERecordKind::Team, "column_"));
    EXPECT_FALSE(CRecordFieldKeys::Of(ERecordKind::League, "record_name_x"));
    EXPECT_FALSE(CRecordFieldKeys::Of(ERecordKind::Squad, "column_1"));
    EXPECT_FALSE(CRecordFieldKeys::Of(ERecordKind::Player, "stadium_name"));
    EXPECT_EQ(CRecordFieldKeys::Of(ERecordKind::Stadium, "column_3")->number, "3");
}

// A counted text's singular and plural forms fill in the same values.
TEST(LocalisationFiles, PluralFormsHoldTheSamePlaceholders) {
    static const std::regex placeholder("%[0-9]");
    auto placeholders = [](const std::string& form) {
        std::multiset<std::string> found;
        for (auto it = std::sregex_iterator(form.begin(), form.end(), placeholder);
             it != std::sregex_iterator(); ++it)
            found.insert(it->str());
        return found;
    };
    for (const char* language : kLanguages) {
        int counted = 0;
        for (const auto& [key, text] : Rows(language)) {
            const auto bar = text.find('|');
            if (bar == std::string::npos)
                continue;
            ++counted;
            EXPECT_EQ(text.find('|', bar + 1), std::string::npos) << language << " " << key;
            EXPECT_EQ(placeholders(text.substr(0, bar)), placeholders(text.substr(bar + 1)))
                << language << " " << key;
        }
        EXPECT_GE(counted, 8) << language;
        const std::string rule = Rows(language)["Caption_PluralOne"];
        EXPECT_TRUE(rule == "1" || rule == "0 1") << language << ": " << rule;
    }
}

TEST(LocalisationFiles, ShortcutTextsLoseOnlyTheSpaceBeforeThem) {
    for (const char* language : kLanguages) {
        for (const auto& [key, text] : Rows(language)) {
            const auto pos = text.find("\\t");
            if (pos == std::string::npos) {
                continue;
            }
            ASSERT_GT(pos, 0u) << language << " " << key;
            EXPECT_EQ(text[pos - 1], ' ')
                << language << " " << key << ": the letter before the shortcut would be cut";
            const std::string shown = LocalisationText::ApplyTabRule(text);
            EXPECT_EQ(shown.find('\t'), pos - 1) << language << " " << key;
            EXPECT_TRUE(LocalisationText::IsValidUtf8(shown)) << language << " " << key;
        }
    }
}
