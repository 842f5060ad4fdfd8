#include "CSampleArchives.h"

#include "CSamplePictures.h"

#include "editor/database/CMessageSink.h"
#include "editor/database/Utf8Path.h"
#include "wren_utils/archive/BigArchiveWriter.h"
#include "wren_utils/pack/PackEncoder.h"
#include "wren_utils/shapes/ShapeContainerWriter.h"
#include "wren_utils/shapes/ShapeFormat.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

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

// One picture of the archives and what it is drawn from.
struct SPicture {
    enum class EKind { Kit, Crowd, Crest, Face };
    EKind kind = EKind::Kit;
    bool older = false;
    std::string container;
    std::string shape;
    CSamplePictures::SKit colours;
    int32_t number = 0; // team id (crowd speckles) or face number
    std::string name;   // the team's name on its crest
};

struct SArchiveBytes {
    std::vector<uint8_t> newer;
    std::vector<uint8_t> older;
};

wren::BgraImage Draw(const SPicture& picture) {
    switch (picture.kind) {
    case SPicture::EKind::Kit:
        return CSamplePictures::Kit(picture.colours, CSampleArchives::kKitSize);
    case SPicture::EKind::Crowd:
        return CSamplePictures::Crowd(picture.colours, static_cast<uint32_t>(picture.number),
                                      CSampleArchives::kKitSize);
    case SPicture::EKind::Crest:
        return CSamplePictures::Crest(picture.colours, picture.name, CSampleArchives::kCrestSize);
    case SPicture::EKind::Face:
        break;
    }
    return CSamplePictures::FaceTexture(picture.number, CSampleArchives::kFaceSize);
}

std::vector<SPicture> Plan(const CGameDatabase& db) {
    std::vector<SPicture> plan;
    for (const auto& [id, team] : db.Teams()) {
        const bool older = CSampleArchives::TeamOnlyInOlderArchive(id);
        CSamplePictures::SKit crestColours;
        for (int32_t slot = CTeamKit::kSlotCount - 1; slot >= 0; --slot) {
            const CTeamKit* kit = team.FindKit(slot);
            if (!kit)
                continue;
            SPicture picture;
            picture.kind = slot == 7 || slot == 8 ? SPicture::EKind::Crowd : SPicture::EKind::Kit;
            picture.older = older;
            picture.container = CSampleArchives::KitContainer(id, slot);
            picture.shape = CSampleArchives::KitShape(slot);
            picture.colours = KitColours(db.Colours(), *kit);
            picture.number = id;
            if (slot == 0)
                crestColours = picture.colours;
            plan.push_back(std::move(picture));
        }
        SPicture crest;
        crest.kind = SPicture::EKind::Crest;
        crest.older = older;
        crest.container = CSampleArchives::CrestContainer(id);
        crest.shape = "logo";
        crest.colours = crestColours;
        crest.name = team.Name();
        plan.push_back(std::move(crest));
    }
    std::set<int32_t> faces;
    for (const auto& [id, player] : db.Players())
        if (const int32_t face = player.Value(EPlayerColumn::SpecificFace); face > 0)
            faces.insert(face);
    for (int32_t face : faces) {
        SPicture picture;
        picture.kind = SPicture::EKind::Face;
        picture.older = CSampleArchives::FaceOnlyInOlderArchive(face);
        picture.container = CSampleArchives::FaceContainer(face);
        picture.shape = "tp01";
        picture.number = face;
        plan.push_back(std::move(picture));
    }
    return plan;
}

// FNV-1a over everything a picture is drawn from and where it goes.
uint64_t Fingerprint(const std::vector<SPicture>& plan) {
    uint64_t hash = 0xCBF29CE484222325ull;
    auto mix = [&hash](const void* data, size_t size) {
        for (size_t i = 0; i < size; ++i) {
            hash ^= static_cast<const uint8_t*>(data)[i];
            hash *= 0x100000001B3ull;
        }
    };
    for (const SPicture& picture : plan) {
        const uint32_t values[] = {static_cast<uint32_t>(picture.kind),
                                   picture.older,
                                   picture.colours.jersey,
                                   picture.colours.pattern,
                                   picture.colours.trim,
                                   picture.colours.shorts,
                                   picture.colours.socks,
                                   static_cast<uint32_t>(picture.colours.style),
                                   static_cast<uint32_t>(picture.number)};
        mix(values, sizeof values);
        for (const std::string* text : {&picture.container, &picture.shape, &picture.name})
            mix(text->c_str(), text->size() + 1);
    }
    return hash;
}

