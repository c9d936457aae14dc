#include "core/startup/unpack_appended_skin.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "cab_writer.h"
#include "support/test_encoders.h"
#include "support/test_files.h"

namespace {

using cabtest::TempFolder;
using quell::startup::StartupPaths;
using quell::startup::UnpackAppendedSkin;

std::vector<uint8_t> skinCabinet() {
    quellkit::cab::WriterFolder folder;
    folder.encoder = std::make_shared<cabtest::FixedDeflateEncoder>();
    for (const char* name : {"Quell1.ini", "Quell1.bmp", "Quell1.dat"})
        folder.files.push_back(cabtest::file(name, cabtest::textData(3000, 10)));
    return quellkit::cab::WriteCabinet({folder});
}

std::vector<uint8_t> program(const std::vector<uint8_t>& cabinet, uint32_t trailer) {
    std::vector<uint8_t> bytes = cabtest::noiseData(5000, 9);
    bytes.insert(bytes.end(), cabinet.begin(), cabinet.end());
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(trailer >> (8 * i)));
    return bytes;
}

StartupPaths pathsIn(const TempFolder& t) {
    StartupPaths p;
    p.modulePath = t / "Quell1";
    p.executableFolder = t.path();
    p.stem = "Quell1";
    p.baseFolder = t.path();
    p.mediaFolder = t / "Media/";
    p.skinIniPath = t / "Media/Quell1.ini";
    p.tempCabinetPath = t / "kest.tmp";
    std::filesystem::create_directory(p.mediaFolder);
    return p;
}

TEST(UnpackAppendedSkin, UnpacksTheCabinetBeforeTheTrailerAndRemovesTheTemporaryFile) {
    TempFolder t;
    const StartupPaths p = pathsIn(t);
    const auto cabinet = skinCabinet();
    cabtest::writeBytes(p.modulePath, program(cabinet, static_cast<uint32_t>(cabinet.size())));
    ASSERT_TRUE(UnpackAppendedSkin(p));
    EXPECT_TRUE(cabtest::exists(p.skinIniPath));
    EXPECT_TRUE(cabtest::exists(t / "Media/Quell1.dat"));
    EXPECT_FALSE(cabtest::exists(p.tempCabinetPath));
}

TEST(UnpackAppendedSkin, FailsCleanlyOnEveryBadPackage) {
    const auto cabinet = skinCabinet();
    auto corrupt = cabinet;
    corrupt[corrupt.size() - 10] ^= 0xFF;
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const std::vector<Case> cases = {
        {"trailer longer than the file", program(cabinet, 0xFFFFFFF0u)},
        {"trailer one past the start", program(cabinet, 5000 + static_cast<uint32_t>(cabinet.size()) + 1)},
        {"no cabinet in front of the trailer", program({}, 0)},
        {"damaged cabinet", program(corrupt, static_cast<uint32_t>(corrupt.size()))},
        {"file shorter than a trailer", {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder t;
        const StartupPaths p = pathsIn(t);
        cabtest::writeBytes(p.modulePath, c.bytes);
        EXPECT_FALSE(UnpackAppendedSkin(p));
        EXPECT_FALSE(cabtest::exists(p.tempCabinetPath));
    }
    TempFolder t;
    EXPECT_FALSE(UnpackAppendedSkin(pathsIn(t)));  // no executable at all
}

// A read that ends 10 bytes early, as when the file is cut short while
// start-up reads it.
long readEndingEarly(int fd, void* buffer, size_t count) {
    const off_t at = ::lseek(fd, 0, SEEK_CUR);
    const off_t end = ::lseek(fd, 0, SEEK_END) - 10;
    ::lseek(fd, at, SEEK_SET);
    if (at >= end) return 0;
    return static_cast<long>(::read(fd, buffer, std::min<size_t>(count, static_cast<size_t>(end - at))));
}

TEST(UnpackAppendedSkin, AShortReadOfTheProgramFailsTheUnpack) {
    TempFolder t;
    const StartupPaths p = pathsIn(t);
    // The whole file is a cabinet with a trailer, six spare bytes and a
    // trailer over all of them. A read cut 10 bytes short ends at the inner
    // trailer and would otherwise unpack what it got as a whole package.
    const auto cabinet = skinCabinet();
    std::vector<uint8_t> inner = cabinet;
    for (int i = 0; i < 4; ++i) inner.push_back(static_cast<uint8_t>(cabinet.size() >> (8 * i)));
    inner.insert(inner.end(), 6, 0);
    cabtest::writeBytes(p.modulePath, program(inner, static_cast<uint32_t>(inner.size())));
    EXPECT_FALSE(UnpackAppendedSkin(p, readEndingEarly));
    EXPECT_FALSE(cabtest::exists(p.tempCabinetPath));
    EXPECT_FALSE(cabtest::exists(p.skinIniPath));
    EXPECT_TRUE(UnpackAppendedSkin(p));
}

TEST(UnpackAppendedSkin, ReplacesALinkPlantedAtTheTemporaryName) {
    TempFolder t;
    const StartupPaths p = pathsIn(t);
    const auto cabinet = skinCabinet();
    cabtest::writeBytes(p.modulePath, program(cabinet, static_cast<uint32_t>(cabinet.size())));
    cabtest::writeBytes(t / "victim", {'v'});
    ASSERT_EQ(::symlink((t / "victim").c_str(), p.tempCabinetPath.c_str()), 0);
    ASSERT_TRUE(UnpackAppendedSkin(p));
    EXPECT_EQ(cabtest::readBytes(t / "victim"), (std::vector<uint8_t>{'v'}));
    EXPECT_FALSE(cabtest::exists(p.tempCabinetPath));
}

TEST(UnpackAppendedSkin, AWriteThatFailsAfterCreationLeavesNoTemporaryFile) {
    TempFolder t;
    const StartupPaths p = pathsIn(t);
    const auto cabinet = skinCabinet();
    cabtest::writeBytes(p.modulePath, program(cabinet, static_cast<uint32_t>(cabinet.size())));
    // A child process whose files may not grow past 100 bytes stands in for a full disk.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {
            100, 100
        };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(UnpackAppendedSkin(p) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_FALSE(cabtest::exists(p.tempCabinetPath));
    EXPECT_FALSE(cabtest::exists(p.skinIniPath));
}

}  // namespace
