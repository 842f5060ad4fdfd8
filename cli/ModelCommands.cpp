#include "ModelCommands.h"

#include "CCliFiles.h"
#include "CCsvReader.h"
#include "CliJson.h"
#include "ModelCsv.h"
#include "editor/model/RecordFields.h"
#include "ModelGame.h"
#include "ModelRecordJson.h"
#include "PatchCommands.h"
#include "PlayerQuery.h"

#include "editor/database/Utf8Path.h"
#include "editor/model/CNameSearch.h"
#include "tools/CSampleGenerator.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

bool Id(const std::string& text, const char* what, int32_t& id, std::string& error) {
    if (ParseInt32(text, id))
        return true;
    error = std::string(what) + " must be a whole number, not '" + text + "'";
    return false;
}

int Usage(const char* usage) {
    return CliUsage(usage);
}

int SaveAndReturn(CCliGame& game) {
    std::string error;
    if (!game.Save(error))
        return CliFail(error);
    return 0;
}

// The id of a player just made (negative when none could be) is printed once the save went well.
int SaveAndPrintNewPlayer(CCliGame& game, int32_t id) {
    if (id < 0)
        return CliFail("no free player id is left");
    if (const int status = SaveAndReturn(game); status != 0)
        return status;
    std::cout << id << "\n";
    return 0;
}

int RunMakeSample(const CliContext& context) {
    const std::vector<std::string> args(context.args.begin() + 1, context.args.end());
    if (args.size() != 1)
        return Usage("make-sample DIR [--seed N] [--players N]");
    uint64_t seed = CSampleGenerator::kDefaultSeed;
    if (const auto given = context.Value("--seed")) {
        const std::string& text = *given;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seed);
        if (ec != std::errc() || end != text.data() + text.size())
            return CliFail("--seed needs a whole number, not '" + text + "'");
    }
    size_t players = 0;
    if (const auto given = context.Value("--players")) {
        const std::string& text = *given;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), players);
        // Beyond this the file's player count no longer stays within reason.
        if (ec != std::errc() || end != text.data() + text.size() || players > 1000000)
            return CliFail("--players needs a whole number up to 1000000, not '" + text + "'");
    }
    CCliSink sink;
    if (!WriteSampleInstallation(Utf8Path(args[0]), seed, sink, players))
        return CliFail(sink.Last("cannot write the sample to " + args[0]));
    return 0;
}

int RunPlayers(const CliContext& context) {
    if (context.args.size() != 1)
        return Usage("players [--where EXPR] [--fields a,b,c] [--sort FIELD[:desc]] [--csv]");
    CPlayerQuery::SListRequest request;
    request.where = context.Value("--where").value_or("");
    request.fields = context.Value("--fields").value_or("");
    request.sort = context.Value("--sort").value_or("");
    request.csv = context.Has("--csv");
    CCliGame game;
    std::string error;
    if (!game.Open(context, error))
        return CliFail(error);
    std::ostringstream out;
    if (!CPlayerQuery::List(game.Database(), request, out, error))
        return CliFail(error);
    std::cout << out.str();
    return 0;
}

int RunBulk(const CliContext& context) {
    const auto where = context.Value("--where");
    if (context.args.size() < 2 || !where)
        return Usage("bulk --where EXPR SET... [--dry-run]");
    const std::vector<std::string> changes(context.args.begin() + 1, context.args.end());
    CCliGame game;
    std::string error;
    if (!(context.Has("--dry-run") ? game.Open(context, error)
                                    : game.OpenForWriting(context, error)))
        return CliFail(error);
    SBulkPlan plan;
    if (!CPlayerQuery::Plan(game.Database(), *where, changes, plan, error))
        return CliFail(error);
    const bool dryRun = context.Has("--dry-run");
    if (dryRun) {
        CPlayerQuery::PrintChanges(game.Database(), plan, std::cout);
    } else if (!plan.changes.empty()) {
        plan.Apply(game.Database());
        if (const int status = SaveAndReturn(game); status != 0)
            return status;
    }
    std::cout << CPlayerQuery::Summary(plan, dryRun) << "\n";
    return 0;
}

