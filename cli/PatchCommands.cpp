#include "PatchCommands.h"

#include "CliJson.h"
#include "ModelGame.h"
#include "PictureCommands.h"

#include "editor/model/CDatabaseCopy.h"
#include "editor/model/CDiffFields.h"
#include "editor/model/CFieldDiff.h"
#include "editor/model/CGameInstallation.h"
#include "editor/model/COriginalDatabase.h"
#include "editor/model/COtherInstallation.h"
#include "editor/model/CPatch.h"
#include "editor/model/CPatchApply.h"
#include "editor/model/RecordFields.h"

#include <iostream>
#include <optional>

namespace {

// The other side of a comparison: another installation, or the first backup of this one's
// game database (and of its texts, when there is one).
struct SOther {
    CGameDatabase database;
    std::string dbPath;
};

// OTHER_DIR read with the same lines as the game's own folder: its failure as the one error,
// names it cannot read as warnings.
bool OpenInstallation(const CliContext& context, const std::string& folder, SOther& other,
                      std::string& error) {
    CCliSink sink;
    const COtherInstallation::SResult loaded =
        COtherInstallation::Load(folder, context.gameLanguage, other.database, sink);
    other.dbPath = loaded.dbPath;
    switch (loaded.error) {
    case COtherInstallation::EError::None:
        for (const std::string& message : sink.Messages())
            std::cerr << "kestrel-cli: warning: " << message << "\n";
        return true;
    case COtherInstallation::EError::NoFolder:
        error = "'" + folder + "' is no folder";
        return false;
    case COtherInstallation::EError::NoDatabase:
        error = "no " + std::string(CGameInstallation::kDatabaseRelativePath) + " in " + folder;
        return false;
    case COtherInstallation::EError::Unreadable:
        error = sink.Last("cannot read " + loaded.dbPath);
        return false;
    }
    return false;
}

bool OpenOriginal(CCliGame& game, SOther& other, std::string& error) {
    return COriginalDatabase::Load(game.DbPath(), game.TextsPath(), other.database, other.dbPath,
                                   error);
}

// The base named by OTHER_DIR / --base DIR or --original.
bool OpenBase(const CliContext& context, CCliGame& game, const std::optional<std::string>& folder,
              SOther& other, std::string& error) {
    if (!folder)
        return OpenOriginal(game, other, error);
    return OpenInstallation(context, *folder, other, error);
}

int RunDiff(const CliContext& context) {
    const bool original = context.Has("--original");
    if (context.args.size() != (original ? 1u : 2u))
        return CliUsage("diff OTHER_DIR|--original [--json] [--exit-code]");
    CCliGame game;
    std::string error;
    if (!game.Open(context, error))
        return CliFail(error);
    SOther other;
    const std::optional<std::string> folder =
        original ? std::nullopt : std::optional<std::string>(context.args[1]);
    if (!OpenBase(context, game, folder, other, error))
        return CliFail(error);
    // OTHER_DIR is the old side: the lines say how this installation differs from it.
    const auto changes = CFieldDiff::Compare(other.database, game.Database());
    if (context.Has("--json")) {
        CliJson list = CliJson::array();
        for (const SRecordChange& change : changes) {
            const std::string kind = CDiffFields::KindName(change.kind);
            const std::string id = CDiffFields::IdText(change.kind, change.id, change.sub);
            if (change.type != SRecordChange::EType::Changed) {
                list.push_back({{"kind", kind}, {"id", id},
                                {"field", change.type == SRecordChange::EType::Added ? "+" : "-"},
                                {"old", ""}, {"new", ""}});
                continue;
            }
            for (const SFieldChange& f : change.fields)
                list.push_back({{"kind", kind}, {"id", id}, {"field", f.field},
                                {"old", CliByteString(f.oldValue)},
                                {"new", CliByteString(f.newValue)}});
        }
        std::cout << CliJsonTextKeepingBytes(CliJson{{"changes", list}}) << "\n";
    } else {
        std::cout << CFieldDiff::Lines(changes);
    }
    return context.Has("--exit-code") && !changes.empty() ? 1 : 0;
}

int RunMakePatch(const CliContext& context) {
    const auto base = context.Value("--base");
    const bool original = context.Has("--original");
    if (context.args.size() != 2 || base.has_value() == original)
        return CliUsage("make-patch (--base OTHER_DIR | --original) OUT.kpatch [--message TEXT]");
    CCliGame game;
    std::string error;
    if (!game.Open(context, error))
        return CliFail(error);
    SOther other;
    if (!OpenBase(context, game, base, other, error))
        return CliFail(error);
    CPatch patch;
    if (!CPatch::Make(other.database, other.dbPath, game.Database(),
                      context.Value("--message").value_or(""), patch, error) ||
        !patch.WriteFile(context.args[1], error))
        return CliFail(error);
    std::cout << "wrote " << context.args[1] << ": " << patch.changes.size() << " records\n";
    return 0;
}

int RunApplyPatch(const CliContext& context) {
    if (context.args.size() != 2)
        return CliUsage("apply-patch FILE.kpatch [--dry-run] [--theirs | --ours]");
    if (context.Has("--theirs") && context.Has("--ours"))
        return CliUsage("apply-patch FILE.kpatch [--dry-run] [--theirs | --ours] (not both)");
    CPatch patch;
    std::string error;
    if (!CPatch::ReadFile(context.args[1], patch, error))
        return CliFail(error + "; nothing was applied");
    CCliGame game;
    const bool opened = context.Has("--dry-run") ? game.Open(context, error)
                                                 : game.OpenForWriting(context, error);
    if (!opened)
        return CliFail(error);
    CPatchApply::SOptions options;
    options.resolve = context.Has("--theirs") ? CPatchApply::EResolve::Theirs
                      : context.Has("--ours") ? CPatchApply::EResolve::Ours
                                              : CPatchApply::EResolve::Refuse;
    options.dryRun = context.Has("--dry-run");
    options.namesStorable = !game.TextsPath().empty();
    const CPatchApply::SResult result = CPatchApply::Apply(game.Database(), patch, options);
    if (!result.errors.empty()) {
        for (const std::string& line : result.errors)
            std::cerr << "kestrel-cli: " << line << "\n";
        return CliFail(context.args[1] + ": refused, nothing was written");
    }
    if (!result.conflicts.empty() && options.resolve == CPatchApply::EResolve::Refuse) {
        std::cout << CPatchApply::ConflictLines(result.conflicts);
        return CliFail(std::to_string(result.conflicts.size()) +
                       " conflicts (KIND, ID, FIELD, BASE, OURS, THEIRS above); nothing was "
                       "written: --ours or --theirs settles them");
    }
    for (const CPatchApply::SRenumber& r : result.renumbered)
        std::cerr << "kestrel-cli: " << CDiffFields::KindName(r.kind) << " " << r.from
                  << " is taken here: added as " << r.to << "\n";
    if (options.dryRun) {
        std::cout << CFieldDiff::Lines(result.changes);
        return 0;
    }
    if (!result.changes.empty()) {
        if (!game.Save(error))
            return CliFail(error);
    }
    size_t fields = 0;
    for (const SRecordChange& change : result.changes)
        fields += change.fields.size();
    std::cout << "applied " << result.changes.size() << " records (" << fields << " fields)";
    if (!result.conflicts.empty())
        std::cout << "; " << result.conflicts.size() << " conflicts settled with "
                  << (options.resolve == CPatchApply::EResolve::Theirs ? "theirs" : "ours");
    std::cout << "\n";
    return 0;
}

bool ParseId(const std::string& text, const char* what, int32_t& id, std::string& error) {
    if (ParseInt32(text, id))
        return true;
    error = std::string(what) + " must be a whole number, not '" + text + "'";
    return false;
}

int RunCopyTeam(const CliContext& context) {
    const auto from = context.Value("--from");
    if (context.args.size() != 2 || !from)
        return CliUsage("copy-team --from OTHER_DIR TEAM_ID [--league LEAGUE_ID] [--with-players]");
    int32_t teamId = 0;
    std::optional<int32_t> league;
    std::string error;
    if (!ParseId(context.args[1], "TEAM_ID", teamId, error))
        return CliFail(error);
    if (const auto text = context.Value("--league")) {
        int32_t id = 0;
        if (!ParseId(*text, "--league", id, error))
            return CliFail(error);
        league = id;
    }
    CCliGame game;
    SOther other;
    if (!game.OpenForWriting(context, error) || !OpenInstallation(context, *from, other, error))
        return CliFail(error);
    if (game.TextsPath().empty())
        return CliFail("the team's names are kept in the in-game text database, and " +
                       game.NamesProblem() + "; nothing was copied");
    const auto result = CDatabaseCopy::CopyTeam(game.Database(), other.database, teamId, league,
                                                context.Has("--with-players"));
    if (!result.ok)
        return CliFail(result.error);
    if (!game.Save(error))
        return CliFail(error);
    for (const std::string& note : result.notes)
        std::cerr << "kestrel-cli: " << note << "\n";
    std::cout << "team\t" << teamId << '\t' << result.teamId << "\n";
    for (const auto& [there, here] : result.players)
        std::cout << "player\t" << there << '\t' << here << "\n";
    if (!context.game)
        std::cerr << "kestrel-cli: pictures not copied: they need --game DIR\n";
    else
        CopyTeamPictures(context, *from, teamId, result.teamId,
                         *game.Database().FindTeam(result.teamId), game.DbPath());
    return 0;
}

} // namespace

