#include "BackupCommands.h"

#include "CliJson.h"
#include "ModelGame.h"

#include "editor/database/CIngameTextDb.h"
#include "editor/database/Utf8Path.h"
#include "editor/model/CBackupStore.h"
#include "editor/model/CDatabaseCheck.h"
#include "editor/model/CGameInstallation.h"
#include "wren_utils/archive/BigArchiveUpdate.h"

#include <iostream>

namespace fs = std::filesystem;

namespace {

std::string PathText(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string FileName(const std::string& path) {
    const std::u8string name = Utf8Path(path).filename().u8string();
    return std::string(name.begin(), name.end());
}

// "players 15012, teams 700, leagues 45"
std::string Counts(const SBackupInfo& info) {
    std::string text;
    for (const char* key : {"players", "teams", "leagues", "texts"}) {
        const auto found = info.counts.find(key);
        if (found != info.counts.end())
            text += (text.empty() ? "" : ", ") + std::string(key) + " " +
                    std::to_string(found->second);
    }
    return text.empty() ? "-" : text;
}

// Tabs and line breaks of names read from a file would break the one-line format.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

int RunBackups(const CliContext& context) {
    if (context.args.size() != 1)
        return CliUsage("backups");
    SCliGamePaths paths;
    std::string error;
    if (!paths.Resolve(context, error))
        return CliFail(error);
    const CBackupStore store(CBackupStore::FolderFor(Utf8Path(paths.db)));
    std::string out;
    for (const SBackupInfo& info : store.List())
        out += info.time + "\t" + info.name + "\t" + info.file + "\t" + std::to_string(info.size) +
               " bytes\t" + Counts(info) + (info.original ? "\toriginal" : "") + "\n";
    std::cout << out;
    return 0;
}

// The archive of the game a backup of fileName belongs to: data/FILE of --game DIR.
std::optional<std::string> ArchivePath(const CliContext& context, const std::string& fileName,
                                       std::string& error) {
    if (!context.game) {
        error = "restoring an archive needs --game DIR";
        return std::nullopt;
    }
    const fs::path folder = Utf8Path(*context.game);
    const auto found = CGameInstallation::FindPath(folder, "data/" + fileName);
    return PathText(found ? *found : folder / "data" / Utf8Path(fileName));
}

int RunRestore(const CliContext& context) {
    const bool original = context.Has("--original");
    const bool texts = context.Has("--texts");
    const std::optional<std::string> archive = context.Value("--archive");
    if (context.args.size() != (original ? 1u : 2u) || (archive && (!original || texts)))
        return CliUsage("restore NAME|--original [--texts|--archive FILE]");
    SCliGamePaths paths;
    std::string error;
    if (!paths.Resolve(context, error))
        return CliFail(error);
    if (texts && paths.texts.empty())
        return CliFail("this game has no in-game text database to restore");
    // Held from the look at the backups to the file put back.
    CInstallationLock lock;
    if (!paths.Lock(lock, error))
        return CliFail(error);
    const CBackupStore store(CBackupStore::FolderFor(Utf8Path(paths.db)));

    std::optional<SBackupInfo> backup;
    std::string target = texts ? paths.texts : paths.db;
    if (archive) {
        if (!CBackupStore::IsArchive(*archive) || *archive != FileName(*archive))
            return CliFail("--archive takes an archive's file name, e.g. zdata_05.big");
        const auto path = ArchivePath(context, *archive, error);
        if (!path)
            return CliFail(error);
        target = *path;
    }
    if (original) {
        backup = store.Original(FileName(target));
        if (!backup)
            return CliFail("no original backup of " + FileName(target) + " in " +
                           PathText(store.Folder()));
    } else {
        backup = store.Find(context.args[1]);
        if (!backup)
            return CliFail("no backup named '" + context.args[1] + "' in " +
                           PathText(store.Folder()) + " (see kestrel-cli backups)");
        if (backup->file == FileName(paths.texts) && !paths.texts.empty()) {
            target = paths.texts;
        } else if (backup->file == FileName(paths.db)) {
            target = paths.db;
        } else if (CBackupStore::IsArchive(backup->file)) {
            const auto path = ArchivePath(context, backup->file, error);
            if (!path)
                return CliFail(error);
            target = *path;
        } else {
            return CliFail("backup " + backup->name + " is a copy of " + backup->file +
                           ", which is neither the game database, its text database nor an "
                           "archive of the game");
        }
    }
    // The copy must read as what it replaces: a text database is no game database.
    CBackupStore::KindCheck readsAsTarget = &CBackupStore::ReadsAsGameDatabase;
    if (!paths.texts.empty() && target == paths.texts)
        readsAsTarget = &CBackupStore::ReadsAsTextDatabase;
    else if (target != paths.db)
        readsAsTarget = [](const fs::path& copy, std::string& reason) {
            return wren::BIG_readdirectory(PathText(copy), reason).has_value();
        };
    std::string before;
    if (!store.Restore(*backup, Utf8Path(target), paths.keep, before, error, readsAsTarget))
        return CliFail(error);
    std::cout << "restored " << backup->name << " to " << target << "\n";
    if (!before.empty())
        std::cout << "the file as it was is backup " << before << "\n";
    return 0;
}

int RunCheck(const CliContext& context) {
    if (context.args.size() != 1)
        return CliUsage("check [--json]");
    // 1 says the database has errors; a check that could not look at it says 2 instead.
    const auto couldNotRun = [](const std::string& message) {
        CliFail(message);
        return kCliUsageStatus;
    };
    SCliGamePaths paths;
    std::string error;
    if (!paths.Resolve(context, error))
        return couldNotRun(error);
    std::error_code statusError;
    const fs::file_status status = fs::status(Utf8Path(paths.db), statusError);
    if (!fs::exists(status))
        return couldNotRun("cannot read " + paths.db + ": there is no such file");
    if (!fs::is_regular_file(status))
        return couldNotRun("cannot read " + paths.db + ": it is not a regular file");

    std::vector<SCheckFinding> findings;
    auto structure = [&](const std::string& message) {
        findings.push_back({SCheckFinding::ESeverity::Error, "structure",
                            SCheckFinding::EKind::File, 0, message, {}});
    };
    CGameDatabase database;
    CCliSink sink;
    // The load walks every record of every table: a damaged structure fails here.
    if (!database.LoadGameDatabase(paths.db, paths.texts, sink)) {
        structure(sink.Last("cannot read " + paths.db));
    } else {
        std::optional<CIngameTextDb> texts;
        if (!paths.texts.empty()) {
            texts.emplace(paths.texts);
            CCliSink textSink;
            if (!texts->ReadIngameTextDb(textSink)) {
                structure(textSink.Last("cannot read " + paths.texts));
                texts.reset();
            }
        }
        const auto found = CDatabaseCheck::Run(database, texts ? &*texts : nullptr);
        findings.insert(findings.end(), found.begin(), found.end());
    }

    if (context.Has("--json")) {
        CliJson list = CliJson::array();
        for (const SCheckFinding& finding : findings)
            list.push_back({{"severity", SCheckFinding::SeverityName(finding.severity)},
                            {"code", finding.code},
                            {"kind", SCheckFinding::KindName(finding.kind)},
                            {"id", finding.id},
                            {"message", finding.message}});
        std::cout << CliJsonText({{"findings", list}}) << "\n";
    } else {
        std::string out;
        for (const SCheckFinding& finding : findings)
            out += std::string(SCheckFinding::SeverityName(finding.severity)) + "\t" +
                   finding.code + "\t" + SCheckFinding::KindName(finding.kind) + "\t" +
                   std::to_string(finding.id) + "\t" + OneLine(finding.message) + "\n";
        std::cout << out;
    }
    return CDatabaseCheck::HasErrors(findings) ? 1 : 0;
}

} // namespace

const std::vector<CliCommand>& BackupCommands() {
    static const std::vector<CliCommand> commands = {
        {"backups", "backups",
         "lists the backups of the game's database, texts and archives, newest first: "
         "'TIME<TAB>NAME<TAB>FILE<TAB>SIZE<TAB>COUNTS[<TAB>original]'",
         &RunBackups},
        {"restore", "restore NAME|--original [--texts|--archive FILE]",
         "puts a backup back in place of its file, after backing the current file up (restore "
         "that backup to undo); --original: the first backup of the game database, or with "
         "--texts of its text database, with --archive of that archive (data/FILE of --game). "
         "The SHA-256 is checked before and after; archives are copied in chunks, and of "
         "each the original and the newest " +
             std::to_string(CBackupStore::kArchiveKeep) + " copies are kept",
         &RunRestore,
         {{"--original", 0, "    the first backup ever made of the file"},
          {"--texts", 0, "       the in-game text database instead of the game database"},
          {"--archive", 1, "FILE  the game's archive FILE (e.g. zdata_05.big) instead"}}},
        {"check", "check [--json]",
         "checks the whole database, records included, and prints one "
         "'SEVERITY<TAB>CODE<TAB>KIND<TAB>ID<TAB>MESSAGE' line per finding; exit status 1 when "
         "there is an error",
         &RunCheck,
         {{"--json", 0, "        the findings as one JSON document"}}},
    };
    return commands;
}
