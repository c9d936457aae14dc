// quellkit's cab and skin pack subcommands, run as a user runs them.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "support/test_files.h"

#ifdef QUELLKIT_PATH

namespace {

using cabtest::TempFolder;

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

ToolRun quellkit(const TempFolder& t, const std::string& args) {
    ToolRun r;
    r.status = cabtest::runCommand(std::string(QUELLKIT_PATH) + " " + args + " >'" + t.path() + "stdout' 2>'" +
                                   t.path() + "stderr'");
    auto out = cabtest::readBytes(t / "stdout");
    auto err = cabtest::readBytes(t / "stderr");
    r.out.assign(out.begin(), out.end());
    r.err.assign(err.begin(), err.end());
    return r;
}

TEST(QuellkitCab, MakeListAndExtractRoundTrip) {
    TempFolder t;
    std::filesystem::create_directory(t / "src");
    const auto text = cabtest::textData(90000, 1), bitmap = cabtest::bitmapData(80000, 2);
    cabtest::writeBytes(t / "src/a.ini", text);
    cabtest::writeBytes(t / "src/b.bmp", bitmap);
    ::chmod((t / "src/b.bmp").c_str(), 0444);
    for (const char* mode : {"", "--stored "}) {
        SCOPED_TRACE(mode);
        ToolRun make = quellkit(t, std::string("cab make ") + mode + t.path() + "x.cab " + t.path() + "src/a.ini " +
                                       t.path() + "src/b.bmp");
        ASSERT_EQ(make.status, 0) << make.err;
        ToolRun list = quellkit(t, "cab list " + t.path() + "x.cab");
        ASSERT_EQ(list.status, 0) << list.err;
        // "<size> <date> <time> <attributes> <name>", one line per file in table order.
        std::vector<std::string> lines;
        std::istringstream listed(list.out);
        for (std::string line; std::getline(listed, line);) lines.push_back(line);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].substr(0, 6), "90000 ");
        EXPECT_EQ(lines[0].substr(lines[0].size() - 9), " 20 a.ini");
        EXPECT_EQ(lines[1].substr(lines[1].size() - 9), " 21 b.bmp");
        EXPECT_EQ(lines[0][10], '-');
        EXPECT_EQ(lines[0][19], ':');

        std::filesystem::remove_all(t / "out");
        std::filesystem::create_directory(t / "out");
        ToolRun extract = quellkit(t, "cab extract " + t.path() + "x.cab " + t.path() + "out");
        ASSERT_EQ(extract.status, 0) << extract.err;
        EXPECT_TRUE(cabtest::readBytes(t / "out/a.ini") == text);
        EXPECT_TRUE(cabtest::readBytes(t / "out/b.bmp") == bitmap);
        if (cabtest::haveTool("cabextract")) {
            EXPECT_EQ(cabtest::runCommand("cabextract -t -q " + t.path() + "x.cab >/dev/null 2>&1"), 0);
        }
    }
}

TEST(QuellkitCab, StoresNonAsciiNamesAsMarkedUtf8) {
    TempFolder t;
    std::filesystem::create_directory(t / "src");
    cabtest::writeBytes(t / "src/\xE8\x83\x8C\xE6\x99\xAF.bmp", {'b'});  // 背景.bmp
    cabtest::writeBytes(t / "src/plain.txt", {'p'});
    ToolRun make = quellkit(t, "cab make " + t.path() + "x.cab " + t.path() + "src/\xE8\x83\x8C\xE6\x99\xAF.bmp " +
                                   t.path() + "src/plain.txt");
    ASSERT_EQ(make.status, 0) << make.err;
    // The attribute column shows the UTF-8 mark (80) on the non-ASCII name only.
    ToolRun list = quellkit(t, "cab list " + t.path() + "x.cab");
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find(" a0 \xE8\x83\x8C\xE6\x99\xAF.bmp\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find(" 20 plain.txt\n"), std::string::npos) << list.out;
    if (cabtest::haveTool("cabextract")) {
        ASSERT_EQ(cabtest::runCommand("cabextract -l " + t.path() + "x.cab >" + t.path() + "oracle 2>&1"), 0);
        const auto oracle = cabtest::readBytes(t / "oracle");
        EXPECT_NE(std::string(oracle.begin(), oracle.end()).find("| \xE8\x83\x8C\xE6\x99\xAF.bmp\n"),
                  std::string::npos);
    }
    if (cabtest::haveCorpora()) {
        ToolRun sjis =
            quellkit(t, "cab list " + cabtest::corporaPath("cab/libmspack/cabextract/test/cabs/encoding-sjis.cab"));
        ASSERT_EQ(sjis.status, 0) << sjis.err;
        EXPECT_NE(sjis.out.find(" 20 この父にしてこの子あり\n"), std::string::npos) << sjis.out;
    }
}

TEST(QuellkitCab, RefusesANameThatIsNotUtf8) {
    TempFolder t;
    cabtest::writeBytes(t / "\x94\x77.bmp", {'b'});
    ToolRun make = quellkit(t, "cab make " + t.path() + "x.cab " + t.path() + "\x94\x77.bmp");
    EXPECT_EQ(make.status, 1);
    EXPECT_EQ(make.err, "error: name is not UTF-8: \x94\x77.bmp\n");
}

TEST(QuellkitCab, ReportsTheReaderError) {
    TempFolder t;
    cabtest::writeBytes(t / "bad.cab", cabtest::textData(100, 1));
    ToolRun list = quellkit(t, "cab list " + t.path() + "bad.cab");
    EXPECT_EQ(list.status, 1);
    EXPECT_EQ(list.err, "error: NotACabinet (2)\n");
    std::vector<uint8_t> v(40, 0);
    v[0] = 'M', v[1] = 'S', v[2] = 'C', v[3] = 'F', v[24] = 4, v[25] = 1;
    cabtest::writeBytes(t / "v.cab", v);
    ToolRun version = quellkit(t, "cab extract " + t.path() + "v.cab " + t.path());
    EXPECT_EQ(version.status, 1);
    EXPECT_EQ(version.err, "error: UnknownVersion (3)\n");
    ToolRun missing = quellkit(t, "cab extract " + t.path() + "none.cab " + t.path());
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "error: extraction failed\n");
}