int RunSummary(const CliContext& context) {
    if (context.args.size() != 1)
        return Usage("summary");
    CCliGame game;
    std::string error;
    if (!game.Open(context, error))
        return CliFail(error);
    const CGameDatabase& db = game.Database();
    size_t links = 0;
    for (const auto& [id, team] : db.Teams())
        links += team.Links().size();
    CliJson json;
    json["players"] = db.Players().size();
    json["teams"] = db.Teams().size();
    json["leagues"] = db.Leagues().size();
    json["league_team_links"] = db.LeagueTeamLinks().size();
    json["team_player_links"] = links;
    json["stadiums"] = db.Stadiums().size();
    json["formations"] = db.Formations().size();
    json["colours"] = db.Colours().Count();
    std::cout << CliJsonText(json) << "\n";
    return 0;
}

int RunRecord(const CliContext& context, const char* kind,
              std::string (*toJson)(const CGameDatabase&, int32_t)) {
    if (context.args.size() != 2)
        return Usage((std::string(kind) + " ID").c_str());
    int32_t id = 0;
    std::string error;
    if (!Id(context.args[1], "ID", id, error))
        return CliFail(error);
    CCliGame game;
    if (!game.Open(context, error))
        return CliFail(error);
    const std::string json = toJson(game.Database(), id);
    if (json.empty())
        return CliFail("no " + std::string(kind) + " with id " + std::to_string(id));
    std::cout << json << "\n";
    return 0;
}

int RunPlayer(const CliContext& c) {
    return RunRecord(c, "player", &PlayerJson);
}
int RunTeam(const CliContext& c) {
    return RunRecord(c, "team", &TeamJson);
}
int RunLeague(const CliContext& c) {
    return RunRecord(c, "league", &LeagueJson);
}

template <typename R>
std::string SetField(const std::vector<SField<R>>& fields, R* record, const std::string& kind,
                     int32_t id, const std::string& name, const std::string& value) {
    if (!record)
        return "no " + kind + " with id " + std::to_string(id);
    const SField<R>* field = FindField(fields, name);
    if (!field)
        return kind + " has no field '" + name + "'";
    if (!field->set)
        return "field " + name + " cannot be changed";
    if (std::string error = field->set(*record, value); !error.empty())
        return kind + " " + std::to_string(id) + ", field " + name + ": " + error;
    return {};
}

int RunSet(const CliContext& context) {
    const char* usage = "set player|team|league ID FIELD VALUE";
    if (context.args.size() != 5)
        return Usage(usage);
    const std::string& kind = context.args[1];
    int32_t id = 0;
    std::string error;
    if (!Id(context.args[2], "ID", id, error))
        return CliFail(error);
    CCliGame game;
    if (!game.OpenForWriting(context, error))
        return CliFail(error);
    CGameDatabase& db = game.Database();
    const std::string& name = context.args[3];
    const std::string& value = context.args[4];
    if (CModelCsv::IsInGameName(name) && !game.NamesProblem().empty())
        return CliFail(name + " is kept in the in-game text database, and " + game.NamesProblem());
    if (kind == "player")
        error = SetField(PlayerFields(db.Catalogue()), db.FindPlayer(id), kind, id, name, value);
    else if (kind == "team")
        error = SetField(TeamFields(db.Catalogue()), db.FindTeam(id), kind, id, name, value);
    else if (kind == "league")
        error = SetField(LeagueFields(db.Catalogue()), db.FindLeague(id), kind, id, name, value);
    else
        return Usage(usage);
    if (!error.empty())
        return CliFail(error);
    db.MarkDirty();
    return SaveAndReturn(game);
}

std::string CheckPlayerAndTeam(const CGameDatabase& db, int32_t player, int32_t team) {
    if (!db.FindPlayer(player))
        return "no player with id " + std::to_string(player);
    if (!db.FindTeam(team))
        return "no team with id " + std::to_string(team);
    return {};
}

std::string CheckJersey(const CGameDatabase& db, int32_t jersey) {
    const CDbTable* table = db.Catalogue().FindTable("teamplayerlinks");
    const CDbColumn* column = table ? table->Column(0) : nullptr;
    const int32_t low = column ? column->Low() : 0;
    const int32_t high = column ? column->High() : 99;
    if (jersey < low || jersey > high)
        return "jersey number " + std::to_string(jersey) + " is outside " + std::to_string(low) +
               ".." + std::to_string(high);
    return {};
}

