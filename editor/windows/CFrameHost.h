#pragma once

#include "editor/toolkit/TextLookup.h"
#include "editor/windows/CFindSettings.h"

#include <QFont>
#include <QList>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>

class CDatabaseDocument;
class CGameDatabase;
class CIngameTextDb;
class CLeague;
class CPlayer;
class CTeam;
class CPictureRequests;
class QSettings;
class QWidget;

// What the child windows need of the main window: the document, texts, fonts, pictures, and
// the one place through which other windows are opened.
class CFrameHost {
public:
    virtual ~CFrameHost() = default;

    // Null when no database is loaded.
    virtual CGameDatabase* Database() = 0;
    // The record of that id in the loaded database; null when none is loaded or none has the id.
    CPlayer* FindPlayer(int32_t id);
    CTeam* FindTeam(int32_t id);
    CLeague* FindLeague(int32_t id);
    // The loaded database with its history; every database-wide change goes through it.
    virtual CDatabaseDocument& Document() = 0;
    // The localised text of a key; the key itself when it has no text.
    virtual QString Text(const char* key) const = 0;
    // The same lookup for the toolkit's forms.
    TextLookup Lookup() const {
        return [this](const QString& key) { return Text(key.toUtf8().constData()); };
    }
    virtual QFont TitleFont() const = 0;
    virtual QFont SmallTitleFont() const = 0;
    // The folder of the editor's own files (the "Arts" pictures).
    virtual QString EditorFolder() const = 0;
    // Null when the asset library is not bound.
    virtual CPictureRequests* Pictures() = 0;
    // Team and league names live in the in-game text database; without a readable one a
    // rename would be lost at the next save.
    virtual bool CanStoreInGameNames() const = 0;

    virtual bool OpenLeague(int leagueId) = 0;
    virtual bool OpenTeam(int teamId) = 0;
    virtual bool OpenPlayer(int playerId) = 0;
    virtual bool OpenSearchResults(const CFindSettings& settings) = 0;
    virtual bool OpenIngameText(const QString& filePath) = 0;

    // Text of the status bar; `detail` shows as its tool tip.
    virtual void ShowStatus(const QString& text, const QString& detail = {}) = 0;
    // The editor's own settings.
    virtual std::unique_ptr<QSettings> Settings() const = 0;

    // Copies an in-game text file into the backups before a window writes it; false, after
    // saying why, when the copy could not be made (the window then writes nothing).
    virtual bool BackUpTextFile(const QString& filePath, QWidget* parent) = 0;
    // A text window wrote its file; `entries` are the texts it changed. When the file holds the
    // game language's texts, the team and league names among them go into the database.
    virtual void IngameTextsSaved(const QString& filePath, const CIngameTextDb& texts,
                                  const std::set<size_t>& entries) = 0;
    // Where an archive is copied before a picture import replaces it: the backups of the loaded
    // database, with the number of copies the user keeps (CBackupStore caps it for archives).
    virtual std::filesystem::path BackupFolder() const = 0;
    virtual int BackupCount() const = 0;
    // A warning message box over the parent.
    virtual void Warn(QWidget* parent, const QString& text) = 0;
    // What the edit commands can do changed without the focus moving (a player was copied).
    virtual void EditStateChanged() {}

    // Copies a team of the installation in `folder` into the loaded database as one step (with
    // its squad), joining the league when one is given; false when nothing was copied.
    virtual bool CopyTeamFrom(const QString& /*folder*/, int32_t /*teamId*/,
                              std::optional<int32_t> /*leagueId*/) {
        return false;
    }

    // Deletes players no team refers to, after asking the user, and closes their windows;
    // false when nothing was deleted.
    virtual bool DeletePlayers(const QList<int32_t>& playerIds) = 0;
};
