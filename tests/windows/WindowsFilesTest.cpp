#include "editor/database/CSafeFile.h"
#include "wren_utils/archive/BigArchiveUpdate.h"
#include "wren_utils/archive/BigArchiveWriter.h"
#include "wren_utils/engine/FilePaths.h"
#include "wren_utils/engine/FileSystem.h"

#include "tests/support/CTempFolder.h"
#include "tests/support/WholeFile.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <io.h>

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

// "Spielstand Ü.db": a name the ANSI code page of many systems cannot hold in every language.
std::string Utf8Name(const std::string& stem) {
    return stem + " \xC3\x9C\xE6\x97\xA5.db"; // " Ü日.db"
}

std::string Utf8PathIn(const CTempFolder& folder, const std::string& name) {
    return wren::FILE_utf8of(folder.Path()) + "\\" + name;
}

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

size_t FilesIn(const fs::path& folder) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++count;
    return count;
}

void SetReadOnly(const std::string& utf8, bool readOnly) {
    const fs::path path = wren::FILE_pathof(utf8);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    SetFileAttributesW(path.c_str(), readOnly ? attributes | FILE_ATTRIBUTE_READONLY
                                              : attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
}

Bytes SmallArchive() {
    wren::BigArchiveWriter writer;
    writer.Add("kit.fsh", Text("old kit"));
    writer.Add("logo.fsh", Text("logo bytes"));
    std::string error;
    return *writer.Build(error);
}

} // namespace

// A save replaces a file whose name the ANSI code page cannot hold, in one move, and leaves no
// temporary file; the asset library's loaders read and write such names too.
TEST(WindowsFilesTest, NamesOutsideTheCodePageAreReplacedAndRead) {
    CTempFolder folder;
    const std::string path = Utf8PathIn(folder, Utf8Name("Spielstand"));
    std::string error;
    ASSERT_TRUE(CSafeFile::Write(path, Text("first"), error)) << error;
    ASSERT_TRUE(CSafeFile::Write(path, Text("second save"), error)) << error;
    EXPECT_EQ(ReadAll(wren::FILE_pathof(path)), Text("second save"));
    EXPECT_EQ(FilesIn(folder.Path()), 1u);

    ASSERT_TRUE(wren::FILESYS_init());
    const std::string other = Utf8PathIn(folder, Utf8Name("zdata"));
    EXPECT_TRUE(wren::FILE_save(other, Text("saved by the library")));
    EXPECT_EQ(wren::FILE_load(other), Text("saved by the library"));
    EXPECT_EQ(wren::FILE_load(path), Text("second save"));
    wren::FILESYS_shutdown();
    EXPECT_EQ(FilesIn(folder.Path()), 2u);
}

// Names handed to the exports are in the ANSI code page; the library turns them into UTF-8.
TEST(WindowsFilesTest, ExportNamesAreReadInTheAnsiCodePage) {
    const std::wstring wide = L"C:\\Spiele\\Corvid 2004 \u00DC";
    char narrow[64] = {};
    BOOL lost = FALSE;
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, narrow, sizeof narrow, nullptr, &lost);
    if (lost)
        GTEST_SKIP() << "this system's code page has no \u00DC";
    EXPECT_EQ(wren::FILE_fromnative(narrow), "C:\\Spiele\\Corvid 2004 \xC3\x9C");
    EXPECT_EQ(wren::FILE_fromnative("plain.big"), "plain.big");
}

