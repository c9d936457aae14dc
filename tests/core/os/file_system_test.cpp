#include "core/os/file_system.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace quell::os;

TEST(ResolveCaseInsensitive, FindsEachComponentWithoutRegardToCase) {
    char pattern[] = "/tmp/quell-fs-XXXXXX";
    std::string root = mkdtemp(pattern);
    fs::create_directories(root + "/Media/Sub");
    std::ofstream(root + "/Media/Sub/Button-1.BMP") << "x";
    std::ofstream(root + "/Media/exact.wav") << "x";

    EXPECT_EQ(resolveCaseInsensitive(root + "/Media/", "sub\\button-1.bmp"), root + "/Media/Sub/Button-1.BMP");
    EXPECT_EQ(resolveCaseInsensitive(root + "/Media", "SUB/BUTTON-1.BMP"), root + "/Media/Sub/Button-1.BMP");
    EXPECT_EQ(resolveCaseInsensitive(root + "/Media/", "exact.wav"), root + "/Media/exact.wav");
    // Nothing matches: the name comes back joined as given, with '/' separators.
    EXPECT_EQ(resolveCaseInsensitive(root + "/Media/", "Sub\\none.bmp"), root + "/Media/Sub/none.bmp");
    fs::remove_all(root);
}

// Files of exactly the cap and one byte more are holes past their first
// bytes, so the test writes next to nothing to disk.
TEST(ReadFileCapped, ReadsUpToTheCapAndNoFurther) {
    char pattern[] = "/tmp/quell-fs-XXXXXX";
    const std::string root = mkdtemp(pattern);
    const size_t cap = kMaxTextFileBytes;
    std::ofstream(root + "/at-cap") << "[";
    fs::resize_file(root + "/at-cap", cap);
    std::ofstream(root + "/past-cap") << "[";
    fs::resize_file(root + "/past-cap", cap + 1);
    fs::create_symlink("/dev/zero", root + "/endless");
    fs::create_directory(root + "/folder");

    struct Case {
        const char* name;
        CappedRead result;
        size_t size;
    };
    const Case cases[] = {
        {"at-cap", CappedRead::Read, cap},      {"past-cap", CappedRead::TooLong, 0},
        {"endless", CappedRead::TooLong, 0},    {"folder", CappedRead::CannotRead, 0},
        {"missing", CappedRead::CannotRead, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = {1, 2, 3};
        EXPECT_EQ(readFileCapped(root + "/" + c.name, cap, bytes), c.result);
        EXPECT_EQ(bytes.size(), c.size);
    }
    fs::remove_all(root);
}
