#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

class CFrameHost;

// The crest and kit pictures of a team copied from another installation (Import Team, a dragged
// team), written for its copy here once the copy is done. The archives are written at once,
// each backed up first, and are no part of the undo history: Restore Backup takes them back.
class CCopiedTeamPictures {
public:
    struct SReport {
        QString summary;     // for the status bar: what was copied, skipped or not copied
        QStringList details; // reasons, archives written and their backups, for its tool tip
    };

    // Copies the pictures of team `there` in fromFolder to the team `here` of the loaded
    // database, one for each kit it has. Nothing fails aloud: what could not be copied is
    // told in the report.
    static SReport Copy(CFrameHost& host, const QString& fromFolder, int32_t there, int32_t here);
    // The report when the user chose to leave the pictures behind.
    static SReport LeftBehind(CFrameHost& host);
};