// The container of one picture: formats rotate so every kind of shape occurs, and every third
// shape carries its name in a name record behind a tag of its own.
std::optional<std::vector<uint8_t>> Container(const SPicture& picture, uint32_t index,
                                              std::string& error) {
    static constexpr uint8_t kTypes[] = {wren::kShapeTypeBgra32, wren::kShapeTypeDxt1,
                                         wren::kShapeTypeDxt3, wren::kShapeTypeDxt5};
    wren::ShapeWriteOptions options;
    options.type = kTypes[index % 4];
    std::string tag = picture.shape;
    if (index % 3 == 2) {
        options.name = picture.shape;
        tag = "pic" + std::to_string(index % 10);
    }
    wren::ShapeContainerWriter writer;
    if (!writer.Add(tag, Draw(picture), options, error))
        return std::nullopt;
    auto packed = wren::PACK_pack(writer.Build());
    if (!packed)
        error = "cannot pack";
    return packed;
}

std::optional<SArchiveBytes> Render(const std::vector<SPicture>& plan, CMessageSink& sink) {
    // Pictures are independent of each other: draw and pack them on every core.
    std::vector<std::optional<std::vector<uint8_t>>> containers(plan.size());
    std::vector<std::string> errors(plan.size());
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < plan.size(); i = next++)
            containers[i] = Container(plan[i], static_cast<uint32_t>(i), errors[i]);
    };
    const unsigned helpers = std::min(std::max(std::thread::hardware_concurrency(), 1u), 8u) - 1;
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < helpers; ++i)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();

    wren::BigArchiveWriter newer(wren::BigArchiveWriter::Kind::Bigf);
    wren::BigArchiveWriter older(wren::BigArchiveWriter::Kind::Bigf);
    for (size_t i = 0; i < plan.size(); ++i) {
        if (!containers[i]) {
            sink.Report("Error_OpenToWrite", plan[i].container + ": " + errors[i]);
            return std::nullopt;
        }
        (plan[i].older ? older : newer).Add(plan[i].container, *containers[i]);
    }
    SArchiveBytes bytes;
    std::string error;
    for (auto [writer, out] : {std::pair{&newer, &bytes.newer}, std::pair{&older, &bytes.older}}) {
        auto built = writer->Build(error);
        if (!built) {
            sink.Report("Error_OpenToWrite", "picture archive: " + error);
            return std::nullopt;
        }
        *out = std::move(*built);
    }
    return bytes;
}

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes,
               CMessageSink& sink) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        sink.Report("Error_OpenToWrite", Utf8Text(path));
        return false;
    }
    return true;
}

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
    // Drawing and packing thousands of pictures takes a while, and tests write the same sample
    // again and again: the last archives made are kept for the same plan.
    static std::mutex cacheMutex;
    static std::optional<std::pair<uint64_t, SArchiveBytes>> cache;
    const std::vector<SPicture> plan = Plan(context.database);
    const uint64_t fingerprint = Fingerprint(plan);
    std::optional<SArchiveBytes> bytes;
    {
        const std::lock_guard lock(cacheMutex);
        if (cache && cache->first == fingerprint)
            bytes = cache->second;
    }
    if (!bytes) {
        bytes = Render(plan, context.sink);
        if (!bytes)
            return false;
        const std::lock_guard lock(cacheMutex);
        cache.emplace(fingerprint, *bytes);
    }
    const std::filesystem::path data = context.folder / "data";
    return WriteFile(data / "zdata_05.big", bytes->newer, context.sink) &&
           WriteFile(data / "zdata_04.big", bytes->older, context.sink);
}
