#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/startup/appended_package.h"
#include "core/startup/prepare_media_folder.h"
#include "core/startup/startup_paths.h"
#include "support/test_files.h"

using namespace quell::startup;
namespace fs = std::filesystem;
using cabtest::TempFolder;

namespace {

class RecordingSink : public quell::MessageSink {
public:
    void showMessage(const std::string& text, quell::MessageIcon) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

}  // namespace

TEST(StartupPaths, FormsEveryPathFromTheModulePath) {
    struct Case {
        const char* module;
        const char* folder;
        const char* stem;
        const char* ini;
    } cases[] = {
        {"/app/Quell1", "/app/", "Quell1", "/app/Media/Quell1.ini"},
        {"/app/a.b.exe", "/app/", "a", "/app/Media/a.ini"},
        {"/app/nodot", "/app/", "nodot", "/app/Media/nodot.ini"},
        {"/app/.hidden", "/app/", "", "/app/Media/.ini"},
        {"/opt/my.skin/Quell1.bin", "/opt/my.skin/", "Quell1", "/opt/my.skin/Media/Quell1.ini"},
        {"Quell1", "", "Quell1", "Media/Quell1.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.module);
        StartupPaths p = FormStartupPaths(c.module);
        EXPECT_EQ(p.executableFolder, c.folder);
        EXPECT_EQ(p.stem, c.stem);
        EXPECT_EQ(p.skinIniPath, c.ini);
        EXPECT_EQ(p.mediaFolder, std::string(c.folder) + "Media/");
        EXPECT_EQ(p.tempCabinetPath, std::string(c.folder) + "kest.tmp");
    }
}

TEST(StartupPaths, RelocatesBelowTheUserDataFolder) {
    StartupPaths p = RelocateToUserFolder(FormStartupPaths("/usr/bin/Quell1"), "/home/u/.local/share");
    EXPECT_EQ(p.executableFolder, "/usr/bin/");
    EXPECT_EQ(p.mediaFolder, "/home/u/.local/share/quellcore/Quell1/Media/");
    EXPECT_EQ(p.skinIniPath, "/home/u/.local/share/quellcore/Quell1/Media/Quell1.ini");
    EXPECT_EQ(p.tempCabinetPath, "/home/u/.local/share/quellcore/Quell1/kest.tmp");
}

TEST(StartupPaths, UsesThePerUserFolderWhenTheProgramFolderIsReadOnly) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write into read-only folders";
    TempFolder dir;
    std::string programFolder = dir.path() + "bin/";
    fs::create_directories(programFolder);
    fs::permissions(programFolder, fs::perms::owner_read | fs::perms::owner_exec);
    StartupPaths p = SelectStartupPaths(programFolder + "Quell1", dir.path() + "data");
    EXPECT_EQ(p.baseFolder, dir.path() + "data/quellcore/Quell1/");
    EXPECT_EQ(p.skinIniPath, dir.path() + "data/quellcore/Quell1/Media/Quell1.ini");
    EXPECT_EQ(p.tempCabinetPath, dir.path() + "data/quellcore/Quell1/kest.tmp");
}

TEST(StartupPaths, AProgramInstalledBelowUsrUsesThePerUserFolderEvenForRoot) {
    StartupPaths p = SelectStartupPaths("/usr/lib/quell-not-installed/Quell1", "/home/u/.local/share");
    EXPECT_EQ(p.baseFolder, "/home/u/.local/share/quellcore/Quell1/");
}

TEST(StartupPaths, FindsThePhotoBesideTheProgramFirstThenInThePerUserFolder) {
    struct Case {
        const char* name;
        bool beside;
        bool perUser;
        bool expectPerUser;
    } cases[] = {
        {"beside only", true, false, false},
        {"both", true, true, false},
        {"per-user only", false, true, true},
        {"neither", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        StartupPaths p = RelocateToUserFolder(FormStartupPaths(dir.path() + "bin/Quell1"), dir.path() + "data");
        fs::create_directories(p.executableFolder);
        fs::create_directories(p.baseFolder);
        if (c.beside) std::ofstream(p.executableFolder + "Photo.bmp") << "BM";
        if (c.perUser) std::ofstream(p.baseFolder + "Photo.bmp") << "BM";
        EXPECT_EQ(PhotoFolder(p), c.expectPerUser ? p.baseFolder : p.executableFolder);
    }
}

TEST(StartupPaths, StaysBesideTheProgramWhenItsSkinIsThere) {
    TempFolder dir;
    fs::create_directories(dir.path() + "Media");
    std::ofstream(dir.path() + "Media/Quell1.ini") << "[FrameBitmap]\n";
    StartupPaths p = SelectStartupPaths(dir.path() + "Quell1", dir.path() + "data");
    EXPECT_EQ(p.baseFolder, dir.path());
}

TEST(AppendedPackage, TrailerEdgeCases) {
    auto withTrailer = [](std::vector<uint8_t> body, uint32_t n) {
        for (int i = 0; i < 4; ++i) body.push_back(static_cast<uint8_t>(n >> (8 * i)));
        return body;
    };
    std::vector<uint8_t> file = withTrailer({'E', 'X', 'E', 'M', 'S', 'C', 'F'}, 4);
    auto cab = FindAppendedCabinet(file);
    ASSERT_TRUE(cab);
    EXPECT_EQ(std::string(cab->begin(), cab->end()), "MSCF");

    auto whole = FindAppendedCabinet(withTrailer({'A', 'B'}, 2));
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->size(), 2u);
    auto empty = FindAppendedCabinet(withTrailer({'A'}, 0));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->size(), 0u);

