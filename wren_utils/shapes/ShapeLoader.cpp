#include "ShapeLoader.h"

#include "ShapeContainer.h"
#include "ShapeConverter.h"
#include "wren_utils/archive/BigArchiveView.h"
#include "wren_utils/archive/BigStreamReader.h"
#include "wren_utils/engine/DebugPrint.h"
#include "wren_utils/engine/FileSystem.h"
#include "wren_utils/pack/PackDecoder.h"

namespace wren {

namespace {

std::optional<BgraImage> ShapeFromContainer(std::span<const uint8_t> bytes,
                                            const std::string& shape) {
    const auto record = ShapeContainer(bytes).Find(shape);
    PRINT_channel(kPrintChannelDebug, "shape %s is located at 0x%p.\n", shape.c_str(),
                  record ? static_cast<const void*>(record->Bytes().data()) : nullptr);
    if (!record)
        return std::nullopt;
    PRINT_channel(kPrintChannelDebug, "shape %s is located at 0x%p size = %d.\n", shape.c_str(),
                  static_cast<const void*>(record->Bytes().data()),
                  static_cast<int>(record->Size()));
    auto image = ShapeConverter::ToImage(*record);
    if (!image)
        PRINT_channel(kPrintChannelDebug, "shape %s has no picture of 32 bits a pixel.\n",
                      shape.c_str());
    return image;
}

} // namespace

std::optional<BgraImage> ShapeLoader::FromWholeArchive(const std::string& archivePath,
                                                       const std::string& container,
                                                       const std::string& shape) {
    if (!FILESYS_exists(archivePath)) {
        PRINT_channel(kPrintChannelDebug, "BIGFile %s does not exist.\n", archivePath.c_str());
        return std::nullopt;
    }
    const auto archive = FILE_loadpack(archivePath);
    if (!archive)
        return std::nullopt;
    PRINT_channel(kPrintChannelDebug, "Bigfile is loaded at 0x%p.\n",
                  static_cast<const void*>(archive->data()));
    const auto view = BigArchiveView::Open(*archive);
    const auto entry = view ? view->Find(container) : std::nullopt;
    if (!entry) {
        PRINT_channel(kPrintChannelDebug, "Bigfile %s is failed to load.\n", container.c_str());
        return std::nullopt;
    }
    PRINT_channel(kPrintChannelDebug, "%s is located at 0x%p.\n", container.c_str(),
                  static_cast<const void*>(entry->data.data()));
    // The entry is used in place, so a packed one cannot be searched.
    if (PACK_isDecodable(entry->data)) {
        PRINT_channel(kPrintChannelDebug, "%s is packed; getShape needs it unpacked.\n",
                      container.c_str());
        return std::nullopt;
    }
    return ShapeFromContainer(entry->data, shape);
}

std::optional<BgraImage> ShapeLoader::FromStreamedEntry(const std::string& archivePath,
                                                        const std::string& container,
                                                        const std::string& shape) {
    const auto packed = BIG_readentry(archivePath, container);
    if (!packed)
        return std::nullopt;
    std::optional<BgraImage> image;
    std::optional<std::vector<uint8_t>> unpacked;
    if (!PACK_isDecodable(*packed)) {
        PRINT_channel(kPrintChannelDebug, "%s is not a packed stream.\n", container.c_str());
    } else if ((unpacked = PACK_unpackToVector(*packed))) {
        PRINT_channel(kPrintChannelDebug, "unpacked size = %d - packed size = %d\n",
                      static_cast<int>(unpacked->size()), static_cast<int>(packed->size()));
        image = ShapeFromContainer(*unpacked, shape);
    } else {
        PRINT_channel(kPrintChannelDebug, "%s does not unpack.\n", container.c_str());
    }
    PRINT_channel(kPrintChannelDebug, "free pBIGfile\n");
    if (unpacked)
        PRINT_channel(kPrintChannelDebug, "free pFile\n");
    return image;
}

} // namespace wren
