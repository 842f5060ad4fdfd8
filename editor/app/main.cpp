#include "CKestrelApp.h"
#include "CToolBarIcons.h"

#include <QApplication>

#include <QStringList>

#include <cstdio>
#include <optional>

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    if (const std::optional<int> status = CKestrelApp::AnswerInformationOptions(arguments)) {
        return *status;
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
        return app.ArgumentsWrong() ? 2 : 1;
    }
    if (app.CheckOnly()) {
        QString report;
        const bool complete = app.CheckReport(report);
        std::fputs(qPrintable(report), stdout);
        app.Shutdown();
        return complete ? 0 : 1;
    }
    QObject::connect(&app, &CKestrelApp::Finished, &application, &QApplication::quit,
                     Qt::QueuedConnection);
    const int code = QApplication::exec();
    app.Shutdown();
    return code;
}