TEST(QuellkitSkinPack, AppendsTheCabinetAndNamesTheProgramAfterTheSkin) {
    TempFolder t;
    std::filesystem::create_directories(t / "skin");
    std::filesystem::create_directories(t / "dist");
    cabtest::writeBytes(t / "skin/Quell1.ini", cabtest::textData(500, 1));
    cabtest::writeBytes(t / "skin/\xE8\x83\x8C\xE6\x99\xAF.bmp", cabtest::bitmapData(40000, 2));  // 背景.bmp
    const auto image = cabtest::noiseData(3000, 3);
    cabtest::writeBytes(t / "prog", image);
    ::chmod((t / "prog").c_str(), 0755);

    ToolRun pack = quellkit(t, "skin pack --force " + t.path() + "skin " + t.path() + "prog " + t.path() + "dist");
    ASSERT_EQ(pack.status, 0) << pack.err;
    const auto packed = cabtest::readBytes(t / "dist/Quell1");
    ASSERT_GT(packed.size(), image.size() + 40);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), packed.begin()));
    const size_t n = packed[packed.size() - 4] | packed[packed.size() - 3] << 8 | packed[packed.size() - 2] << 16 |
                     static_cast<size_t>(packed[packed.size() - 1]) << 24;
    EXPECT_EQ(image.size() + n + 4, packed.size());
    EXPECT_EQ(std::string(packed.begin() + static_cast<long>(image.size()),
                          packed.begin() + static_cast<long>(image.size()) + 4),
              "MSCF");
    cabtest::writeBytes(t / "packed.cab",
                        std::vector<uint8_t>(packed.begin() + static_cast<long>(image.size()), packed.end() - 4));
    ToolRun list = quellkit(t, "cab list " + t.path() + "packed.cab");
    EXPECT_NE(list.out.find(" a0 \xE8\x83\x8C\xE6\x99\xAF.bmp\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find(" 20 Quell1.ini\n"), std::string::npos) << list.out;
    struct stat st {};
    ::stat((t / "dist/Quell1").c_str(), &st);
    EXPECT_NE(st.st_mode & S_IXUSR, 0u);

    ToolRun other =
        quellkit(t, "skin pack " + t.path() + "skin " + t.path() + "prog " + t.path() + "dist/Other --force");
    EXPECT_EQ(other.status, 0);
    EXPECT_NE(other.err.find("warning"), std::string::npos);
    EXPECT_TRUE(cabtest::exists(t / "dist/Other"));

    cabtest::writeBytes(t / "skin/Second.ini", {'x'});
    ToolRun two = quellkit(t, "skin pack --force " + t.path() + "skin " + t.path() + "prog " + t.path() + "dist");
    EXPECT_EQ(two.status, 1);
}

TEST(QuellkitSkinPack, RefusesASkinWithErrorsUnlessForced) {
    TempFolder t;
    std::filesystem::create_directories(t / "skin/sources");
    cabtest::writeBytes(t / "skin/Quell1.ini", cabtest::textData(500, 1));
    cabtest::writeBytes(t / "prog", cabtest::noiseData(3000, 3));
    const std::string args = t.path() + "skin " + t.path() + "prog " + t.path() + "Quell1";
    ToolRun refused = quellkit(t, "skin pack " + args);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("error: sources: is a sub-folder"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("error(s), listed above; --force packs it"), std::string::npos) << refused.err;
    EXPECT_FALSE(cabtest::exists(t / "Quell1"));
    ToolRun forced = quellkit(t, "skin pack " + args + " --force");
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_TRUE(cabtest::exists(t / "Quell1"));
}

}  // namespace

#endif
