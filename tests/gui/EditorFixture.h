#pragma once

#include "editor/dialogs/CUserPrompts.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class CKestrelApp;

// A sample installation, an editor folder with the shipped texts, private settings and a
// recorder of every message box, for one test run.
class EditorFixture {
public:
    EditorFixture();
    ~EditorFixture();

    bool IsValid() const { return m_valid; }
    QString GameFolder() const;
    QString EditorFolder() const;
    QString DatabasePath() const;
    QString TextDbPath() const;
    // The editor's own settings, kept in the fixture's folder.
    QSettings EditorSettings() const;

    // Starts a fresh editor on the sample; null when start-up failed.
    CKestrelApp* Start(const QStringList& extraArguments = {});
    CKestrelApp* App() { return m_app.get(); }
    // Shuts the editor down as the program does at exit.
    void Stop();
    // Copies a folder tree (another copy of the installation); false when anything failed.
    static bool CopyFolder(const QString& from, const QString& to);

    // Message boxes shown so far, as "kind: text".
    QStringList prompts;
    // The answer given to the next questions.
    CUserPrompts::Answer answer = CUserPrompts::Answer::Cancel;
    // Start passes --game-language 0 unless told otherwise, so the editor does not ask which
    // of the sample's languages it is.
    bool giveGameLanguage = true;

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
    std::unique_ptr<CKestrelApp> m_app;
};
