#pragma once

#include <QDialog>

class CFrameHost;
class QLineEdit;
class QPushButton;

// The in-game text window's find dialog: modeless, asks for the next text containing the words
// (the window searches downwards from its selection, round from the top, in any letter case).
class CIngameFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit CIngameFindDialog(CFrameHost& host, QWidget* parent = nullptr);

    QLineEdit* TextBox() const { return m_text; }
    QPushButton* FindNextButton() const { return m_findNext; }

signals:
    void FindNext(const QString& text);

private:
    QLineEdit* m_text = nullptr;
    QPushButton* m_findNext = nullptr;
};
