#include "BenchApplication.h"

#include <QApplication>

QApplication& BenchApplication() {
    static int argc = 1;
    static char name[] = "kestrel_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}
