#include "CSampleGenerator.h"

#include "editor/model/CGameDatabase.h"
#include "editor/windows/CAllPlayersFrame.h"
#include "editor/windows/CAllPlayersModel.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CPlayersTableView.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QScrollBar>
#include <QSettings>
#include <QUndoStack>

#include <benchmark/benchmark.h>

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "kestrel_windows_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// The main window's part the table needs, over the sample grown to 50,000 players.
class CBenchHost : public CFrameHost {
public:
    CBenchHost() { CSampleGenerator::BuildGame(m_database, CSampleGenerator::kDefaultSeed, 50000); }
    CGameDatabase* Database() override { return &m_database; }
    QString Text(const char* key) const override {
        return std::string_view(key) == "Caption_PlayersCount" ? QStringLiteral("%1 of %2")
                                                               : QString::fromLatin1(key);
    }
    QFont TitleFont() const override { return {}; }
    QFont SmallTitleFont() const override { return {}; }
    QString EditorFolder() const override { return QDir::tempPath(); }
    CPictureRequests* Pictures() override { return nullptr; }
    bool CanStoreInGameNames() const override { return true; }
    bool OpenLeague(int) override { return false; }
    bool OpenTeam(int) override { return false; }
    bool OpenPlayer(int) override { return false; }
    bool OpenSearchResults(const CFindSettings&) override { return false; }
    bool OpenIngameText(const QString&) override { return false; }
    bool RefreshLeague(int) override { return false; }
    bool RefreshTeam(int) override { return false; }
    bool RefreshPlayer(int) override { return false; }
    void RefreshLeaguesList() override {}
    QUndoStack& UndoStack() override { return m_undo; }
    void ShowStatus(const QString&, const QString&) override {}
    std::unique_ptr<QSettings> Settings() const override {
        return std::make_unique<QSettings>(QDir::temp().filePath("kestrel_bench.ini"),
                                           QSettings::IniFormat);
    }

private:
    CGameDatabase m_database;
    QUndoStack m_undo;
};

CBenchHost& Host() {
    App();
    static CBenchHost host;
    return host;
}

// Target: under 300 ms from nothing to the first rows drawn, with 50,000 players.
void BM_OpenAllPlayers(benchmark::State& state) {
    CBenchHost& host = Host();
    QImage target(1000, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        CAllPlayersFrame frame(host);
        frame.resize(target.size());
        frame.Fill();
        frame.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_OpenAllPlayers)->Unit(benchmark::kMillisecond);

// One page of rows drawn after a scroll: what keeps scrolling smooth.
void BM_ScrollOnePage(benchmark::State& state) {
    CBenchHost& host = Host();
    CAllPlayersFrame frame(host);
    frame.resize(1000, 600);
    frame.Fill();
    QScrollBar* bar = frame.View()->verticalScrollBar();
    QImage target(frame.View()->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    int position = 0;
    for (auto _ : state) {
        position = (position + bar->pageStep()) % std::max(1, bar->maximum());
        bar->setValue(position);
        frame.View()->viewport()->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_ScrollOnePage)->Unit(benchmark::kMillisecond);

} // namespace