int RunSquad(const CliContext& context) {
    const char* usage = "squad add PLAYER TEAM [--position P] [--jersey N] | squad remove "
                        "PLAYER TEAM | squad move PLAYER FROM TO | squad jersey PLAYER TEAM N";
    const std::vector<std::string> args(context.args.begin() + 1, context.args.end());
    const auto position = context.Value("--position");
    const auto jersey = context.Value("--jersey");
    std::string error;
    if (args.empty())
        return Usage(usage);
    const std::string action = args[0];
    const size_t expected = action == "add" || action == "remove" ? 3 : 4;
    if ((action != "add" && action != "remove" && action != "move" && action != "jersey") ||
        args.size() != expected || (action != "add" && !context.options.empty()))
        return Usage(usage);
    std::vector<int32_t> numbers;
    for (size_t i = 1; i < args.size(); ++i) {
        int32_t value = 0;
        if (!Id(args[i], "PLAYER, TEAM and N", value, error))
            return CliFail(error);
        numbers.push_back(value);
    }
    CCliGame game;
    if (!game.OpenForWriting(context, error))
        return CliFail(error);
    CGameDatabase& db = game.Database();
    const int32_t player = numbers[0];
    const int32_t team = numbers[1];
    if (std::string problem = CheckPlayerAndTeam(db, player, team); !problem.empty())
        return CliFail(problem);
    const std::string where =
        "player " + std::to_string(player) + " in team " + std::to_string(team);
    const auto alreadyIn = [](int32_t who, int32_t inTeam) {
        return "player " + std::to_string(who) + " is already in team " + std::to_string(inTeam);
    };
    if (action == "add") {
        if (db.FindTeamPlayerLink(player, team))
            return CliFail(alreadyIn(player, team));
        int32_t positionCode = -1;
        int32_t jerseyNumber = -1;
        if (position &&
            (!ParseInt32(*position, positionCode) || positionCode < 0 || positionCode > 34))
            return CliFail("--position must be a position code 0..34");
        if (jersey) {
            if (!ParseInt32(*jersey, jerseyNumber))
                return CliFail("--jersey must be a whole number");
            if (std::string problem = CheckJersey(db, jerseyNumber); !problem.empty())
                return CliFail(problem);
        }
        if (!db.AddPlayerToTeam(player, team, positionCode, jerseyNumber))
            return CliFail("team " + std::to_string(team) + " has no free bench place");
    } else if (action == "remove") {
        if (!db.FindTeamPlayerLink(player, team))
            return CliFail(where + ": the player is not in that team");
        db.RemovePlayerFromTeam(player, team);
    } else if (action == "move") {
        const int32_t to = numbers[2];
        if (!db.FindTeamPlayerLink(player, team))
            return CliFail(where + ": the player is not in that team");
        if (!db.FindTeam(to))
            return CliFail("no team with id " + std::to_string(to));
        if (to == team)
            return CliFail("FROM and TO are the same team");
        if (db.FindTeamPlayerLink(player, to))
            return CliFail(alreadyIn(player, to));
        if (!db.MovePlayer(player, team, to))
            return CliFail("team " + std::to_string(to) + " has no free bench place");
    } else {
        const int32_t jersey = numbers[2];
        if (std::string problem = CheckJersey(db, jersey); !problem.empty())
            return CliFail(problem);
        if (!db.AssignJerseyNumber(player, team, jersey))
            return CliFail(where + ": the player is not in that team");
    }
    return SaveAndReturn(game);
}

int RunNewPlayer(const CliContext& context) {
    if (context.args.size() > 2)
        return Usage("new-player [TEAM]");
    int32_t team = -1;
    std::string error;
    if (context.args.size() == 2 && !Id(context.args[1], "TEAM", team, error))
        return CliFail(error);
    CCliGame game;
    if (!game.OpenForWriting(context, error))
        return CliFail(error);
    CGameDatabase& db = game.Database();
    if (team != -1) {
        if (!db.FindTeam(team))
            return CliFail("no team with id " + std::to_string(team));
        if (db.ChooseBenchPosition(team) < 0)
            return CliFail("team " + std::to_string(team) + " has no free bench place");
    }
    const int32_t id = db.NewPlayer(team);
    return SaveAndPrintNewPlayer(game, id);
}

