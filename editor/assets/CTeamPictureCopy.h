#pragma once

#include "CPictureArchive.h"

#include <cstdint>
#include <string>
#include <vector>

class CBackupStore;

// A team's crest and kit pictures copied from another installation's archives to a team here,
// after the team itself was copied (copy-team, the editor's Import Team). Each archive here is
// backed up once, before the first picture goes into it, so that one copy holds the archive as
// it was before and restoring it takes every copied picture back.
class CTeamPictureCopy {
public:
    static constexpr int kCrest = -1;

    enum class EOutcome {
        Copied,
        Absent, // the other installation has no such picture (or its archives cannot be read)
        Failed,
    };

    struct SItem {
        int kit = kCrest; // the kit's slot, or kCrest
        EOutcome outcome = EOutcome::Absent;
        std::string reason; // why it failed
        CPictureArchive::SWritten written;
    };

    // The crest of team `there` in fromFolder, then its picture of each kit slot in `kits`,
    // written for team `here` in toFolder; one item each, in that order. Nothing is written for
    // a picture that is absent or cannot be converted.
    static std::vector<SItem> Copy(const CPictureArchive::Fetcher& fetch,
                                   const std::string& fromFolder, int32_t there,
                                   const std::string& toFolder, int32_t here,
                                   const std::vector<int>& kits, const CBackupStore& backups,
                                   int keep);
};