// A file with the read-only attribute is refused by the safe save and the archive update, and
// keeps its bytes; without the attribute both replace it.
TEST(WindowsFilesTest, ReadOnlyFilesAreRefusedAndKeepTheirBytes) {
    CTempFolder folder;
    const std::string database = Utf8PathIn(folder, Utf8Name("corvid"));
    ASSERT_TRUE(WriteAll(wren::FILE_pathof(database), Text("database")));
    SetReadOnly(database, true);
    std::string error;
    EXPECT_FALSE(CSafeFile::CanReplace(database, error));
    EXPECT_FALSE(CSafeFile::Write(database, Text("changed"), error));
    EXPECT_EQ(error, "it is read-only");
    EXPECT_EQ(ReadAll(wren::FILE_pathof(database)), Text("database"));

    const std::string archive = Utf8PathIn(folder, "zdata_05.big");
    ASSERT_TRUE(WriteAll(wren::FILE_pathof(archive), SmallArchive()));
    SetReadOnly(archive, true);
    wren::BigPutResult result;
    EXPECT_FALSE(wren::BIG_putentry(archive, "kit.fsh", Text("new kit"), result, error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_EQ(ReadAll(wren::FILE_pathof(archive)), SmallArchive());
    EXPECT_EQ(FilesIn(folder.Path()), 2u);

    SetReadOnly(database, false);
    SetReadOnly(archive, false);
    EXPECT_TRUE(CSafeFile::Write(database, Text("changed"), error)) << error;
    wren::BigPutOptions noBak;
    noBak.keepBackup = false;
    EXPECT_TRUE(wren::BIG_putentry(archive, "kit.fsh", Text("new kit"), result, error, noBak))
        << error;
    EXPECT_EQ(*wren::BIG_readfileentry(archive, "kit.fsh", error), Text("new kit"));
    EXPECT_EQ(FilesIn(folder.Path()), 2u);
}

// The temporary file of an update whose process is gone is removed by the next update, unless
// someone holds its LockFileEx lock (an update still writing it).
TEST(WindowsFilesTest, ALockedTemporaryFileOfAnUpdateStays) {
    CTempFolder folder;
    const std::string archive = Utf8PathIn(folder, "zdata_05.big");
    ASSERT_TRUE(WriteAll(wren::FILE_pathof(archive), SmallArchive()));
    // No process has this id: ids are multiples of four.
    const std::string leftover = Utf8PathIn(folder, "zdata_05.big.import-999999-1.tmp");
    ASSERT_TRUE(WriteAll(wren::FILE_pathof(leftover), Text("half an archive")));

    const HANDLE held = CreateFileW(wren::FILE_pathof(leftover).c_str(),
                                    GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    OVERLAPPED whole{};
    ASSERT_TRUE(LockFileEx(held, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                           MAXDWORD, &whole));
    wren::BigPutOptions noBak;
    noBak.keepBackup = false;
    wren::BigPutResult result;
    std::string error;
    ASSERT_TRUE(wren::BIG_putentry(archive, "kit.fsh", Text("one"), result, error, noBak)) << error;
    EXPECT_EQ(result.removedTemporaries, 0);
    EXPECT_TRUE(fs::exists(wren::FILE_pathof(leftover)));

    OVERLAPPED unlock{};
    UnlockFileEx(held, 0, MAXDWORD, MAXDWORD, &unlock);
    CloseHandle(held);
    ASSERT_TRUE(wren::BIG_putentry(archive, "kit.fsh", Text("two"), result, error, noBak)) << error;
    EXPECT_EQ(result.removedTemporaries, 1);
    EXPECT_FALSE(fs::exists(wren::FILE_pathof(leftover)));
    EXPECT_EQ(FilesIn(folder.Path()), 1u);
}

// Windows does not move a file over one another program holds open: the save then fails with
// the reason, the file keeps its bytes and no temporary file is left beside it.
TEST(WindowsFilesTest, AFileHeldOpenElsewhereIsLeftAsItWas) {
    CTempFolder folder;
    const std::string path = Utf8PathIn(folder, Utf8Name("texts"));
    ASSERT_TRUE(WriteAll(wren::FILE_pathof(path), Text("old texts")));
    const HANDLE reader = CreateFileW(wren::FILE_pathof(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    std::string error;
    EXPECT_FALSE(CSafeFile::Write(path, Text("new texts"), error));
    EXPECT_NE(error.find("cannot replace the file"), std::string::npos) << error;
    CloseHandle(reader);
    EXPECT_EQ(ReadAll(wren::FILE_pathof(path)), Text("old texts"));
    EXPECT_EQ(FilesIn(folder.Path()), 1u);
    EXPECT_TRUE(CSafeFile::Write(path, Text("new texts"), error)) << error;
    EXPECT_EQ(ReadAll(wren::FILE_pathof(path)), Text("new texts"));
}
