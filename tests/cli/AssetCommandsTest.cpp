#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct SResult {
    int status;
    std::string out;
    std::string err;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), {});
}

std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

const std::string kKitContainer = "playerkittexobj.texobj463104248046875__texture23__0_0_1.fsh";

// The shape and picture commands, run as a user runs them, on a sample installation.
class AssetCommandsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root = new fs::path(fs::temp_directory_path() /
                            ("kestrel_cli_assets_" + std::to_string(::getpid())));
        fs::remove_all(*root);
        fs::create_directories(*root);
        sampleStatus = Run({"make-sample", (*root / "game").string()}).status;
    }
    static void TearDownTestSuite() {
        fs::remove_all(*root);
        delete root;
    }
    void SetUp() override { ASSERT_EQ(sampleStatus, 0); }

    static SResult Run(const std::vector<std::string>& args) {
        std::string command = Quote(KESTREL_CLI);
        for (const std::string& arg : args)
            command += " " + Quote(arg);
        const fs::path out = *root / "out.txt";
        const fs::path err = *root / "err.txt";
        command += " >" + Quote(out.string()) + " 2>" + Quote(err.string());
        const int raw = std::system(command.c_str());
        return {WEXITSTATUS(raw), ReadAll(out), ReadAll(err)};
    }

    static std::string Game() { return (*root / "game").string(); }
    static std::string Png(const char* name) { return (*root / name).string(); }
    static bool IsPng(const std::string& path) { return ReadAll(path).rfind("\x89PNG", 0) == 0; }

    static inline fs::path* root = nullptr;
    static inline int sampleStatus = -1;
};

} // namespace

TEST_F(AssetCommandsTest, PictureFollowsTheEditorsRequests) {
    SResult result = Run({"picture", "--game", Game(), "crest", "1", Png("crest1.png")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("(64 x 64)"), std::string::npos) << result.out;
    EXPECT_TRUE(IsPng(Png("crest1.png")));
    // Team 6 is only in the older archive.
    result = Run({"picture", "crest", "6", Png("crest6.png"), "--game", Game()});
    EXPECT_EQ(result.status, 0) << result.err;
    result = Run({"picture", "--game", Game(), "kit", "1", "0", Png("kit.png")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(IsPng(Png("kit.png")));
}

TEST_F(AssetCommandsTest, PictureRefusals) {
    SResult result = Run({"picture", "--game", Game(), "face", "0", Png("face0.png")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("no picture"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(Png("face0.png")));
    result = Run({"picture", "--game", Game(), "kit", "1", "home", Png("x.png")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("'home' is not a number"), std::string::npos) << result.err;
    EXPECT_EQ(Run({"picture", "crest", "1", Png("x.png")}).status, 1) << "no --game";
    EXPECT_EQ(Run({"picture", "--game", Game(), "badge", "1", Png("x.png")}).status, 1);
}

TEST_F(AssetCommandsTest, ShapeThroughEitherExport) {
    const std::string archive = Game() + "/data/zdata_05.big";
    SResult result = Run({"shape", archive, kKitContainer, "tp00", Png("shape.png")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(IsPng(Png("shape.png")));
    // The sample's containers are packed, which the whole-archive export cannot use in place.
    result = Run({"shape", archive, kKitContainer, "tp00", Png("whole.png"), "--whole"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("no picture"), std::string::npos);
    result = Run({"shape", archive, kKitContainer, "tp00", Png("x.png"), "--library",
                  "/nonexistent/Wren_Utils"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("cannot load"), std::string::npos) << result.err;
    EXPECT_EQ(Run({"shape", archive, kKitContainer, Png("x.png")}).status, 1) << "usage";
}
