#include "EditorFixture.h"

#include "CSampleGenerator.h"
#include "CWarningSink.h"
#include "editor/app/CKestrelApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

// The sample is generated once per run and copied for each test, which keeps the tests quick
// under the sanitizers.
QString PristineSample() {
    static QTemporaryDir dir;
    static bool written = false;
    if (!written && dir.isValid()) {
        CWarningSink sink;
        written = WriteSampleInstallation(dir.filePath(QStringLiteral("game")).toStdString(),
                                          CSampleGenerator::kDefaultSeed, sink);
    }
    return written ? dir.filePath(QStringLiteral("game")) : QString();
}

} // namespace

EditorFixture::EditorFixture() {
    if (!m_dir.isValid()) {
        return;
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       m_dir.filePath(QStringLiteral("settings")));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       m_dir.filePath(QStringLiteral("settings")));
    // No Wine installation of the machine may stand in for the sample.
    qputenv("WINEPREFIX", m_dir.filePath(QStringLiteral("wine")).toUtf8());
    const QString sample = PristineSample();
    if (sample.isEmpty() || !CopyFolder(sample, GameFolder())) {
        return;
    }
    QDir().mkpath(EditorFolder());
    const QDir bin(QCoreApplication::applicationDirPath());
    // The texts and the asset library lie beside the program.
    for (const QString& name :
         bin.entryList({QStringLiteral("*.qtx"), QStringLiteral("*Wren_Utils*")}, QDir::Files)) {
        QFile::copy(bin.filePath(name), QDir(EditorFolder()).filePath(name));
    }
    // The face and hair pictures of the player windows.
    if (QFileInfo(bin.filePath(QStringLiteral("Arts"))).isDir()) {
        CopyFolder(bin.filePath(QStringLiteral("Arts")),
                   QDir(EditorFolder()).filePath(QStringLiteral("Arts")));
    }
    CUserPrompts::SetHandler([this](const QString& kind, const QString& text) {
        prompts.append(kind + QStringLiteral(": ") + text);
        return answer;
    });
    m_valid = QFile::exists(QDir(EditorFolder()).filePath(QStringLiteral("English_UK.qtx")));
}

EditorFixture::~EditorFixture() {
    Stop();
    CUserPrompts::SetHandler({});
}

QString EditorFixture::GameFolder() const {
    return m_dir.filePath(QStringLiteral("game"));
}

QString EditorFixture::EditorFolder() const {
    return m_dir.filePath(QStringLiteral("editor"));
}

QString EditorFixture::DatabasePath() const {
    return m_dir.filePath(QStringLiteral("game/data/cmn/corvid.db"));
}

QString EditorFixture::TextDbPath() const {
    return m_dir.filePath(QStringLiteral("game/data/cmn/fe/eng.db"));
}

QSettings EditorFixture::EditorSettings() const {
    return QSettings(QStringLiteral("Brackwater"), QStringLiteral("Kestrel"));
}

CKestrelApp* EditorFixture::Start(const QStringList& extraArguments) {
    Stop();
    m_app = std::make_unique<CKestrelApp>();
    m_app->SetEditorFolder(EditorFolder());
    QStringList arguments{QStringLiteral("kestrel")};
    arguments << extraArguments;
    if (giveGameLanguage && !extraArguments.contains(QStringLiteral("--game-language"))) {
        arguments << QStringLiteral("--game-language") << QStringLiteral("0");
    }
    if (!extraArguments.contains(QStringLiteral("--no-game"))) {
        arguments << QStringLiteral("--game") << GameFolder();
    } else {
        arguments.removeAll(QStringLiteral("--no-game"));
    }
    if (!m_app->Startup(arguments)) {
        m_app.reset();
    }
    return m_app.get();
}

bool EditorFixture::CopyFolder(const QString& from, const QString& to) {
    if (!QDir().mkpath(to)) {
        return false;
    }
    const QDir source(from);
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(entry.fileName());
        if (entry.isDir() ? !CopyFolder(entry.filePath(), target)
                          : !QFile::copy(entry.filePath(), target)) {
            return false;
        }
    }
    return true;
}

void EditorFixture::Stop() {
    if (m_app) {
        m_app->Shutdown();
        m_app.reset();
    }
}
