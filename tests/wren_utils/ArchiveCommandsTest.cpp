#include "WrenTestFiles.h"

#include "tests/support/ProcessRun.h"
#include "tests/support/WholeFile.h"

#include "wren_utils/archive/BigArchiveWriter.h"
#include "wren_utils/pack/PackEncoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <sys/stat.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

class ArchiveCommandsTest : public ::testing::Test {
protected:
    SProcessResult Run(const std::vector<std::string>& args) {
        return RunProcess(KESTREL_CLI, args, folder_.Path());
    }

    CTempFolder folder_;
};

TEST_F(ArchiveCommandsTest, ListsPlainAndPackedArchives) {
    wren::BigArchiveWriter writer(wren::BigArchiveWriter::Kind::Big4);
    writer.Add("league.fsh", Bytes(10, 1));
    writer.Add("kits/t1.fsh", Bytes(3, 2));
    std::string error;
    const Bytes archive = *writer.Build(error);
    const std::string plain = folder_.Write("a.big", archive);
    const std::string packed = folder_.Write("p.big", *wren::PACK_pack(archive));
    // Directory: 16 + (8 + 11) + (8 + 12) = 55; data follows it.
    const std::string expected = "league.fsh\t55\t10\nkits/t1.fsh\t65\t3\n";
    for (const std::string& path : {plain, packed}) {
        const SProcessResult result = Run({"archive", "list", path});
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, expected);
    }
    const SProcessResult bad =
        Run({"archive", "list", folder_.Write("x.bin", Bytes{'n', 'o', 'p', 'e'})});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 1);
    EXPECT_EQ(Run({"archive", "show", plain}).status, 2); // no entry named: a usage error
}

TEST_F(ArchiveCommandsTest, PackAndUnpackRoundTrip) {
    const Bytes content = CountingBytes(100000);
    const std::string in = folder_.Write("in.bin", content);
    ASSERT_EQ(Run({"pack", in, folder_.File("packed.bin")}).status, 0);
    ASSERT_EQ(Run({"unpack", folder_.File("packed.bin"), folder_.File("out.bin")}).status, 0);
    EXPECT_EQ(ReadText(folder_.File("out.bin")), ReadText(in));

    // A damaged stream fails and leaves the existing output file untouched.
    std::string damaged = ReadText(folder_.File("packed.bin"));
    damaged.resize(damaged.size() - 10);
    const std::string broken = folder_.Write("broken.bin", Bytes(damaged.begin(), damaged.end()));
    const SProcessResult result = Run({"unpack", broken, folder_.File("out.bin")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("damaged packed stream"), std::string::npos);
    EXPECT_EQ(ReadText(folder_.File("out.bin")), ReadText(in));
    EXPECT_EQ(Run({"unpack", in, folder_.File("x.bin")}).status, 1);
    EXPECT_EQ(Run({"pack", folder_.File("missing.bin"), folder_.File("x.bin")}).status, 1);
}

TEST_F(ArchiveCommandsTest, ArchiveCutAfterItsDirectoryIsReported) {
    wren::BigArchiveWriter writer(wren::BigArchiveWriter::Kind::Big4);
    writer.Add("league.fsh", Bytes(10, 1));
    writer.Add("kits/t1.fsh", Bytes(3, 2));
    std::string error;
    Bytes archive = *writer.Build(error);
    archive.resize(60); // the directory (55 bytes) and half of the first entry
    const SProcessResult result = Run({"archive", "list", folder_.Write("cut.big", archive)});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "league.fsh\t55\t10\nkits/t1.fsh\t65\t3\n");
    EXPECT_NE(result.err.find("2 of 2 entries lie outside its 60 bytes, the first 'league.fsh'"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
}

// Folders and FIFOs are refused at once with a plain message; a FIFO must not be waited on.
TEST_F(ArchiveCommandsTest, OnlyRegularFilesAreRead) {
    const std::string fifo = folder_.File("pipe.big");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = folder_.File("");
    const std::string out = folder_.File("out.bin");
    const std::vector<std::vector<std::string>> commands = {
        {"archive", "list", "IN"}, {"unpack", "IN", out}, {"pack", "IN", out}};
    for (const std::string& in : {fifo, folder}) {
        for (std::vector<std::string> args : commands) {
            std::replace(args.begin(), args.end(), std::string("IN"), in);
            args.insert(args.begin(), {"10", KESTREL_CLI});
            const SProcessResult result = RunProcess("timeout", args, folder_.Path());
            EXPECT_EQ(result.status, 1) << args[2] << " " << in;
            EXPECT_EQ(result.err.find("internal error"), std::string::npos) << result.err;
            const char* expected = in == fifo ? "is not a regular file" : "is a folder";
            EXPECT_NE(result.err.find(expected), std::string::npos) << result.err;
        }
    }
    const SProcessResult shape =
        RunProcess("timeout", {"10", KESTREL_CLI, "shape", fifo, "c", "s", folder_.File("x.png")},
                   folder_.Path());
    EXPECT_EQ(shape.status, 1) << shape.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace
