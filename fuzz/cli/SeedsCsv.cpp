// Writes the sample game's records as CSV, the way `kestrel-cli export` does, into the folder
// argv[1]: each seed's first byte names the kind of records, then comma-, semicolon- and
// tab-separated variants of a few rows.
#include "CSampleGenerator.h"

#include "cli/ModelCsv.h"
#include "fuzz/common/SeedFiles.h"

#include "editor/model/CGameDatabase.h"

#include <algorithm>
#include <string>

namespace {

// The header and the first rows of an export, so that seeds stay small.
std::string Head(const std::string& csv, size_t rows) {
    size_t end = 0;
    for (size_t i = 0; i <= rows && end != std::string::npos; ++i)
        end = csv.find('\n', end == 0 && i == 0 ? 0 : end + 1);
    return end == std::string::npos ? csv : csv.substr(0, end + 1);
}

std::vector<Seed> CsvSeeds() {
    CGameDatabase db;
    CSampleGenerator::BuildGame(db, CSampleGenerator::kDefaultSeed);
    std::vector<Seed> seeds;
    const char* kinds[] = {"players", "teams", "leagues", "links", "kits"};
    for (uint8_t k = 0; k < 5; ++k) {
        const std::string csv = Head(CModelCsv::Export(db, kinds[k]), 3);
        for (char separator : {',', ';', '\t'}) {
            std::string text = csv;
            if (separator != ',')
                std::replace(text.begin(), text.end(), ',', separator);
            std::vector<uint8_t> bytes = {k};
            bytes.insert(bytes.end(), text.begin(), text.end());
            seeds.push_back({std::string(kinds[k]) + "-" +
                                 (separator == ',' ? "comma" : separator == ';' ? "semicolon" : "tab") +
                                 ".csv",
                             bytes});
        }
    }
    const std::string quoted = "id,first_name\r\n1,\"O\"\"Neill, \"\"Jr\"\"\"\r\n2,\"two\nlines\"\r\n";
    std::vector<uint8_t> bytes = {0};
    bytes.insert(bytes.end(), quoted.begin(), quoted.end());
    seeds.push_back({"quoted.csv", bytes});
    return seeds;
}

} // namespace

int main(int argc, char** argv) {
    return SeedsMain(argc, argv, CsvSeeds);
}
