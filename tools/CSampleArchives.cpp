#include "CSampleArchives.h"

#include "CSamplePictures.h"

#include "editor/database/CMessageSink.h"
#include "wren_utils/archive/BigArchiveWriter.h"
#include "wren_utils/pack/PackEncoder.h"
#include "wren_utils/shapes/ShapeContainerWriter.h"
#include "wren_utils/shapes/ShapeFormat.h"

#include <fstream>
#include <set>

namespace {

// Colour ids of the game are 1-based; the table holds red in the low byte.
uint32_t Rgb(const CColourTable& colours, int32_t id) {
    const uint32_t value = colours.ColourOfIndex(id - 1);
    return ((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF);
}

CSamplePictures::SKit KitColours(const CColourTable& colours, const CTeamKit& kit) {
    using K = EKitColumn;
    CSamplePictures::SKit out;
    out.jersey = Rgb(colours, kit.Value(K::JerseyColour1));
    out.pattern = Rgb(colours, kit.Value(K::JerseyColour2));
    out.trim = Rgb(colours, kit.Value(K::JerseyColour3));
    out.shorts = Rgb(colours, kit.Value(K::ShortsColour1));
    out.socks = Rgb(colours, kit.Value(K::SocksColour1));
    out.style =
        static_cast<CSamplePictures::EPattern>(static_cast<uint32_t>(kit.Value(K::JerseyType)) % 4);
    return out;
}

class CArchiveBuilder {
public:
    explicit CArchiveBuilder(CMessageSink& sink) : m_sink(sink) {}

    // One container holding one picture. Formats rotate so every kind of shape occurs, and every
    // third shape carries its name in a name record behind a tag of its own.
    bool Add(const std::string& container, const std::string& shape, const wren::BgraImage& image) {
        static constexpr uint8_t kTypes[] = {wren::kShapeTypeBgra32, wren::kShapeTypeDxt1,
                                             wren::kShapeTypeDxt3, wren::kShapeTypeDxt5};
        wren::ShapeWriteOptions options;
        options.type = kTypes[m_count % 4];
        std::string tag = shape;
        if (m_count % 3 == 2) {
            options.name = shape;
            tag = "pic" + std::to_string(m_count % 10);
        }
        ++m_count;
        wren::ShapeContainerWriter writer;
        std::string error;
        if (!writer.Add(tag, image, options, error)) {
            m_sink.Report("Error_OpenToWrite", container + ": " + error);
            return false;
        }
        const auto packed = wren::PACK_pack(writer.Build());
        if (!packed) {
            m_sink.Report("Error_OpenToWrite", container + ": cannot pack");
            return false;
        }
        m_archive.Add(container, *packed);
        return true;
    }

    bool Save(const std::filesystem::path& path) {
        std::string error;
        const auto bytes = m_archive.Build(error);
        if (!bytes) {
            m_sink.Report("Error_OpenToWrite", path.string() + ": " + error);
            return false;
        }
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes->data()),
                  static_cast<std::streamsize>(bytes->size()));
        out.close();
        if (!out) {
            m_sink.Report("Error_OpenToWrite", path.string());
            return false;
        }
        return true;
    }

private:
    CMessageSink& m_sink;
    wren::BigArchiveWriter m_archive{wren::BigArchiveWriter::Kind::Bigf};
    uint32_t m_count = 0;
};

} // namespace

std::string CSampleArchives::KitContainer(int32_t teamId, int32_t kit) {
    const char* texture = kit == 7 || kit == 8 ? "462677001953125" : "23";
    return "playerkittexobj.texobj463104248046875__texture" + std::string(texture) + "__" +
           std::to_string(kit) + "_0_" + std::to_string(teamId) + ".fsh";
}

std::string CSampleArchives::KitShape(int32_t kit) {
    return kit == 7 || kit == 8 ? "crwd" : "tp00";
}

std::string CSampleArchives::CrestContainer(int32_t teamId) {
    return "transitiontexobj.texobj85302734375__texture52777099609375__" + std::to_string(teamId) +
           ".fsh";
}

std::string CSampleArchives::FaceContainer(int32_t number) {
    return "playertexobj.texobj11__texture12__" + std::to_string(number) + "_0_0.fsh";
}

bool CSampleArchives::Write(CSampleGenerator::SContext& context) {
    const CGameDatabase& db = context.database;
    CArchiveBuilder newer(context.sink);
    CArchiveBuilder older(context.sink);
    for (const auto& [id, team] : db.Teams()) {
        CArchiveBuilder& archive = TeamOnlyInOlderArchive(id) ? older : newer;
        CSamplePictures::SKit crestColours;
        for (int32_t slot = CTeamKit::kSlotCount - 1; slot >= 0; --slot) {
            const CTeamKit* kit = team.FindKit(slot);
            if (!kit)
                continue;
            const CSamplePictures::SKit colours = KitColours(db.Colours(), *kit);
            if (slot == 0)
                crestColours = colours;
            const wren::BgraImage picture =
                slot == 7 || slot == 8
                    ? CSamplePictures::Crowd(colours, static_cast<uint32_t>(id), kKitSize)
                    : CSamplePictures::Kit(colours, kKitSize);
            if (!archive.Add(KitContainer(id, slot), KitShape(slot), picture))
                return false;
        }
        if (!archive.Add(CrestContainer(id), "logo",
                         CSamplePictures::Crest(crestColours, team.Name(), kCrestSize)))
            return false;
    }
    std::set<int32_t> faces;
    for (const auto& [id, player] : db.Players())
        if (const int32_t face = player.Value(EPlayerColumn::SpecificFace); face > 0)
            faces.insert(face);
    for (int32_t face : faces) {
        CArchiveBuilder& archive = FaceOnlyInOlderArchive(face) ? older : newer;
        if (!archive.Add(FaceContainer(face), "tp01",
                         CSamplePictures::FaceTexture(face, kFaceSize)))
            return false;
    }
    const std::filesystem::path data = context.folder / "data";
    return newer.Save(data / "zdata_05.big") && older.Save(data / "zdata_04.big");
}
