#pragma once

#include "CliCommand.h"

#include "wren_utils/shapes/BgraImage.h"

#include <memory>
#include <optional>
#include <string>

// The pictures of the shape and picture commands. With Qt the asset library is loaded at run
// time as the editor loads it (beside the tool, or --library) and JPEG is read as well as PNG;
// without Qt the library's code is built into the tool and the PNG codec reads the files.
class CCliPictures {
public:
    explicit CCliPictures(const CliContext& context);
    ~CCliPictures();
    CCliPictures(const CCliPictures&) = delete;
    CCliPictures& operator=(const CCliPictures&) = delete;

    // "PNG or JPEG", or "PNG" where JPEG cannot be read.
    static const char* FileKinds();
    // How the shape command reads and writes, for its help.
    static const char* ShapeSummary();
    // Loads and starts the library; false with the reason.
    bool Start(std::string& error);
    // The shape's first level, read from the whole archive (getShape) or from the one entry
    // (getShapeX); nothing when the archive, container or shape is missing or damaged.
    std::optional<wren::BgraImage> Shape(const std::string& archive, const std::string& container,
                                         const std::string& shape, bool whole);
    // A picture file to import ("-" for standard input); nothing, with a reason that names the
    // file, when it is missing, of another kind, damaged or too large.
    std::optional<wren::BgraImage> Load(const std::string& file, std::string& error);

private:
    struct SState;
    std::unique_ptr<SState> m_state;
};
