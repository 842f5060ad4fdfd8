// Writes small localisation files into the folder argv[1]: UTF-8 with and without a byte-order
// mark, UTF-16LE, Windows-1252, CRLF and LF, as the editor's own files and older ones come.
#include "fuzz/common/SeedFiles.h"

#include <string>

namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<uint8_t> Utf16Le(const std::string& ascii) {
    std::vector<uint8_t> bytes = {0xFF, 0xFE};
    for (char c : ascii) {
        bytes.push_back(static_cast<uint8_t>(c));
        bytes.push_back(0);
    }
    return bytes;
}

std::vector<Seed> LocalisationSeeds() {
    const std::string table = "Key\tEnglish_UK\tFrench\tGerman\tSpanish\r\n"
                              "Caption_Pace\tPace\tVitesse\tTempo\tVelocidad\r\n"
                              "Menu_Save\tSave \\tCtrl+S\tEnregistrer \\tCtrl+S\tSpeichern\t\r\n"
                              "Message_Range\tFrom %1 to %2\tDe %1 à %2\tVon %1 bis %2\tDe %1 a %2\r\n"
                              "Position_0\tGoalkeeper\tGardien\tTorwart\tPortero\r\n";
    std::string lf = table;
    for (size_t at; (at = lf.find('\r')) != std::string::npos;)
        lf.erase(at, 1);
    return {
        {"utf8.qtx", Bytes(table)},
        {"utf8-bom.qtx", Bytes("\xEF\xBB\xBF" + lf)},
        {"one-language.qtx", Bytes("Key\tEnglish_UK\nCaption_Age\tAge\nEmpty\t\n")},
        {"windows-1252.qtx", Bytes("Key\tFrench\r\nCaption_Age\t\xC2ge \xE9t\xE9\r\n")},
        {"utf16.qtx", Utf16Le("Key\tGerman\r\nCaption_Age\tAlter\r\n")},
    };
}

} // namespace

int main(int argc, char** argv) {
    return SeedsMain(argc, argv, LocalisationSeeds);
}
