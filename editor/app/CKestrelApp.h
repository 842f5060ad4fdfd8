#pragma once

#include "editor/app/CLocalisationTable.h"

#include <QFont>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class CAssetLibrary;
class CMainFrame;
class CPictureRequests;
class CSplashWindow;
class QSettings;

// Everything that lives for the whole run: paths, languages, fonts, the localisation table,
// the asset library binding and the main window. Start-up and shut-down run in a fixed order.
class CKestrelApp : public QObject {
    Q_OBJECT
public:
    CKestrelApp();
    ~CKestrelApp() override;

    // The one instance, or null outside a run.
    static CKestrelApp* Instance();

    // Reads the arguments (--game DIR, --game-language N), finds the game, loads the texts and
    // the fonts, creates the main window and binds the asset library. False: end the program.
    bool Startup(const QStringList& arguments);
    // Runs whatever start-up set up in reverse; safe after a failed start-up.
    void Shutdown();

    // The editor's own settings ("Software\Brackwater\Kestrel" of the current user).
    static std::unique_ptr<QSettings> EditorSettings();

    const QString& EditorFolder() const { return m_editorFolder; }
    // Where the localisation files and the asset library are looked for; by default the
    // program's own folder. Set before Startup.
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
    static QString VersionText();

private:
    bool ParseArguments(const QStringList& arguments);
    bool FindGame();
    void LoadLocalisation();
    void AddFonts();
    void BindAssetLibrary();

    QString m_editorFolder;
    bool m_editorFolderSet = false;
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
};
