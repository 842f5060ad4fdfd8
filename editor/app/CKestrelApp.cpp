#include "CKestrelApp.h"

#include "CGameLocator.h"
#include "CMainFrame.h"
#include "CUserPrompts.h"
#include "CWaitCursor.h"
#include "editor/assets/CAssetLibrary.h"
#include "editor/assets/CPictureRequests.h"
#include "editor/assets/InstallPath.h"
#include "editor/toolkit/CSplashWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QSettings>

#include <array>
#include <filesystem>

namespace {

CKestrelApp* g_instance = nullptr;

const QString kEditorLanguage = QStringLiteral("Editor Language");
const QString kDefaultLanguage = QStringLiteral("English_UK");
const QString kLastGameFolder = QStringLiteral("Last Game Folder");
const QString kLastGameLanguage = QStringLiteral("Last Game Language");
const QString kTitleFontFamily = QStringLiteral("Gill Sans Display MT Cond Bold");

constexpr std::array<const char*, 3> kFontFiles = {"futuraxk.ttf", "abacebdi.ttf", "gdcb____.ttf"};

} // namespace

CKestrelApp::CKestrelApp() {
    g_instance = this;
}

CKestrelApp::~CKestrelApp() {
    Shutdown();
    if (g_instance == this) {
        g_instance = nullptr;
    }
}

CKestrelApp* CKestrelApp::Instance() {
    return g_instance;
}

std::unique_ptr<QSettings> CKestrelApp::EditorSettings() {
    return std::make_unique<QSettings>(QStringLiteral("Brackwater"), QStringLiteral("Kestrel"));
}

QString CKestrelApp::Text(const char* key) const {
    return QString::fromStdString(m_localisation.Lookup(key));
}

CSplashWindow& CKestrelApp::Splash() {
    if (!m_splash) {
        m_splash = std::make_unique<CSplashWindow>();
        m_splash->SetPicture(
            CSplashWindow::MakeDefaultPicture(QStringLiteral("Kestrel"), Text("Caption_Tagline")));
    }
    return *m_splash;
}

QString CKestrelApp::VersionText() {
    return QStringLiteral("%1.0").arg(QStringLiteral(KESTREL_VERSION));
}

void CKestrelApp::ShowAbout() {
    CSplashWindow& splash = Splash();
    splash.SetProgress(-1);
    splash.SetText(
        QStringLiteral("Brackwater Kestrel\n%1 %2").arg(Text("Caption_Version"), VersionText()));
    splash.SetClosesOnInput(true);
    splash.ShowCentred();
    splash.activateWindow();
    splash.setFocus();
}

void CKestrelApp::SetEditorFolder(const QString& folder) {
    m_editorFolder = CGameLocator::WithSlash(folder);
    m_editorFolderSet = true;
}

