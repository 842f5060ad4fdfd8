#include "CBenchHost.h"

#include "CSampleGenerator.h"
#include "bench/support/BenchApplication.h"

#include <QDir>

#include <map>
#include <string_view>

CBenchHost::CBenchHost(int playerCount) {
    BenchApplication();
    CSampleGenerator::BuildGame(m_document.Storage(), CSampleGenerator::kDefaultSeed, playerCount);
    m_document.UseBuilt();
}

QString CBenchHost::Text(const char* key) const {
    // Texts that take values: as long as the English ones, with the same places for them.
    static const std::map<std::string_view, QString> withValues = {
        {"Caption_PlayersCount", QStringLiteral("%1 of %2")},
        {"Caption_FieldUnnamedColumn", QStringLiteral("Column %1")},
        {"Message_CompareCount", QStringLiteral("%1 records")},
        {"Message_CompareSame", QStringLiteral("No differences from %1.")},
        {"Message_CompareSummary", QStringLiteral("Differences from %1: %2")},
    };
    const auto found = withValues.find(key);
    return found != withValues.end() ? found->second : QString::fromLatin1(key);
}

std::unique_ptr<QSettings> CBenchHost::Settings() const {
    return std::make_unique<QSettings>(QDir::temp().filePath("kestrel_bench.ini"),
                                       QSettings::IniFormat);
}
