#pragma once

#include <QDialog>

#include <functional>

class CLocalisationTable;
class QLabel;

// Help › About: the program's version, its licence and the ways to its documentation (the help
// window, the project's website).
class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    CAboutDialog(const CLocalisationTable& texts, const std::function<void()>& showHelp,
                 QWidget* parent = nullptr);

    // What the dialog says, for tests and screen readers.
    QString Text() const;

private:
    QLabel* m_text = nullptr;
};
