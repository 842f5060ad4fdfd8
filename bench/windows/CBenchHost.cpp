#include "CBenchHost.h"

#include "CSampleGenerator.h"
#include "bench/support/BenchApplication.h"

#include <QDir>

#include <string_view>

CBenchHost::CBenchHost(int playerCount) {
    BenchApplication();
    CSampleGenerator::BuildGame(m_document.Storage(), CSampleGenerator::kDefaultSeed, playerCount);
    m_document.UseBuilt();
}

QString CBenchHost::Text(const char* key) const {
    return std::string_view(key) == "Caption_PlayersCount" ? QStringLiteral("%1 of %2")
                                                           : QString::fromLatin1(key);
}

std::unique_ptr<QSettings> CBenchHost::Settings() const {
    return std::make_unique<QSettings>(QDir::temp().filePath("kestrel_bench.ini"),
                                       QSettings::IniFormat);
}
