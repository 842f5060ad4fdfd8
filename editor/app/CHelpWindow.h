#pragma once

#include <QTextBrowser>

// The documentation shipped inside the program (the README and the pages it links to), shown
// in a window of its own beside the editor; F1 brings it up.
class CHelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    static const char* const kHome;

    explicit CHelpWindow(const QString& title, QWidget* parent = nullptr);

    // Shows the window on its first page (or where the reader left it) and brings it forward.
    void ShowContents();
};
