#include "tests/support/CTempFolder.h"
#include "tests/support/WholeFile.h"

#include "wren_utils/engine/DebugPrint.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace wren;

void SetVariable(const char* name, const char* value) {
#if defined(_WIN32)
    _putenv_s(name, value != nullptr ? value : "");
#else
    if (value != nullptr)
        setenv(name, value, 1);
    else
        unsetenv(name);
#endif
}

class DebugPrintTest : public ::testing::Test {
protected:
    void TearDown() override {
        SetVariable("PRINT_CHANNEL", nullptr);
        SetVariable("PRINT_DEVICE", nullptr);
        PRINT_reload();
        PRINT_setlistener({});
    }
    CTempFolder folder_;
};

TEST_F(DebugPrintTest, ChannelsAndDevicesFollowTheEnvironment) {
    SetVariable("PRINT_CHANNEL", nullptr);
    SetVariable("PRINT_DEVICE", nullptr);
    PRINT_reload();
    EXPECT_TRUE(PRINT_enabled(kPrintChannelError));
    EXPECT_FALSE(PRINT_enabled(kPrintChannelDebug));

    const std::string log = folder_.File("print.log");
    SetVariable("PRINT_DEVICE", ("file:" + log).c_str());
    SetVariable("PRINT_CHANNEL", "1, 3,40");
    PRINT_reload();
    EXPECT_TRUE(PRINT_enabled(1));
    EXPECT_TRUE(PRINT_enabled(3));
    EXPECT_FALSE(PRINT_enabled(2));
    EXPECT_FALSE(PRINT_enabled(40));
    PRINT_channel(1, "shape %s is located at 0x%p.\n", "kit", static_cast<void*>(nullptr));
    PRINT_channel(2, "hidden\n");
    PRINT_error("FILE_load - unable to open file %s\n", "x.big");
    PRINT_channel(3, "size = %d\n", 12);
    const std::string expected = "shape kit is located at 0x" + [] {
        char text[32];
        std::snprintf(text, sizeof text, "%p", static_cast<void*>(nullptr));
        return std::string(text);
    }() + ".\nsize = 12\n";
    EXPECT_EQ(ReadText(log), expected);

    SetVariable("PRINT_CHANNEL", "all");
    PRINT_reload();
    PRINT_error("FILESYS_completeop - OPERATION NOT FOUND IN COMPLETED LIST.\n");
    EXPECT_EQ(ReadText(log),
              expected + "ERROR: FILESYS_completeop - OPERATION NOT FOUND IN COMPLETED LIST.\n");

    const std::string before = ReadText(log);
    SetVariable("PRINT_DEVICE", "none");
    PRINT_reload();
    std::vector<std::pair<int, std::string>> heard;
    PRINT_setlistener(
        [&](int channel, const std::string& text) { heard.emplace_back(channel, text); });
    PRINT_error("gone %d\n", 1);
    PRINT_channel(7, "quiet\n");
    EXPECT_EQ(ReadText(log), before);
    const std::vector<std::pair<int, std::string>> want = {{2, "ERROR: gone 1\n"}, {7, "quiet\n"}};
    EXPECT_EQ(heard, want);
}

} // namespace