int RunCopyPlayer(const CliContext& context) {
    if (context.Has("--from"))
        return RunCopyPlayerFrom(context);
    if (context.args.size() != 3)
        return Usage("copy-player PLAYER TEAM");
    int32_t player = 0, team = 0;
    std::string error;
    if (!Id(context.args[1], "PLAYER", player, error) || !Id(context.args[2], "TEAM", team, error))
        return CliFail(error);
    CCliGame game;
    if (!game.OpenForWriting(context, error))
        return CliFail(error);
    CGameDatabase& db = game.Database();
    if (std::string problem = CheckPlayerAndTeam(db, player, team); !problem.empty())
        return CliFail(problem);
    if (db.ChooseBenchPosition(team) < 0)
        return CliFail("team " + std::to_string(team) + " has no free bench place");
    db.SetClipboardPlayerId(player);
    const int32_t id = db.CopyPlayer(team);
    return SaveAndPrintNewPlayer(game, id);
}

int RunFind(const CliContext& context) {
    const std::vector<std::string> args(context.args.begin() + 1, context.args.end());
    if (args.size() != 1 || args[0].empty())
        return Usage("find TEXT [--leagues] [--teams] [--players]");
    const bool all = context.options.empty();
    std::string error;
    CCliGame game;
    if (!game.Open(context, error))
        return CliFail(error);
    const auto hits =
        CNameSearch::Find(game.Database(), args[0], all || context.Has("--leagues"),
                          all || context.Has("--teams"), all || context.Has("--players"));
    std::string out;
    for (const CNameSearch::SHit& hit : hits) {
        out += hit.kind == CNameSearch::EKind::League ? "league"
               : hit.kind == CNameSearch::EKind::Team ? "team"
                                                      : "player";
        out += '\t' + std::to_string(hit.id) + '\t' + hit.name + '\n';
    }
    std::cout << out;
    return 0;
}

int RunExport(const CliContext& context) {
    if (context.args.size() != 3 || !CModelCsv::IsKind(context.args[1]))
        return Usage("export players|teams|leagues|links|kits FILE.csv");
    CCliGame game;
    std::string error;
    if (!game.Open(context, error))
        return CliFail(error);
    const std::string csv = CModelCsv::Export(game.Database(), context.args[1]);
    if (!CCliFiles::Write(context.args[2], csv, error))
        return CliFail(error);
    return 0;
}

int RunImport(const CliContext& context) {
    if (context.args.size() != 3 || !CModelCsv::IsKind(context.args[1]))
        return Usage("import players|teams|leagues|links|kits FILE.csv");
    const std::string& path = context.args[2];
    const bool standard = CCliFiles::IsStandard(path);
    const std::string name = standard ? "standard input" : path;
    std::ifstream file;
    if (!standard) {
        std::error_code statusError;
        const auto status = std::filesystem::status(Utf8Path(path), statusError);
        if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
            return CliFail("cannot read " + path + ": it is not a regular file");
        file.open(Utf8Path(path), std::ios::binary);
        if (!file)
            return CliFail("cannot read " + path);
        // Refused before the game is even loaded; standard input is stopped at the limit.
        if (const auto size = std::filesystem::file_size(Utf8Path(path), statusError);
            !statusError && size > CModelCsv::kMaxImportBytes)
            return CliFail(path + " is " + std::to_string(size >> 20) + " MiB, more than the " +
                           std::to_string(CModelCsv::kMaxImportBytes >> 20) +
                           " MiB an import reads; nothing was imported");
    }
    std::istream& in = standard ? std::cin : file;
    CCliGame game;
    std::string error;
    if (!game.OpenForWriting(context, error))
        return CliFail(error);
    CModelCsv::SImported imported;
    error = CModelCsv::Import(game.Database(), context.args[1], in, !game.TextsPath().empty(),
                              imported);
    if (error.empty() && in.bad())
        error = "cannot read it";
    if (!error.empty())
        return CliFail(name + ": " + error + "; nothing was imported");
    if (const int status = SaveAndReturn(game); status != 0)
        return status;
    std::cout << "imported " << imported.rows << (imported.rows == 1 ? " row" : " rows")
              << " from " << name << " (" << CCsvReader::SeparatorName(imported.separator)
              << " separated)\n";
    return 0;
}

int RunResave(const CliContext& context) {
    if (context.args.size() != 1)
        return Usage("resave");
    CCliGame game;
    std::string error;
    if (!game.OpenForWriting(context, error))
        return CliFail(error);
    return SaveAndReturn(game);
}

} // namespace

