// Writes valid in-game text databases made by our own writer into the folder argv[1].
#include "CPrintSink.h"

#include "editor/database/CIngameTextDb.h"
#include "fuzz/common/SeedFiles.h"

int main(int argc, char** argv) {
    const auto folder = SeedFolder(argc, argv);
    if (!folder)
        return 1;
    CPrintSink sink;
    bool ok = true;

    CIngameTextDb hi = CIngameTextDb::CreateNew((*folder / "hi.db").string());
    hi.AddText(7, "Hi");
    ok &= hi.SaveIngameTextDb(sink);

    CIngameTextDb names = CIngameTextDb::CreateNew((*folder / "names.db").string());
    const char* texts[] = {"Górnik Zabrze", "GÓR", "Górnik", "수원 삼성", "浦和", "", "Ολυμπιακός"};
    for (uint32_t team = 0; team < 20; ++team)
        for (uint32_t k = 0; k < 3; ++k)
            names.AddText(30000000 + 10 * team + k, texts[(team + k) % 7]);
    names.AddText(10000010, "Premier League");
    names.AddText(10000010, "a second text of the same id");
    ok &= names.SaveIngameTextDb(sink);

    CIngameTextDb empty = CIngameTextDb::CreateNew((*folder / "empty.db").string());
    ok &= empty.SaveIngameTextDb(sink);
    return ok ? 0 : 1;
}
