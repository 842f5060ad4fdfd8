#include "CKestrelApp.h"
#include "CMainFrame.h"
#include "CToolBarIcons.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    // --help and --version print and end before any window: they need no display.
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--help" || argument == "-h" || argument == "--version" ||
            argument == "-v") {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
                qputenv("QT_QPA_PLATFORM", "offscreen");
            }
        }
    }
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brackwater"));
    QApplication::setApplicationName(QStringLiteral("Kestrel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kestrel"));
    QApplication::setApplicationVersion(CKestrelApp::VersionText());
    QApplication::setWindowIcon(CToolBarIcons::Application());
    // The main window asks before closing; quitting follows it, not the last window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    CKestrelApp app;
    if (!app.Startup(QApplication::arguments())) {
        return 1;
    }
    if (app.CheckOnly()) {
        QString report;
        const bool complete = app.CheckReport(report);
        std::fputs(qPrintable(report), stdout);
        app.Shutdown();
        return complete ? 0 : 1;
    }
    QObject::connect(app.MainFrame(), &CMainFrame::Closed, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    const int code = QApplication::exec();
    app.Shutdown();
    return code;
}
