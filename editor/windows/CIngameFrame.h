#pragma once

#include "editor/windows/CChildFrame.h"

#include <QString>

#include <memory>

class CIngameFindDialog;
class CIngameTextDb;
class CIngameTextModel;
class CIngameTextView;

// Child window of kind IngameText: the texts of one in-game text database file, sorted,
// edited in place and written back by the save command. Closing with unsaved edits asks.
class CIngameFrame : public CChildFrame {
    Q_OBJECT
public:
    CIngameFrame(const QString& filePath, CFrameHost& host, QWidget* parent = nullptr);
    ~CIngameFrame() override;

    const QString& FilePath() const { return m_filePath; }

    // Reads the file (saying why when it cannot) and lists its texts.
    void Fill() override;

    // Writes the texts to the file; false, after saying why, when it could not: the edits stay.
    bool Save();
    bool IsModified() const override;
    bool TakesNewPlayers() const override { return false; }
    bool HasOwnFile() const override { return true; }
    bool SaveOwnFile() override { return Save(); }
    bool FindInWindow() override {
        Find();
        return true;
    }
    bool ConfirmClose() override;
    // Shows the find dialog.
    void Find();
    // Selects the next row below the selection (round from the top) whose text contains `text`
    // in any letter case; false, after saying so, when no row does.
    bool FindNext(const QString& text);

    CIngameTextView* List() const { return m_list; }
    CIngameFindDialog* FindDialog() const { return m_findDialog; }
    const CIngameTextDb& Texts() const { return *m_texts; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowModified(bool modified);
    // Takes in what others wrote to the file since it was read (the database's save writes team
    // and league names into it), keeping this window's edits; false when the user would rather
    // not replace a file whose list of texts has changed. `changed`: other texts came in.
    bool TakeInFileChanges(bool& changed);
    // Lists the texts again, the entry that was current still current.
    void Refill();

    QString m_filePath;
    std::unique_ptr<CIngameTextDb> m_texts;
    CIngameTextModel* m_model = nullptr;
    CIngameTextView* m_list = nullptr;
    CIngameFindDialog* m_findDialog = nullptr;
    // A window whose file could not be read must not write its empty list over the file.
    bool m_read = false;
};
