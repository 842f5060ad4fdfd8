#pragma once

#include "editor/localisation/CLocalisationTable.h"

#include <QFont>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class CAssetLibrary;
class CHelpWindow;
class CMainFrame;
class CPictureRequests;
class CSplashWindow;
class QSettings;
class QTranslator;

// Everything that lives for the whole run: paths, languages, fonts, the localisation table,
// the asset library binding and the main window. Start-up and shut-down run in a fixed order.
class CKestrelApp : public QObject {
    Q_OBJECT
public:
    CKestrelApp();
    ~CKestrelApp() override;

    // The one instance, or null outside a run.
    static CKestrelApp* Instance();

    // Reads the arguments (--game DIR, --game-language N, --check), finds the game, loads the
    // texts and the fonts, creates the main window and binds the asset library. False: end the
    // program.
    bool Startup(const QStringList& arguments);
    // After a failed Startup: the arguments were wrong (said on standard error), exit status 2.
    bool ArgumentsWrong() const { return m_argumentsWrong; }
    // The command line's help, for --help.
    static QString HelpText();
    // Answers --help and --version (-h, -v) on standard output before any window or display
    // is needed: the exit status, or nothing when the editor is to start.
    static std::optional<int> AnswerInformationOptions(const QStringList& arguments);
    // --check: the program reports what it loaded and ends instead of showing its window.
    bool CheckOnly() const { return m_checkOnly; }
    // What was loaded, one "what: where (how)" line each; true when everything a user needs
    // (database, localisation texts, asset library, Arts pictures) was there.
    bool CheckReport(QString& report) const;
    // Runs whatever start-up set up in reverse; safe after a failed start-up.
    void Shutdown();

    // The editor's own settings ("Software\Brackwater\Kestrel" of the current user).
    static std::unique_ptr<QSettings> EditorSettings();

    const QString& EditorFolder() const { return m_editorFolder; }
    // Where the localisation files, the Arts pictures and (when set) the asset library are
    // looked for; by default the program's own folder, or an installation's data folder.
    // Set before Startup.
    void SetEditorFolder(const QString& folder);
    const QString& InstallFolder() const { return m_installFolder; }
    const QString& DatabasePath() const { return m_databasePath; }
    const QString& IngameTextDbPath() const { return m_ingameTextDbPath; }
    quint32 GameLanguage() const { return m_gameLanguage; }
    const QString& EditorLanguage() const { return m_editorLanguage; }
    // Takes effect at the next start.
    void SetEditorLanguage(const QString& language) { m_editorLanguage = language; }

    const QFont& TitleFont() const { return m_titleFont; }
    const QFont& SmallTitleFont() const { return m_smallTitleFont; }

    const CLocalisationTable& Localisation() const { return m_localisation; }
    QString Text(const char* key) const;

    CAssetLibrary* Assets() { return m_assets.get(); }
    // Null unless the asset library is bound.
    CPictureRequests* Pictures() { return m_pictures.get(); }
    CMainFrame* MainFrame() { return m_mainFrame.get(); }
    CSplashWindow& Splash();

    void ShowAbout();
    // The documentation in its own window (Help › Contents, F1).
    void ShowHelp();
    CHelpWindow* HelpWindow() { return m_help.get(); }
    static QString VersionText();

    // The game folders opened last, newest first (at most kRecentFolders).
    static constexpr int kRecentFolders = 5;
    QStringList RecentGameFolders() const;
    // Opens another installation in a new main window once the open one agreed to close (its
    // unsaved work asked about); the switch happens when control returns to the event loop.
    // False, with a message, when the folder holds no game, or when the user kept the old one.
    bool SwitchGame(const QString& folder);

signals:
    // The main window closed for good: the program ends.
    void Finished();

private:
    bool ParseArguments(const QStringList& arguments);
    bool FindGame();
    // The game language of the installation folder: the command line's, the one the user
    // chose for this folder before, the game's registered one, or asked for.
    quint32 ChooseGameLanguage(QSettings& settings, std::optional<quint32> registered);
    // The editor language of the system's locale, English when it is none of the editor's.
    QString SystemLanguage() const;
    void LoadLocalisation();
    void LoadQtTranslations();
    void AddFonts();
    void BindAssetLibrary();
    // Settles the language and the paths of the installation in `folder`, kept as the last
    // used and newest recent folder.
    void UseGameFolder(QSettings& settings, const QString& folder, std::optional<quint32> language);
    // A new main window on the paths set; false when it cannot work at all.
    bool CreateMainFrame();
    void ReplaceMainFrame(const QString& folder);

    QString m_editorFolder;
    bool m_editorFolderSet = false;
    bool m_checkOnly = false;
    bool m_argumentsWrong = false;
    QString m_installFolder;
    QString m_databasePath;
    QString m_ingameTextDbPath;
    quint32 m_gameLanguage = 0;
    QString m_editorLanguage;
    bool m_editorLanguageRead = false;
    QString m_editorLanguageAtStart;
    QString m_argumentGame;
    std::optional<quint32> m_argumentLanguage;
    QList<int> m_fontIds;
    QFont m_titleFont;
    QFont m_smallTitleFont;
    CLocalisationTable m_localisation;
    std::unique_ptr<CAssetLibrary> m_assets;
    std::unique_ptr<CPictureRequests> m_pictures;
    std::unique_ptr<CSplashWindow> m_splash;
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::unique_ptr<QTranslator> m_qtTranslator;
    std::unique_ptr<CHelpWindow> m_help;
};
