#include "tests/support/CTempFolder.h"
#include "tests/support/ProcessRun.h"
#include "tests/support/WholeFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kKitContainer = "playerkittexobj.texobj463104248046875__texture23__0_0_1.fsh";

// The shape and picture commands, run as a user runs them, on a sample installation.
class AssetCommandsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch = new CTempFolder();
        sampleStatus = Run({"make-sample", (Root() / "game").string()}).status;
    }
    static void TearDownTestSuite() { delete scratch; }
    void SetUp() override { ASSERT_EQ(sampleStatus, 0); }

    static SProcessResult Run(const std::vector<std::string>& args) {
        return RunProcess(KESTREL_CLI, args, Root());
    }

    static std::string Game() { return (Root() / "game").string(); }
    static std::string Png(const char* name) { return (Root() / name).string(); }
    static bool IsPng(const std::string& path) { return ReadText(path).rfind("\x89PNG", 0) == 0; }

    static const fs::path& Root() { return scratch->Path(); }

    static inline CTempFolder* scratch = nullptr;
    static inline int sampleStatus = -1;
};

} // namespace

TEST_F(AssetCommandsTest, PictureFollowsTheEditorsRequests) {
    SProcessResult result = Run({"picture", "--game", Game(), "crest", "1", Png("crest1.png")});
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
    SProcessResult result = Run({"picture", "--game", Game(), "face", "0", Png("face0.png")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("no picture"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(Png("face0.png")));
    result = Run({"picture", "--game", Game(), "kit", "1", "home", Png("x.png")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("'home' is not a number"), std::string::npos) << result.err;
    EXPECT_EQ(Run({"picture", "crest", "1", Png("x.png")}).status, 1) << "no --game";
    EXPECT_EQ(Run({"picture", "--game", Game(), "badge", "1", Png("x.png")}).status, 2);
}

TEST_F(AssetCommandsTest, ShapeThroughEitherExport) {
    const std::string archive = Game() + "/data/zdata_05.big";
    SProcessResult result = Run({"shape", archive, kKitContainer, "tp00", Png("shape.png")});
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
    EXPECT_EQ(Run({"shape", archive, kKitContainer, Png("x.png")}).status, 2) << "usage";
}
