#include "bench/support/BenchApplication.h"
#include "editor/toolkit/CFormationView.h"

#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

// A full squad as the sample shows it: eleven on the pitch, a full bench, reserves, takers.
QList<SFormationMarker> Squad() {
    QImage icon(16, 16, QImage::Format_ARGB32_Premultiplied);
    icon.fill(QColor(40, 90, 200));
    const int cells[] = {73, 56, 54, 52, 50, 36, 34, 32, 30, 13, 3,  7,  17, 27, 37,
                         47, 8,  18, 28, 38, 48, 9,  19, 29, 80, 81, 82, 83, 84};
    QList<SFormationMarker> markers;
    int number = 1;
    for (int cell : cells) {
        SFormationMarker marker;
        marker.cell = cell;
        marker.setPiece = cell >= 80;
        marker.icon = icon;
        marker.boxText = marker.setPiece ? QStringLiteral("FK") : QString::number(number++);
        marker.name = QStringLiteral("Lastname%1").arg(number);
        markers.push_back(marker);
    }
    return markers;
}

void Repaint(benchmark::State& state, QSize size) {
    BenchApplication();
    CFormationView view;
    view.resize(size);
    view.SetMarkers(Squad());
    view.SetSelectedMarker(3);
    QImage target(size, QImage::Format_ARGB32_Premultiplied);
    view.render(&target); // the pitch ground is drawn once per size
    for (auto _ : state) {
        view.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}

void Resize(benchmark::State& state) {
    BenchApplication();
    CFormationView view;
    view.SetMarkers(Squad());
    QImage target(QSize(1600, 900), QImage::Format_ARGB32_Premultiplied);
    bool wide = false;
    for (auto _ : state) {
        wide = !wide;
        view.resize(wide ? QSize(1600, 900) : QSize(1590, 890));
        view.render(&target);
    }
}

} // namespace

BENCHMARK_CAPTURE(Repaint, Small, QSize(620, 360))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Repaint, FullScreen, QSize(1600, 900))->Unit(benchmark::kMillisecond);
BENCHMARK(Resize)->Unit(benchmark::kMillisecond);
