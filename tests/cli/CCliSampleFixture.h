#pragma once

#include "tests/support/CTempFolder.h"
#include "tests/support/ProcessRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

// One sample installation made by the real tool for the suite; each case works on its own copy
// and runs the tool on it. Test programs define KESTREL_CLI, the tool's path.
class CCliSampleFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sample = new CTempFolder();
        made = RunProcess(KESTREL_CLI, {"make-sample", (sample->Path() / "game").string()},
                          sample->Path())
                   .status == 0;
    }
    static void TearDownTestSuite() {
        delete sample;
        sample = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(made);
        std::filesystem::copy(sample->Path() / "game", game,
                              std::filesystem::copy_options::recursive);
    }
    // The tool on this case's copy (--game is given first).
    SProcessResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--game", game.string()});
        return RunProcess(KESTREL_CLI, args, scratch.Path());
    }

    static inline CTempFolder* sample = nullptr;
    static inline bool made = false;
    CTempFolder scratch;
    const std::filesystem::path game = scratch.Path() / "game";
    const std::filesystem::path db = game / "data" / "cmn" / "corvid.db";
};
