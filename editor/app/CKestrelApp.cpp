#include "CKestrelApp.h"

#include "CAboutDialog.h"
#include "CGameLanguages.h"
#include "CGameLocator.h"
#include "CHelpWindow.h"
#include "CMainFrame.h"
#include "editor/dialogs/CUserPrompts.h"
#include "editor/dialogs/CWaitCursor.h"
#include "editor/assets/CAssetLibrary.h"
#include "editor/assets/CPictureRequests.h"
#include "editor/assets/CProgramFolders.h"
#include "editor/assets/InstallPath.h"
#include "editor/database/CInstallationLock.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CComboBoxAccessible.h"
#include "editor/toolkit/CSplashWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHash>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QSettings>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>

#include <array>
#include <cstdio>
#include <filesystem>

namespace {

CKestrelApp* g_instance = nullptr;

const QString kEditorLanguage = QStringLiteral("Editor Language");
const QString kDefaultLanguage = QStringLiteral("English_UK");
const QString kLastGameFolder = QStringLiteral("Last Game Folder");
const QString kRecentGameFolders = QStringLiteral("Recent Game Folders");
const QString kTitleFontFamily = QStringLiteral("Gill Sans Display MT Cond Bold");

constexpr std::array<const char*, 3> kFontFiles = {"futuraxk.ttf", "abacebdi.ttf", "gdcb____.ttf"};

// The locale of an editor language ("French": fr_FR); C for a language without one.
QLocale LocaleOfLanguage(const QString& editorLanguage) {
    static const QHash<QString, QString> kLocales = {
        {QStringLiteral("English_UK"), QStringLiteral("en_GB")},
        {QStringLiteral("French"), QStringLiteral("fr_FR")},
        {QStringLiteral("German"), QStringLiteral("de_DE")},
        {QStringLiteral("Spanish"), QStringLiteral("es_ES")},
        {QStringLiteral("Dutch"), QStringLiteral("nl_NL")},
        {QStringLiteral("Korean"), QStringLiteral("ko_KR")}};
    const auto found = kLocales.find(editorLanguage);
    return found == kLocales.end() ? QLocale::c() : QLocale(found.value());
}

} // namespace

CKestrelApp::CKestrelApp() {
    g_instance = this;
    // A save waits only briefly for another writer of the game (kestrel-cli, say), then says so.
    CInstallationLock::SetDefaultWait(std::chrono::seconds(3));
    CInstallationLock::SetHolderName("Kestrel editor");
    // Drop-downs announced by their labels, not their entries.
    CComboBoxAccessible::Install();
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
    // The project's version, as the package and kestrel-cli give it.
    return QStringLiteral(KESTREL_VERSION);
}

void CKestrelApp::ShowAbout() {
    CAboutDialog dialog(
        m_localisation, [this] { ShowHelp(); }, m_mainFrame.get());
    dialog.exec();
}

void CKestrelApp::ShowHelp() {
    if (!m_help) {
        m_help = std::make_unique<CHelpWindow>(Text("Caption_HelpTitle"));
    }
    m_help->ShowContents();
}

void CKestrelApp::SetEditorFolder(const QString& folder) {
    m_editorFolder = CGameLocator::WithSlash(folder);
    m_editorFolderSet = true;
}

QString CKestrelApp::HelpText() {
    return QStringLiteral(
        "Usage: kestrel [--game DIR] [--game-language N] [--check]\n"
        "Edits the database of a Corvid 2004 installation.\n\n"
        "Options:\n"
        "  --game DIR           the game's installation folder (default: the one found or\n"
        "                       chosen before)\n"
        "  --game-language N    the game's language number (0-12)\n"
        "  --check              start, load the game, report what was found and end, without\n"
        "                       windows (exit status 1 when something is missing)\n"
        "  -h, --help           this text\n"
        "  -v, --version        the editor's version\n\n"
        "Exit status: 0 on success, 1 on a failure, 2 when the command line is wrong.\n");
}

std::optional<int> CKestrelApp::AnswerInformationOptions(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--")) {
            break;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h") ||
            argument == QLatin1String("-?")) {
            std::fputs(qPrintable(HelpText()), stdout);
            return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
        }
        if (argument == QLatin1String("--version") || argument == QLatin1String("-v")) {
            std::fprintf(stdout, "Kestrel %s\n", qPrintable(VersionText()));
            return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
        }
    }
    return std::nullopt;
}

bool CKestrelApp::ParseArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption game(QStringLiteral("game"),
                                  QStringLiteral("The game's installation folder."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption language(QStringLiteral("game-language"),
                                      QStringLiteral("The game's language number (0-12)."),
                                      QStringLiteral("N"));
    const QCommandLineOption check(
        QStringLiteral("check"),
        QStringLiteral("Start, load the game, report what was found and end, without windows."));
    parser.addOption(game);
    parser.addOption(language);
    parser.addOption(check);
    // A wrong command line is answered where it was typed, without a window.
    const auto wrong = [this](const QString& what) {
        std::fprintf(stderr, "kestrel: %s\nTry 'kestrel --help'.\n", qPrintable(what));
        m_argumentsWrong = true;
        return false;
    };
    if (!parser.parse(arguments)) {
        return wrong(parser.errorText());
    }
    if (!parser.positionalArguments().isEmpty()) {
        return wrong(QStringLiteral("unexpected argument '%1'")
                         .arg(parser.positionalArguments().constFirst()));
    }
    if (parser.isSet(check)) {
        m_checkOnly = true;
        // Nobody is there to answer: every message goes to the report, every question is
        // answered No.
        CUserPrompts::SetHandler([](const QString& kind, const QString& text) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(kind), qPrintable(text));
            return CUserPrompts::Answer::No;
        });
    }
    m_argumentGame = parser.value(game);
    if (parser.isSet(language)) {
        bool ok = false;
        const uint value = parser.value(language).toUInt(&ok);
        if (!ok) {
            return wrong(QStringLiteral("--game-language: \"%1\" is not a number")
                             .arg(parser.value(language)));
        }
        m_argumentLanguage = value;
    }
    return true;
}

QString CKestrelApp::SystemLanguage() const {
    // On the first start the editor speaks the system's language when it has its texts.
    static const QHash<QLocale::Language, QString> kLanguages = {
        {QLocale::French, QStringLiteral("French")},
        {QLocale::German, QStringLiteral("German")},
        {QLocale::Spanish, QStringLiteral("Spanish")}};
    const QString language = kLanguages.value(QLocale::system().language(), kDefaultLanguage);
    return QFileInfo::exists(m_editorFolder + language + QStringLiteral(".qtx")) ? language
                                                                                 : kDefaultLanguage;
}

void CKestrelApp::LoadQtTranslations() {
    // Qt's own buttons and dialogs (Yes, Cancel, the file dialog) in the editor's language.
    const QLocale locale = LocaleOfLanguage(m_editorLanguage);
    if (locale == QLocale::c()) {
        return;
    }
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(locale, QStringLiteral("qt"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator.get())) {
        m_qtTranslator = std::move(translator);
    }
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
    std::optional<CGameLocator::Location> location = CGameLocator::Locate(inputs);
    // A folder given on the command line is checked as one chosen in the dialog is.
    if (location && !CGameLocator::HoldsGame(location->folder)) {
        CUserPrompts::Warn(nullptr, Text("Message_NotAGameFolder") + QStringLiteral("\n\n") +
                                        QDir::toNativeSeparators(location->folder));
        location.reset();
    }
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
        location = CGameLocator::Location{CGameLocator::WithSlash(folder), m_argumentLanguage,
                                          QStringLiteral("chosen")};
    }
    UseGameFolder(*settings, location->folder, location->language);
    return true;
}

void CKestrelApp::UseGameFolder(QSettings& settings, const QString& folder,
                                std::optional<quint32> language) {
    m_installFolder = CGameLocator::WithSlash(folder);
    m_gameLanguage = ChooseGameLanguage(settings, language);
    m_databasePath = CGameLocator::DatabasePath(m_installFolder);
    m_ingameTextDbPath = CGameLocator::IngameTextDbPath(m_installFolder, m_gameLanguage);
    settings.setValue(kLastGameFolder, m_installFolder);
    QStringList recent = settings.value(kRecentGameFolders).toStringList();
    recent.removeAll(m_installFolder);
    recent.prepend(m_installFolder);
    settings.setValue(kRecentGameFolders, recent.mid(0, kRecentFolders));
}

QStringList CKestrelApp::RecentGameFolders() const {
    return EditorSettings()->value(kRecentGameFolders).toStringList().mid(0, kRecentFolders);
}

bool CKestrelApp::SwitchGame(const QString& folder) {
    if (!m_mainFrame) {
        return false;
    }
    if (!CGameLocator::HoldsGame(folder)) {
        CUserPrompts::Warn(m_mainFrame.get(), Text("Message_NotAGameFolder") +
                                                  QStringLiteral("\n\n") +
                                                  QDir::toNativeSeparators(folder));
        // A folder that went away leaves the recent list.
        const auto settings = EditorSettings();
        QStringList recent = settings->value(kRecentGameFolders).toStringList();
        if (recent.removeAll(CGameLocator::WithSlash(folder)) > 0) {
            settings->setValue(kRecentGameFolders, recent);
        }
        return false;
    }
    if (!m_mainFrame->AskToClose()) {
        return false;
    }
    // The old window goes once the command that asked for the switch has returned.
    QTimer::singleShot(0, this, [this, folder] { ReplaceMainFrame(folder); });
    return true;
}

void CKestrelApp::ReplaceMainFrame(const QString& folder) {
    m_mainFrame.reset();
    m_pictures.reset();
    // The command line's game language was said of the command line's folder.
    m_argumentLanguage.reset();
    {
        const auto settings = EditorSettings();
        UseGameFolder(*settings, folder, std::nullopt);
    }
    if (!CreateMainFrame()) {
        emit Finished();
        return;
    }
    if (m_assets && m_assets->IsLoaded()) {
        m_pictures = std::make_unique<CPictureRequests>(*m_assets, m_installFolder);
    }
    m_mainFrame->show();
    Splash().FadeOut();
}

