#include "editor/database/CDbWriter.h"
#include "editor/database/CIngameTextDb.h"

#include "tests/database/CRecordingSink.h"
#include "tests/support/CDbFileBuilder.h"
#include "tests/support/CTempFolder.h"
#include "tests/support/ProcessRun.h"
#include "tests/support/WholeFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <sstream>

namespace {

class DatabaseCommandsTest : public ::testing::Test {
protected:
    SProcessResult Run(const std::vector<std::string>& args) {
        return RunProcess(KESTREL_CLI, args, folder.Path());
    }

    std::string MakeTexts() {
        CDbFileBuilder f;
        f.Word(0);
        f.Word(0);
        f.Word(1);
        f.Word(40);
        const size_t name = f.Word(0);
        f.Word(8);
        for (int i = 0; i < 4; ++i)
            f.Word(0);
        f.Word(3);
        f.Word(16);
        std::vector<size_t> pointers;
        for (uint32_t id : {30000120u, 7u, 30000120u}) {
            f.Word(id);
            pointers.push_back(f.Word(0));
        }
        f.Patch(name, f.String("language"));
        f.Patch(pointers[0], f.String("Górnik\tZabrze\\"));
        f.Patch(pointers[1], f.String("line\nbreak"));
        f.Patch(pointers[2], f.String("second"));
        const std::string path = folder.File("eng.db");
        WriteAll(path, f.bytes);
        return path;
    }

    CTempFolder folder;
};

} // namespace

TEST_F(DatabaseCommandsTest, InfoPrintsTheCatalogueAsJson) {
    CDbCatalogue catalogue;
    catalogue.headerWord1 = 4000000000u;
    catalogue.headerWord2 = 2;
    catalogue.tableCount = 1;
    auto table = std::make_unique<CDbTable>(0, 16);
    table->SetName("dup");
    table->SetRecordSize(8);
    table->AddColumn("a\"b\\c\n\x01", -5, 10);
    // A lone Latin-1 byte, an overlong form and a surrogate are not UTF-8; the eagle is.
    table->AddColumn("caf\xE9 \xC3\xA9\xC0\xAF\xED\xA0\x80\xF0\x9F\xA6\x85", 0, 0);
    table->AddNameListEntry(1, "one");
    // Private-use characters near those the JSON step borrows for such bytes, then a lone byte.
    table->AddNameListEntry(2, "\xF4\x8F\xBD\xBF\xF4\x8F\xBE\x90\x90");
    table->AddNameListEntry(3, "three");
    catalogue.AddTable(std::move(table));
    CDbWriter writer;
    writer.AddTable("dup", [](CDbSectionWriter& out) {
        for (int i = 0; i < 3; ++i) {
            out.BeginRecord();
            out.Word(1);
        }
    });
    CRecordingSink sink;
    const auto bytes = writer.Build(catalogue, sink);
    ASSERT_TRUE(bytes) << sink.Last();
    const std::string path = folder.File("cat.db");
    WriteAll(path, *bytes);

    const SProcessResult result = Run({"info", path});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    // The descriptor (columns, then the list entries) runs from 16 to 76, where the section is.
    EXPECT_EQ(result.out,
              "{\"header\":[4000000000,2],\"tables\":[{\"name\":\"dup\",\"record_size\":8,"
              "\"records\":3,\"section_offset\":76,\"descriptor_offset\":16,\"columns\":["
              "{\"name\":\"a\\\"b\\\\c\\n\\u0001\",\"low\":-5,\"high\":10,\"width\":4},"
              "{\"name\":\"caf\\u00e9 "
              "\xC3\xA9\\u00c0\\u00af\\u00ed\\u00a0\\u0080\xF0\x9F\xA6\x85\",\"low\":0,\"high\":0,"
              "\"width\":1}],"
              "\"lists\":[[\"one\"],[\"\xF4\x8F\xBD\xBF\xF4\x8F\xBE\x90\\u0090\"],"
              "[\"three\"]]}]}\n");
}

