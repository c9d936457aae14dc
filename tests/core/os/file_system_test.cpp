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