bool CKestrelApp::ParseArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption game(QStringLiteral("game"),
                                  QStringLiteral("The game's installation folder."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption language(QStringLiteral("game-language"),
                                      QStringLiteral("The game's language number (0-12)."),
                                      QStringLiteral("N"));
    parser.addOption(game);
    parser.addOption(language);
    if (!parser.parse(arguments)) {
        CUserPrompts::Warn(nullptr, parser.errorText());
        return false;
    }
    m_argumentGame = parser.value(game);
    if (parser.isSet(language)) {
        bool ok = false;
        const uint value = parser.value(language).toUInt(&ok);
        if (!ok) {
            CUserPrompts::Warn(nullptr, QStringLiteral("--game-language: \"%1\" is not a number")
                                            .arg(parser.value(language)));
            return false;
        }
        m_argumentLanguage = value;
    }
    return true;
}

void CKestrelApp::LoadLocalisation() {
    const auto file = [this](const QString& language) {
        return std::filesystem::path(
            (m_editorFolder + language + QStringLiteral(".qtx")).toStdU16String());
    };
    std::string error;
    {
        CWaitCursor wait;
        if (m_localisation.Load(file(m_editorLanguage), m_editorLanguage.toStdString(), &error)) {
            return;
        }
        // English is shipped with the program: better its texts than bare keys.
        if (m_editorLanguage != kDefaultLanguage) {
            m_localisation.Load(file(kDefaultLanguage), kDefaultLanguage.toStdString());
        }
    }
    CUserPrompts::Warn(nullptr, Text("Message_LocalisationTxtMissing") + QStringLiteral("\n\n") +
                                    QString::fromStdString(error));
}

bool CKestrelApp::FindGame() {
    const auto settings = EditorSettings();
    CGameLocator::Inputs inputs;
    inputs.commandLineFolder = m_argumentGame;
    inputs.commandLineLanguage = m_argumentLanguage;
    inputs.lastUsedFolder = settings->value(kLastGameFolder).toString();
    inputs.lastUsedLanguage = settings->value(kLastGameLanguage, 0).toUInt();
    std::optional<CGameLocator::Location> location = CGameLocator::Locate(inputs);
    while (!location) {
        const QString question = Text("Message_NotInstalled") + QStringLiteral("\n\n") +
                                 Text("Message_ChooseGameFolder");
        if (CUserPrompts::AskYesNo(nullptr, question) != CUserPrompts::Answer::Yes) {
            return false;
        }
        const QString folder =
            QFileDialog::getExistingDirectory(nullptr, Text("Caption_GameFolder"));
        if (folder.isEmpty()) {
            continue;
        }
        if (!CGameLocator::HoldsGame(folder)) {
            CUserPrompts::Warn(nullptr, Text("Message_NotAGameFolder") + QStringLiteral("\n\n") +
                                            QDir::toNativeSeparators(folder));
            continue;
        }
        location = CGameLocator::Location{CGameLocator::WithSlash(folder),
                                          m_argumentLanguage.value_or(0), QStringLiteral("chosen")};
    }
    m_installFolder = location->folder;
    m_gameLanguage = location->language;
    m_databasePath = CGameLocator::DatabasePath(m_installFolder);
    m_ingameTextDbPath = CGameLocator::IngameTextDbPath(m_installFolder, m_gameLanguage);
    if (CGameLocator::HoldsGame(m_installFolder)) {
        settings->setValue(kLastGameFolder, m_installFolder);
        settings->setValue(kLastGameLanguage, m_gameLanguage);
    }
    return true;
}

void CKestrelApp::AddFonts() {
    for (const char* file : kFontFiles) {
        QString path = ResolveInstallPath(m_installFolder, QString::fromLatin1(file));
        if (!QFileInfo::exists(path)) {
            path = ResolveInstallPath(m_editorFolder, QString::fromLatin1(file));
        }
        const int id = QFileInfo::exists(path) ? QFontDatabase::addApplicationFont(path) : -1;
        if (id >= 0) {
            m_fontIds.append(id);
        }
    }
    m_titleFont = QFont(kTitleFontFamily, 12, QFont::Bold);
    m_smallTitleFont = QFont(kTitleFontFamily, 9, QFont::Bold);
    // Without the game's font the closest condensed bold face on the system stands in.
    m_titleFont.setStretch(QFont::Condensed);
    m_smallTitleFont.setStretch(QFont::Condensed);
}

void CKestrelApp::BindAssetLibrary() {
    m_assets = std::make_unique<CAssetLibrary>();
    const QString library = m_editorFolderSet ? m_editorFolder + QStringLiteral("Wren_Utils")
                                              : CAssetLibrary::DefaultLibraryPath();
    if (!m_assets->Load(library)) {
        m_mainFrame->ShowStatus(Text("Message_NoPictures"), m_assets->ErrorText());
        return;
    }
    m_assets->InitReal();
    m_pictures = std::make_unique<CPictureRequests>(*m_assets, m_installFolder);
}

bool CKestrelApp::Startup(const QStringList& arguments) {
    if (!ParseArguments(arguments)) {
        return false;
    }
    if (!m_editorFolderSet) {
        m_editorFolder = CGameLocator::WithSlash(QCoreApplication::applicationDirPath());
    }
    // The texts come first so that every message of the start-up is readable.
    const auto settings = EditorSettings();
    m_editorLanguage = settings->value(kEditorLanguage, kDefaultLanguage).toString();
    if (m_editorLanguage.isEmpty()) {
        m_editorLanguage = kDefaultLanguage;
    }
    m_editorLanguageRead = true;
    m_editorLanguageAtStart = m_editorLanguage;
    LoadLocalisation();
    if (!FindGame()) {
        return false;
    }
    AddFonts();
    m_mainFrame = std::make_unique<CMainFrame>(*this);
    if (!m_mainFrame->Create()) {
        m_mainFrame.reset();
        return false;
    }
    BindAssetLibrary();
    m_mainFrame->show();
    Splash().FadeOut();
    return true;
}

void CKestrelApp::Shutdown() {
    m_mainFrame.reset();
    m_splash.reset();
    for (int id : m_fontIds) {
        QFontDatabase::removeApplicationFont(id);
    }
    m_fontIds.clear();
    m_pictures.reset();
    if (m_assets) {
        m_assets->Unload();
        m_assets.reset();
    }
    m_localisation.Clear();
    // Written only when it was read and then changed, so a failed start never writes it.
    if (m_editorLanguageRead && m_editorLanguage != m_editorLanguageAtStart) {
        const auto settings = EditorSettings();
        if (settings->value(kEditorLanguage).toString() != m_editorLanguage) {
            settings->setValue(kEditorLanguage, m_editorLanguage);
        }
    }
    m_editorLanguageRead = false;
}