int RunCopyPlayerFrom(const CliContext& context) {
    const auto from = context.Value("--from");
    if (context.args.size() < 2 || context.args.size() > 3 || !from)
        return CliUsage("copy-player --from OTHER_DIR PLAYER_ID [TEAM_ID]");
    int32_t playerId = 0;
    std::optional<int32_t> team;
    std::string error;
    if (!ParseId(context.args[1], "PLAYER_ID", playerId, error))
        return CliFail(error);
    if (context.args.size() == 3) {
        int32_t id = 0;
        if (!ParseId(context.args[2], "TEAM_ID", id, error))
            return CliFail(error);
        team = id;
    }
    CCliGame game;
    SOther other;
    if (!game.OpenForWriting(context, error) || !OpenInstallation(context, *from, other, error))
        return CliFail(error);
    const auto result = CDatabaseCopy::CopyPlayer(game.Database(), other.database, playerId, team);
    if (!result.ok)
        return CliFail(result.error);
    if (!game.Save(error))
        return CliFail(error);
    std::cout << "player\t" << playerId << '\t' << result.playerId << "\n";
    return 0;
}

const std::vector<CliCommand>& PatchCommands() {
    static const std::vector<CliCommand> commands = {
        {"diff",
         "diff OTHER_DIR|--original [--json] [--exit-code]",
         "lists how this database differs from OTHER_DIR's (or from its first backup), one line "
         "per changed field: KIND<TAB>ID<TAB>FIELD<TAB>OLD<TAB>NEW; a record added or removed is "
         "one line with FIELD + or -",
         &RunDiff,
         {{"--original", 0, "  compare with the first backup of the game database"},
          {"--json", 0, "  the same as one JSON document"},
          {"--exit-code", 0, "  exit status 1 when there are differences"}}},
        {"make-patch",
         "make-patch (--base OTHER_DIR | --original) OUT.kpatch [--message TEXT]",
         "writes the changes that turn the base into this database as a patch file "
         "(docs/patch-format.md)",
         &RunMakePatch,
         {{"--base", 1, "DIR  installation the patch starts from"},
          {"--original", 0, "  start from the first backup of the game database"},
          {"--message", 1, "TEXT  description kept in the patch"}}},
        {"apply-patch",
         "apply-patch FILE.kpatch [--dry-run] [--theirs | --ours]",
         "applies a patch and saves; any conflict (a field changed differently here) refuses the "
         "whole patch, listing every conflict, unless --theirs or --ours settles them",
         &RunApplyPatch,
         {{"--dry-run", 0, "  print what would change, write nothing"},
          {"--theirs", 0, "  conflicts take the patch's values"},
          {"--ours", 0, "  conflicts keep this database's values"}}},
        {"copy-team",
         "copy-team --from OTHER_DIR TEAM_ID [--league LEAGUE_ID] [--with-players]",
         "copies a team from another installation with its names, kits, missing stadiums, crest "
         "and kit pictures, saves and prints the ids there and here (team<TAB>THERE<TAB>HERE, "
         "then player lines)",
         &RunCopyTeam,
         {{"--from", 1, "DIR  the installation to copy from"},
          {"--league", 1, "ID  league here the team joins"},
          {"--with-players", 0, "  copy the squad too"}}},
    };
    return commands;
}
