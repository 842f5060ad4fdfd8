#include "CBenchHost.h"

#include "CSampleGenerator.h"

#include <QDir>

#include <string_view>

QApplication& CBenchHost::App() {
    static int argc = 1;
    static char name[] = "kestrel_windows_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

CBenchHost::CBenchHost(int playerCount) {
    App();
    CSampleGenerator::BuildGame(m_database, CSampleGenerator::kDefaultSeed, playerCount);
}

QString CBenchHost::Text(const char* key) const {
    return std::string_view(key) == "Caption_PlayersCount" ? QStringLiteral("%1 of %2")
                                                           : QString::fromLatin1(key);
}

std::unique_ptr<QSettings> CBenchHost::Settings() const {
    return std::make_unique<QSettings>(QDir::temp().filePath("kestrel_bench.ini"),
                                       QSettings::IniFormat);
}