TEST_F(DatabaseCommandsTest, InfoListsEveryTableAlsoWhenTwoShareAName) {
    CDbFileBuilder f;
    f.Word(1);
    f.Word(2);
    f.Word(2);
    const size_t dir0 = f.Word(0);
    const size_t dir1 = f.Word(0);
    std::vector<size_t> names;
    for (uint32_t size : {4u, 12u}) {
        names.push_back(f.Word(0));
        f.Word(size);
        for (int i = 0; i < 4; ++i)
            f.Word(0);
    }
    const uint32_t name = f.String("same");
    f.Patch(names[0], name);
    f.Patch(names[1], name);
    f.Patch(dir0, f.Here());
    f.Word(0);
    f.Word(20);
    f.Patch(dir1, f.Here());
    f.Word(0);
    f.Word(44);
    WriteAll(folder.File("two.db"), f.bytes);
    const SProcessResult result = Run({"info", folder.File("two.db")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("\"record_size\":4,"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\"record_size\":12,"), std::string::npos) << result.out;
}

TEST_F(DatabaseCommandsTest, TextsListsAndSetsEntries) {
    const std::string path = MakeTexts();
    SProcessResult result = Run({"texts", path});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "30000120\tGórnik\\tZabrze\\\\\n7\tline\\nbreak\n30000120\tsecond\n");

    result = Run({"texts", path, "--set", "30000120", "Śląsk\\nWrocław"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    CIngameTextDb texts(path);
    CRecordingSink sink;
    ASSERT_TRUE(texts.ReadIngameTextDb(sink));
    EXPECT_EQ(texts.FindText(30000120), "Śląsk\nWrocław");
    EXPECT_EQ(texts.Entries()[2].text, "second");
    EXPECT_EQ(texts.FindText(7), "line\nbreak");
}

TEST_F(DatabaseCommandsTest, FailuresExitWithOneLineAndChangeNothing) {
    const std::string path = MakeTexts();
    const std::vector<uint8_t> before = ReadAll(path);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"texts", path, "--set", "8", "x"}, "no text with id 8"},
        {{"texts", path, "--set", "12x", "x"}, "ID must be a number"},
        {{"texts", path, "--set", "7", "bad \\q"}, "backslash"},
        {{"texts", path, "--set", "7", std::string(256, 'x')}, "longer than the 255 bytes"},
        {{"texts", path, "--set", "7"}, "usage: kestrel-cli texts"},
        {{"texts", folder.File("missing.db")}, "cannot read"},
        {{"info", folder.File("missing.db")}, "No such file"},
        {{"info"}, "usage: kestrel-cli info"},
    };
    for (const auto& [args, expected] : cases) {
        const SProcessResult result = Run(args);
        EXPECT_EQ(result.status, expected.starts_with("usage:") ? 2 : 1) << expected;
        EXPECT_EQ(result.out, "") << expected;
        EXPECT_EQ(result.err.rfind("kestrel-cli: ", 0), 0u) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_NE(result.err.find(expected), std::string::npos) << result.err;
        EXPECT_EQ(ReadAll(path), before) << expected;
    }

    std::vector<uint8_t> damaged = before;
    damaged[8] = 0xFF; // table count
    WriteAll(folder.File("bad.db"), damaged);
    const SProcessResult result = Run({"info", folder.File("bad.db")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("table count"), std::string::npos) << result.err;
}

TEST_F(DatabaseCommandsTest, EveryCommandExplainsItselfAndArgumentsMayBeCommandNames) {
    const SProcessResult help = Run({"--help"});
    ASSERT_EQ(help.status, 0);
    std::istringstream lines(help.out.substr(help.out.find("Commands:\n")));
    std::vector<std::string> names;
    for (std::string line; std::getline(lines, line);)
        if (line.size() > 2 && line.rfind("  ", 0) == 0 && line[2] != ' ')
            names.push_back(line.substr(2, line.find(' ', 2) - 2));
    ASSERT_GE(names.size(), 15u);
    for (const std::string& name : names) {
        const SProcessResult own = Run({name, "--help"});
        EXPECT_EQ(own.status, 0) << name;
        EXPECT_NE(own.out.find("Usage: kestrel-cli [GLOBAL OPTIONS] " + name), std::string::npos)
            << own.out;
    }
    EXPECT_EQ(Run({}).status, 2);
    const SProcessResult unknown = Run({"frobnicate"});
    EXPECT_EQ(unknown.err, "kestrel-cli: unknown command 'frobnicate' (usage: kestrel-cli [GLOBAL "
                           "OPTIONS] COMMAND [ARGS]; see kestrel-cli --help)\n");
    const SProcessResult missing = Run({"texts", "x", "--set", "7"});
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;

    // "info" is a command name, yet here only the new text.
    const std::string path = MakeTexts();
    EXPECT_EQ(Run({"texts", path, "--set", "7", "info"}).status, 0);
    EXPECT_NE(Run({"texts", path}).out.find("7\tinfo\n"), std::string::npos);
}

// A FIFO or a folder given as a database is refused at once, never waited on.
TEST_F(DatabaseCommandsTest, OnlyRegularFilesAreReadAsDatabases) {
    const std::string fifo = folder.File("pipe.db");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::vector<std::string>> cases = {
        {"info", fifo}, {"texts", fifo}, {"--db", fifo, "summary"}, {"info", folder.File("")}};
    for (std::vector<std::string> args : cases) {
        args.insert(args.begin(), {"10", KESTREL_CLI});
        const SProcessResult result = RunProcess("timeout", args, folder.Path());
        EXPECT_EQ(result.status, 1) << args[2];
        EXPECT_TRUE(result.err.find("it is not a regular file") != std::string::npos ||
                    result.err.find("it is a folder") != std::string::npos)
            << result.err;
    }
}