bool CKestrelApp::CreateMainFrame() {
    m_mainFrame = std::make_unique<CMainFrame>(*this);
    connect(m_mainFrame.get(), &CMainFrame::Closed, this, &CKestrelApp::Finished);
    if (!m_mainFrame->Create()) {
        m_mainFrame.reset();
        return false;
    }
    return true;
}

quint32 CKestrelApp::ChooseGameLanguage(QSettings& settings, std::optional<quint32> registered) {
    // What the user said (now or at an earlier start) counts before the game's registry value.
    if (m_argumentLanguage) {
        CGameLanguages::Remember(settings, m_installFolder, *m_argumentLanguage);
        return *m_argumentLanguage;
    }
    if (const auto remembered = CGameLanguages::Remembered(settings, m_installFolder)) {
        return *remembered;
    }
    if (registered) {
        return *registered;
    }
    const QList<CGameLanguages::Language> installed = CGameLanguages::Installed(m_installFolder);
    if (installed.size() <= 1) {
        return installed.isEmpty() ? 0 : installed.first().number;
    }
    if (m_checkOnly) {
        return installed.first().number;
    }
    // Names written to another language's texts would be lost to the game: ask, once.
    QStringList items;
    for (const CGameLanguages::Language& language : installed) {
        items << QStringLiteral("%1 (%2)").arg(language.name, language.relativePath);
    }
    bool ok = false;
    const QString item =
        QInputDialog::getItem(nullptr, Text("Caption_GameLanguage"),
                              Text("Message_ChooseGameLanguage") + QStringLiteral("\n\n") +
                                  QDir::toNativeSeparators(m_installFolder),
                              items, 0, false, &ok);
    const auto chosen = items.indexOf(item);
    if (!ok || chosen < 0) {
        return installed.first().number;
    }
    CGameLanguages::Remember(settings, m_installFolder, installed.at(chosen).number);
    return installed.at(chosen).number;
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
        m_editorFolder = CProgramFolders::DataFolder(QCoreApplication::applicationDirPath());
    }
    // The texts come first so that every message of the start-up is readable.
    const auto settings = EditorSettings();
    m_editorLanguage = settings->value(kEditorLanguage).toString();
    if (m_editorLanguage.isEmpty()) {
        m_editorLanguage = SystemLanguage();
    }
    m_editorLanguageRead = true;
    m_editorLanguageAtStart = m_editorLanguage;
    LoadLocalisation();
    LoadQtTranslations();
    if (!FindGame()) {
        return false;
    }
    AddFonts();
    if (!CreateMainFrame()) {
        return false;
    }
    BindAssetLibrary();
    if (m_checkOnly) {
        Splash().hide();
        return true;
    }
    m_mainFrame->show();
    Splash().FadeOut();
    return true;
}

bool CKestrelApp::CheckReport(QString& report) const {
    const CGameDatabase* db = m_mainFrame ? m_mainFrame->Database() : nullptr;
    const bool texts = m_localisation.Size() > 0;
    const bool pictures = m_pictures != nullptr;
    QTextStream out(&report);
    out << "editor folder: " << m_editorFolder << "\n";
    out << "localisation: " << m_editorLanguage << " ("
        << (texts ? QStringLiteral("%1 texts").arg(m_localisation.Size()) : QStringLiteral("none"))
        << ")\n";
    out << "game: " << m_installFolder << "\n";
    out << "database: " << m_databasePath;
    if (db) {
        out << " (" << db->Players().size() << " players, " << db->Teams().size() << " teams, "
            << db->Leagues().size() << " leagues)\n";
    } else {
        out << " (not loaded)\n";
    }
    out << "in-game texts: " << m_ingameTextDbPath << " ("
        << (QFileInfo(m_ingameTextDbPath).isFile() ? QStringLiteral("found")
                                                   : QStringLiteral("missing"))
        << ")\n";
    out << "asset library: "
        << (pictures
                ? QStringLiteral("bound")
                : QStringLiteral("not bound: ") + (m_assets ? m_assets->ErrorText() : QString()))
        << "\n";
    const bool arts = QFileInfo(m_editorFolder + QStringLiteral("Arts/head01.jpg")).isFile();
    out << "Arts pictures: " << (arts ? QStringLiteral("found") : QStringLiteral("missing"))
        << "\n";
    return db && texts && pictures && arts;
}

void CKestrelApp::Shutdown() {
    m_help.reset();
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
    if (m_qtTranslator) {
        QCoreApplication::removeTranslator(m_qtTranslator.get());
        m_qtTranslator.reset();
    }
    // Written only when it was read and then changed, so a failed start never writes it.
    if (m_editorLanguageRead && m_editorLanguage != m_editorLanguageAtStart) {
        const auto settings = EditorSettings();
        if (settings->value(kEditorLanguage).toString() != m_editorLanguage) {
            settings->setValue(kEditorLanguage, m_editorLanguage);
        }
    }
    m_editorLanguageRead = false;
}
