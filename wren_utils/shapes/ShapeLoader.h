#pragma once

#include "BgraImage.h"

#include <optional>
#include <string>

namespace wren {

// The two ways the library answers a picture request: archive path, container entry name,
// shape name in; the shape's first level as 32 bits a pixel out. Progress and failures go to the
// debug channel; every buffer is released before returning.
class ShapeLoader {
public:
    // Loads the whole archive (unpacking a packed archive), finds the container entry with letter
    // case ignored; the entry must be an unpacked container.
    static std::optional<BgraImage> FromWholeArchive(const std::string& archivePath,
                                                     const std::string& container,
                                                     const std::string& shape);

    // Reads the directory and the one entry (name exact); the entry must be a packed stream.
    static std::optional<BgraImage> FromStreamedEntry(const std::string& archivePath,
                                                      const std::string& container,
                                                      const std::string& shape);
};

} // namespace wren
