#include "CHelpWindow.h"

#include <QScreen>

#include <algorithm>

const char* const CHelpWindow::kHome = "qrc:/help/README.md";

CHelpWindow::CHelpWindow(const QString& title, QWidget* parent) : QTextBrowser(parent) {
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(title);
    setAccessibleName(title);
    // Pages of the program's own documentation open here; the web opens in the browser.
    setOpenLinks(true);
    setOpenExternalLinks(true);
    setSource(QUrl(QString::fromLatin1(kHome)), QTextDocument::MarkdownResource);
    const QSize available = screen() ? screen()->availableSize() : QSize(1024, 768);
    resize(std::min(900, available.width() * 9 / 10), std::min(800, available.height() * 9 / 10));
}

void CHelpWindow::ShowContents() {
    show();
    raise();
    activateWindow();
}
