#include "CTeamPictureCopy.h"

#include "CPictureNames.h"

#include <set>

std::vector<CTeamPictureCopy::SItem>
CTeamPictureCopy::Copy(const CPictureArchive::Fetcher& fetch, const std::string& fromFolder,
                       int32_t there, const std::string& toFolder, int32_t here,
                       const std::vector<int>& kits, const CBackupStore& backups, int keep) {
    std::vector<SItem> items;
    // Archives backed up by this copy: a copy before each picture would push the archive as it
    // was out of the few copies kept of an archive.
    std::set<std::string> backedUp;
    const auto copy = [&](int kit, const std::string& container, const std::string& shape,
                          const CPictureArchive::STarget& target) {
        SItem& item = items.emplace_back();
        item.kit = kit;
        const auto picture = CPictureArchive::Read(fetch, fromFolder, container, shape);
        if (!picture)
            return;
        item.outcome = EOutcome::Failed;
        const auto prepared = CPictureArchive::Prepare(target, *picture, {}, item.reason);
        const bool first = !backedUp.contains(target.archive);
        if (!prepared ||
            !CPictureArchive::Write(*prepared, backups, keep, item.written, item.reason,
                                    first ? CPictureArchive::EBackup::Make
                                          : CPictureArchive::EBackup::Skip))
            return;
        item.outcome = EOutcome::Copied;
        backedUp.insert(target.archive);
    };
    copy(kCrest, CPictureNames::LogoContainer(there), CPictureNames::LogoShape(),
         CPictureArchive::CrestTarget(toFolder, here));
    for (const int kit : kits)
        copy(kit, CPictureNames::KitContainer(there, kit), CPictureNames::KitShape(kit),
             CPictureArchive::KitTarget(toFolder, here, kit));
    return items;
}
