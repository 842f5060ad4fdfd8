#include "CCliPictures.h"

#include "CCliFiles.h"

#include "editor/assets/CPngCodec.h"
#include "wren_utils/engine/FileSystem.h"
#include "wren_utils/shapes/ShapeLoader.h"

// The library's services run from Start to the destructor, as between initReal and cleanupReal.
struct CCliPictures::SState {
    const CliContext& context;
    bool started = false;
};

namespace {

// Files larger than this are not read: no picture the game shows comes near it.
constexpr uint64_t kMaxFileBytes = uint64_t{256} << 20;

bool IsJpeg(const std::vector<uint8_t>& bytes) {
    return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

} // namespace

CCliPictures::CCliPictures(const CliContext& context) : m_state(std::make_unique<SState>(SState{context})) {}

CCliPictures::~CCliPictures() {
    if (m_state->started)
        wren::FILESYS_shutdown();
}

const char* CCliPictures::FileKinds() {
    return "PNG";
}

const char* CCliPictures::ShapeSummary() {
    return "reads the shape as Wren_Utils' getShapeX does (getShape with --whole), with the "
           "library's code built into this tool, and writes it as PNG";
}

bool CCliPictures::Start(std::string& error) {
    if (m_state->context.library) {
        error = "--library is not used by this kestrel-cli (built without Qt): the asset "
                "library's code is built into it";
        return false;
    }
    if (!m_state->started && !wren::FILESYS_init()) {
        error = "the asset library's file services could not be started";
        return false;
    }
    m_state->started = true;
    return true;
}

std::optional<wren::BgraImage> CCliPictures::Shape(const std::string& archive,
                                                   const std::string& container,
                                                   const std::string& shape, bool whole) {
    if (!m_state->started)
        return std::nullopt;
    return whole ? wren::ShapeLoader::FromWholeArchive(archive, container, shape)
                 : wren::ShapeLoader::FromStreamedEntry(archive, container, shape);
}

std::optional<wren::BgraImage> CCliPictures::Load(const std::string& file, std::string& error) {
    const auto bytes = CCliFiles::Read(file, error, kMaxFileBytes);
    if (!bytes)
        return std::nullopt;
    if (IsJpeg(*bytes)) {
        error = "the picture '" + file + "' is a JPEG file, which this kestrel-cli (built "
                "without Qt) does not read: convert it to PNG";
        return std::nullopt;
    }
    std::string reason;
    auto image = CPngCodec::Decode(*bytes, reason);
    if (!image)
        error = "the picture '" + file + "' is " + reason;
    return image;
}