    EXPECT_FALSE(FindAppendedCabinet(withTrailer({'A', 'B'}, 3)));  // points before the file
    EXPECT_FALSE(FindAppendedCabinet(withTrailer({}, 0xFFFFFFFFu)));
    EXPECT_FALSE(FindAppendedCabinet(std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(FindAppendedCabinet(std::vector<uint8_t>{}));
}

TEST(PrepareMediaFolder, AnExistingDescriptionSkipsTheUnpack) {
    TempFolder dir;
    StartupPaths p = FormStartupPaths(dir.path() + "Quell1");
    fs::create_directories(p.mediaFolder);
    std::ofstream(p.skinIniPath) << "";
    RecordingSink sink;
    int unpacks = 0;
    EXPECT_TRUE(PrepareMediaFolder(p, sink, [&](const StartupPaths&) { return ++unpacks, false; }));
    EXPECT_EQ(unpacks, 0);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(PrepareMediaFolder, UnpacksIntoANewOrExistingFolder) {
    for (bool folderExists : {false, true}) {
        SCOPED_TRACE(folderExists ? "folder exists" : "no folder");
        TempFolder dir;
        StartupPaths p = FormStartupPaths(dir.path() + "Quell1");
        if (folderExists) fs::create_directories(p.mediaFolder);
        RecordingSink sink;
        int unpacks = 0;
        EXPECT_TRUE(PrepareMediaFolder(p, sink, [&](const StartupPaths&) { return ++unpacks, true; }));
        EXPECT_EQ(unpacks, 1);
        EXPECT_TRUE(fs::is_directory(p.mediaFolder));
        EXPECT_TRUE(sink.messages.empty());
        // A failed unpack fails the start without a message.
        EXPECT_FALSE(PrepareMediaFolder(p, sink, [](const StartupPaths&) { return false; }));
        EXPECT_TRUE(sink.messages.empty());
    }
}

TEST(PrepareMediaFolder, ReportsAFolderThatCannotBeCreated) {
    TempFolder dir;
    StartupPaths p = FormStartupPaths(dir.path() + "missing/parent/Quell1");
    RecordingSink sink;
    int unpacks = 0;
    EXPECT_FALSE(PrepareMediaFolder(p, sink, [&](const StartupPaths&) { return ++unpacks, true; }));
    EXPECT_EQ(unpacks, 0);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], "ﾃﾞｨﾚｸﾄﾘを作ることができません｡");
}
