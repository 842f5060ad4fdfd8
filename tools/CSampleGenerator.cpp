#include "CSampleGenerator.h"

#include "CSampleArchives.h"
#include "CSampleGameBuilder.h"
#include "CSampleSchema.h"

#include "editor/database/CDbWriter.h"
#include "editor/database/CIngameTextDb.h"
#include "editor/database/CMessageSink.h"
#include "editor/database/Utf8Path.h"
#include "editor/model/CInGameNames.h"

#include <array>
#include <system_error>

namespace {

struct SLanguageTexts {
    uint32_t languageNumber;
    std::array<const char*, 4> menu;
};

// A few texts of the game's own menus, so the files are more than team and league names.
constexpr std::array<SLanguageTexts, 11> kLanguages = {{
    {0, {"Play Match", "Options", "Transfers", "Quit"}},
    {2, {"Jouer", "Options", "Transferts", "Quitter"}},
    {3, {"Spielen", "Optionen", "Transfers", "Beenden"}},
    {4, {"Gioca", "Opzioni", "Trasferimenti", "Esci"}},
    {5, {"Jugar", "Opciones", "Fichajes", "Salir"}},
    {6, {"Spela", "Alternativ", "Övergångar", "Avsluta"}},
    {7, {"Spelen", "Opties", "Transfers", "Afsluiten"}},
    {8, {"Jogar", "Opções", "Transferências", "Sair"}},
    {9, {"Play Match", "Options", "Transfers", "Quit"}},
    {11, {"試合開始", "オプション", "移籍", "終了"}},
    {12, {"경기 시작", "옵션", "이적", "종료"}},
}};

} // namespace

CSampleGenerator::CSampleGenerator() {
    AddStep("game database", &CSampleGenerator::WriteGameDatabase);
    AddStep("text databases", &CSampleGenerator::WriteTextDatabases);
    AddStep("picture archives", &CSampleArchives::Write);
}

void CSampleGenerator::AddStep(std::string name, Step step) {
    m_steps.emplace_back(std::move(name), std::move(step));
}

std::vector<std::string> CSampleGenerator::StepNames() const {
    std::vector<std::string> names;
    for (const auto& [name, step] : m_steps)
        names.push_back(name);
    return names;
}

bool CSampleGenerator::Write(const std::filesystem::path& folder, uint64_t seed, CMessageSink& sink,
                             size_t playerCount) const {
    std::error_code ec;
    std::filesystem::create_directories(folder / "data" / "cmn" / "fe", ec);
    if (ec) {
        sink.Report("Error_OpenToWrite", Utf8Text(folder) + ": " + ec.message());
        return false;
    }
    SContext context{folder, seed, sink, {}};
    BuildGame(context.database, seed, playerCount);
    for (const auto& [name, step] : m_steps)
        if (!step(context))
            return false;
    return true;
}

void CSampleGenerator::BuildGame(CGameDatabase& database, uint64_t seed, size_t playerCount) {
    database.Clear();
    database.Catalogue() = CSampleSchema::GameCatalogue();
    CSampleGameBuilder(database, seed, playerCount).Build();
}

bool CSampleGenerator::WriteGameDatabase(SContext& context) {
    const std::filesystem::path path = context.folder / "data" / "cmn" / "corvid.db";
    return context.database.SaveGameDatabase(Utf8Text(path), "", context.sink);
}

bool CSampleGenerator::WriteTextDatabases(SContext& context) {
    const CGameDatabase& db = context.database;
    for (const SLanguageTexts& language : kLanguages) {
        const std::filesystem::path path =
            context.folder /
            std::string(CIngameTextDb::RelativePathForLanguage(language.languageNumber));
        std::vector<std::pair<uint32_t, std::string>> texts;
        for (size_t i = 0; i < language.menu.size(); ++i)
            texts.emplace_back(static_cast<uint32_t>(1000 + i), language.menu[i]);
        for (const auto& [id, league] : db.Leagues()) {
            const std::array<const std::string*, 3> names = {&league.name, &league.shortName,
                                                             &league.mediumName};
            for (int k = 0; k < 3; ++k)
                texts.emplace_back(*CInGameNames::LeagueTextId(id, k), *names[k]);
        }
        for (const auto& [id, team] : db.Teams()) {
            const std::array<const std::string*, 3> names = {&team.Name(), &team.ShortName(),
                                                             &team.MediumName()};
            for (int k = 0; k < 3; ++k)
                texts.emplace_back(*CInGameNames::TeamTextId(id, k), *names[k]);
        }
        CDbCatalogue catalogue = CSampleSchema::TextCatalogue();
        CDbWriter writer;
        writer.AddTable(CIngameTextDb::kTableName, [&](CDbSectionWriter& out) {
            for (const auto& [textId, text] : texts) {
                out.BeginRecord();
                out.Word(textId);
                out.String(text);
            }
        });
        if (!writer.Save(catalogue, Utf8Text(path), context.sink))
            return false;
    }
    return true;
}

bool WriteSampleInstallation(const std::filesystem::path& folder, uint64_t seed, CMessageSink& sink,
                             size_t playerCount) {
    return CSampleGenerator().Write(folder, seed, sink, playerCount);
}
