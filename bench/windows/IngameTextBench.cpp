// Opening an in-game text window on a text database ten times the sample's: read, list, sort.
#include "CBenchHost.h"

#include "CSampleGenerator.h"
#include "bench/support/BenchApplication.h"
#include "editor/dialogs/CUserPrompts.h"
#include "editor/database/CIngameTextDb.h"
#include "editor/database/CMessageSink.h"
#include "editor/windows/CIngameFrame.h"

#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr uint32_t kCopies = 10;

// The sample's English texts ten times over, each copy with its own ids and texts; empty
// when the sample could not be written.
std::string BigTextFile() {
    static QTemporaryDir dir;
    static std::string path;
    if (!path.empty() || !dir.isValid())
        return path;
    CIgnoringSink sink;
    const std::string game = dir.filePath(QStringLiteral("game")).toStdString();
    if (!WriteSampleInstallation(game, CSampleGenerator::kDefaultSeed, sink))
        return path;
    CIngameTextDb sample(game + "/" + std::string(CIngameTextDb::RelativePathForLanguage(0)));
    if (!sample.ReadIngameTextDb(sink))
        return path;
    const std::string bigPath = dir.filePath(QStringLiteral("big.db")).toStdString();
    CIngameTextDb big = CIngameTextDb::CreateNew(bigPath);
    for (uint32_t copy = 0; copy < kCopies; ++copy)
        for (const CIngameTextEntry& entry : sample.Entries())
            big.AddText(entry.textId + copy * 400000000u,
                        copy == 0 ? entry.text : entry.text + " " + std::to_string(copy));
    if (big.SaveIngameTextDb(sink))
        path = bigPath;
    return path;
}

// Target: well under a second from the file to the first rows drawn.
void BM_OpenIngameTextWindow(benchmark::State& state) {
    BenchApplication();
    static CBenchHost host(0);
    const std::string path = BigTextFile();
    if (path.empty()) {
        state.SkipWithError("the big text database could not be written");
        return;
    }
    QImage target(640, 520, QImage::Format_ARGB32_Premultiplied);
    int rows = 0;
    for (auto _ : state) {
        CIngameFrame frame(QString::fromStdString(path), host);
        frame.resize(target.size());
        frame.Fill();
        frame.render(&target);
        rows = static_cast<int>(frame.Texts().Entries().size());
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["texts"] = rows;
}
BENCHMARK(BM_OpenIngameTextWindow)->Unit(benchmark::kMillisecond);

// Find Next through every text when none matches, the worst case of one search.
void BM_FindWithoutMatch(benchmark::State& state) {
    BenchApplication();
    static CBenchHost host(0);
    const std::string path = BigTextFile();
    if (path.empty()) {
        state.SkipWithError("the big text database could not be written");
        return;
    }
    CIngameFrame frame(QString::fromStdString(path), host);
    frame.Fill();
    // The message that nothing was found is answered at once.
    CUserPrompts::SetHandler(
        [](const QString&, const QString&) { return CUserPrompts::Answer::Cancel; });
    for (auto _ : state)
        benchmark::DoNotOptimize(frame.FindNext(QString::fromUtf8("\xC3\x87"
                                                                  "E\xC5\x9E"
                                                                  "MEZ")));
}
BENCHMARK(BM_FindWithoutMatch)->Unit(benchmark::kMillisecond);

} // namespace