const std::vector<CliCommand>& ModelCommands() {
    static const std::vector<CliCommand> commands = {
        {"make-sample",
         "make-sample DIR [--seed N] [--players N]",
         "writes a made-up game installation (data/cmn/corvid.db and data/cmn/fe/*.db); the "
         "same seed gives the same files",
         &RunMakeSample,
         {{"--seed", 1, "N  seed of the made-up data (default: the usual sample)"},
          {"--players", 1, "N  at least N players, those beyond the squads without a team"}}},
        {"players",
         "players [--where EXPR] [--fields a,b,c] [--sort FIELD[:desc]] [--csv]",
         "lists the players the filter picks (all without one; syntax in docs/filters.md) in "
         "aligned columns with a count, or as CSV",
         &RunPlayers,
         {{"--where", 1, "EXPR  filter, e.g. \"pace>=85 and age<21\""},
          {"--fields", 1, "a,b,c  columns (default id,name,team,age,preferred_position_1,overall)"},
          {"--sort", 1, "FIELD[:asc|:desc]  order (default: ascending id)"},
          {"--csv", 0, "  CSV with a header row instead of columns"}}},
        {"bulk",
         "bulk --where EXPR SET... [--dry-run]",
         "changes the players the filter picks (SET: field=N, field+=N, field-=N, field*=F; "
         "results clamped to the field's range), saves and prints how many changed",
         &RunBulk,
         {{"--where", 1, "EXPR  filter (\"\" for every player)"},
          {"--dry-run", 0, "  print each value that would change, save nothing"}}},
        {"summary", "summary",
         "prints the record counts as JSON: {\"players\":N,\"teams\":N,\"leagues\":N,"
         "\"league_team_links\":N,\"team_player_links\":N,\"stadiums\":N,\"formations\":N,"
         "\"colours\":N}",
         &RunSummary},
        {"player", "player ID", "prints the player as JSON, every field by name", &RunPlayer},
        {"team", "team ID",
         "prints the team as JSON: its fields, squad (player_id, jersey_number, position), kits, "
         "rivals and leagues",
         &RunTeam},
        {"league", "league ID", "prints the league as JSON with its team ids", &RunLeague},
        {"set", "set player|team|league ID FIELD VALUE",
         "changes one field (range-checked) and saves", &RunSet},
        {"squad",
         "squad add PLAYER TEAM [--position P] [--jersey N] | remove PLAYER TEAM | move PLAYER "
         "FROM TO | jersey PLAYER TEAM N",
         "changes a squad as the editor's squad list does, then saves",
         &RunSquad,
         {{"--position", 1, "P  formation position code 0..34 (add)"},
          {"--jersey", 1, "N  jersey number (add)"}}},
        {"new-player", "new-player [TEAM]",
         "creates a player (added to TEAM's bench when given), saves, prints the new id",
         &RunNewPlayer},
        {"copy-player",
         "copy-player PLAYER TEAM | copy-player --from OTHER_DIR PLAYER_ID [TEAM_ID]",
         "copies the player into TEAM's bench, saves, prints the new id; with --from copies a "
         "player of another installation (into TEAM_ID's bench when given) and prints "
         "player<TAB>THERE<TAB>HERE",
         &RunCopyPlayer,
         {{"--from", 1, "DIR  the installation to copy from"}}},
        {"find",
         "find TEXT [--leagues] [--teams] [--players]",
         "lists names containing TEXT in any letter case, one per line: "
         "league|team|player<TAB>ID<TAB>NAME, leagues first, then teams, then players",
         &RunFind,
         {{"--leagues", 0, "  search league names"},
          {"--teams", 0, "  search team names"},
          {"--players", 0, "  search player names"}}},
        {"export", "export players|teams|leagues|links|kits FILE.csv",
         "writes every record with every field as CSV with a header row (FILE - : standard "
         "output)",
         &RunExport},
        {"import", "import players|teams|leagues|links|kits FILE.csv",
         "updates records by id (links and kits are added or updated) and saves, then prints "
         "how many rows it read and their separator; the separator is the header row's: "
         "comma, semicolon or tab. Refuses the whole file, naming row and field, if any value "
         "is bad, and a file over " +
             std::to_string(CModelCsv::kMaxImportBytes >> 20) +
             " MiB (FILE - : standard input)",
         &RunImport},
        {"resave", "resave", "loads and saves the game database and its names again", &RunResave},
    };
    return commands;
}
