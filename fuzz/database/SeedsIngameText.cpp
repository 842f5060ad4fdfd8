// Writes valid in-game text databases made by our own writer into the folder argv[1].
#include "editor/database/CIngameTextDb.h"
#include "editor/database/CMessageSink.h"

#include <iostream>

namespace {

class CPrintSink : public CMessageSink {
public:
    void Report(const std::string& key, const std::string& detail) override {
        std::cerr << key << ": " << detail << "\n";
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: seeds_ingame_text FOLDER\n";
        return 1;
    }
    const std::string folder = argv[1];
    CPrintSink sink;
    bool ok = true;

    CIngameTextDb hi = CIngameTextDb::CreateNew(folder + "/hi.db");
    hi.AddText(7, "Hi");
    ok &= hi.SaveIngameTextDb(sink);

    CIngameTextDb names = CIngameTextDb::CreateNew(folder + "/names.db");
    const char* texts[] = {"Górnik Zabrze", "GÓR", "Górnik", "수원 삼성", "浦和", "", "Ολυμπιακός"};
    for (uint32_t team = 0; team < 20; ++team)
        for (uint32_t k = 0; k < 3; ++k)
            names.AddText(30000000 + 10 * team + k, texts[(team + k) % 7]);
    names.AddText(10000010, "Premier League");
    names.AddText(10000010, "a second text of the same id");
    ok &= names.SaveIngameTextDb(sink);

    CIngameTextDb empty = CIngameTextDb::CreateNew(folder + "/empty.db");
    ok &= empty.SaveIngameTextDb(sink);
    return ok ? 0 : 1;
}
