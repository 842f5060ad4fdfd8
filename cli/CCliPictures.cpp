#include "CCliPictures.h"

#include "CCliFiles.h"

#include "editor/assets/CAssetLibrary.h"
#include "editor/assets/CPictureFile.h"
#include "editor/assets/CPictureImport.h"
#include "editor/assets/CProgramFolders.h"

#include <QCoreApplication>
#include <QFileInfo>

struct CCliPictures::SState {
    explicit SState(const CliContext& cliContext) : context(cliContext) {}

    const CliContext& context;
    // Image plugins (JPEG) and the program's folder need the application object.
    int argc = 1;
    std::string name;
    char* argv[2] = {nullptr, nullptr};
    std::optional<QCoreApplication> application;
    CAssetLibrary library;

    void EnsureApplication() {
        if (QCoreApplication::instance())
            return;
        name = context.programPath;
        argv[0] = name.data();
        application.emplace(argc, argv);
    }

    // The library named by --library, else Wren_Utils beside the tool or where it is installed.
    QString LibraryPath() {
        if (context.library)
            return QString::fromUtf8(*context.library);
        const QString program = QString::fromUtf8(context.programPath);
        if (program.contains(QLatin1Char('/')) || program.contains(QLatin1Char('\\')))
            return CProgramFolders::LibraryPath(QFileInfo(program).absolutePath());
        EnsureApplication();
        return CAssetLibrary::DefaultLibraryPath();
    }
};

CCliPictures::CCliPictures(const CliContext& context) : m_state(std::make_unique<SState>(context)) {}

CCliPictures::~CCliPictures() = default;

const char* CCliPictures::FileKinds() {
    return "PNG or JPEG";
}

const char* CCliPictures::ShapeSummary() {
    return "loads Wren_Utils (beside the tool, or --library PATH) as the editor does and writes "
           "the shape as PNG through getShapeX, or getShape with --whole";
}

bool CCliPictures::Start(std::string& error) {
    CAssetLibrary& library = m_state->library;
    if (!library.Load(m_state->LibraryPath())) {
        error = library.ErrorText().toStdString();
        return false;
    }
    if (!library.CanReadBitmaps()) {
        error = "the library has no readBitmap or freeBitmap export";
        return false;
    }
    if (library.InitReal() != 1) {
        error = "the library's initReal failed";
        return false;
    }
    return true;
}

std::optional<wren::BgraImage> CCliPictures::Shape(const std::string& archive,
                                                   const std::string& container,
                                                   const std::string& shape, bool whole) {
    const QString path = QString::fromUtf8(archive);
    const QByteArray containerName = QByteArray::fromStdString(container);
    const QByteArray shapeName = QByteArray::fromStdString(shape);
    CAssetLibrary& library = m_state->library;
    const QImage image = whole ? library.GetShape(path, containerName, shapeName)
                               : library.GetShapeX(path, containerName, shapeName);
    if (image.isNull())
        return std::nullopt;
    return CPictureImport::ToBgra(image);
}

std::optional<wren::BgraImage> CCliPictures::Load(const std::string& file, std::string& error) {
    m_state->EnsureApplication();
    CPictureFile::SLoaded loaded;
    if (CCliFiles::IsStandard(file)) {
        const auto bytes = CCliFiles::Read(file, error, CPictureFile::kMaxFileBytes);
        if (!bytes)
            return std::nullopt;
        loaded = CPictureFile::FromData(QByteArray(reinterpret_cast<const char*>(bytes->data()),
                                                   static_cast<qsizetype>(bytes->size())));
    } else {
        loaded = CPictureFile::Load(QString::fromUtf8(file));
    }
    if (loaded.problem != CPictureFile::EProblem::None) {
        error = "the picture '" + file + "' is " + loaded.Reason().toStdString();
        return std::nullopt;
    }
    return CPictureImport::ToBgra(loaded.image);
}
