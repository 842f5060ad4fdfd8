// Reads any bytes as a patch; one that reads must write and read back to the same changes, and
// a dry run of it on a sample database must neither fail nor change the database.
#include "editor/model/CFieldDiff.h"
#include "editor/model/CGameDatabase.h"
#include "editor/model/CPatch.h"
#include "editor/model/CPatchApply.h"
#include "tools/CSampleGenerator.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

CGameDatabase& Sample() {
    static CGameDatabase* db = [] {
        auto* made = new CGameDatabase;
        CSampleGenerator::BuildGame(*made, CSampleGenerator::kDefaultSeed);
        return made;
    }();
    return *db;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CPatch patch;
    std::string error;
    if (!CPatch::Read(std::string_view(reinterpret_cast<const char*>(data), size), patch, error)) {
        if (error.rfind("line ", 0) != 0)
            __builtin_trap();
        return 0;
    }
    CPatch again;
    if (!CPatch::Read(patch.ToText(), again, error) || !(again.changes == patch.changes))
        __builtin_trap();
    CPatchApply::SOptions options;
    options.dryRun = true;
    options.resolve = CPatchApply::EResolve::Theirs;
    const size_t players = Sample().Players().size();
    const auto result = CPatchApply::Apply(Sample(), patch, options);
    if (Sample().Players().size() != players || Sample().IsDirty())
        __builtin_trap();
    (void)CFieldDiff::Lines(result.changes);
    return 0;
}
