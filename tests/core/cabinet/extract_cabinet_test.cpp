#include "core/cabinet/extract_cabinet.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <memory>
#include <set>

#include "cab_writer.h"
#include "core/cabinet/posix_cabinet_io.h"
#include "core/text/text_codec.h"
#include "support/test_encoders.h"
#include "support/test_files.h"

namespace {

using namespace quell::cabinet;
using cabtest::file;
using cabtest::TempFolder;
using quellkit::cab::WriterFile;
using quellkit::cab::WriterFolder;

std::string makeCabinet(const TempFolder& t, std::vector<WriterFile> files,
                        std::shared_ptr<quellkit::cab::BlockEncoder> encoder = nullptr) {
    if (!encoder) encoder = std::make_shared<cabtest::FixedDeflateEncoder>();
    const std::string path = t / "in.cab";
    cabtest::writeBytes(path, quellkit::cab::WriteCabinet({WriterFolder{encoder, std::move(files)}}));
    return path;
}

struct stat statOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st;
}

TEST(ExtractCabinet, WritesEveryFileWithItsTimeAndReadOnlyAttribute) {
    TempFolder t;
    const auto a = cabtest::textData(70000, 1), b = cabtest::bitmapData(5000, 2);
    WriterFile ro = file("ro.txt", {'r', 'o'}, 0x21);
    ro.date = (2019 - 1980) << 9 | 7 << 5 | 14;  // 2019-07-14
    ro.time = 13 << 11 | 45 << 5 | 30 / 2;       // 13:45:30
    const std::string cab = makeCabinet(t, {file("a.txt", a), file("b.bmp", b, 0x66), ro});
    std::filesystem::create_directory(t / "out");
    ASSERT_TRUE(ExtractCabinet(cab, t / "out/"));
    EXPECT_EQ(cabtest::readBytes(t / "out/a.txt"), a);
    EXPECT_EQ(cabtest::readBytes(t / "out/b.bmp"), b);
    EXPECT_EQ(cabtest::readBytes(t / "out/ro.txt"), (std::vector<uint8_t>{'r', 'o'}));

    long long expected = 0;
    ASSERT_TRUE(DosDateTimeToEpoch(ro.date, ro.time, &expected));
    std::tm tm{};
    const std::time_t tt = static_cast<std::time_t>(expected);
    localtime_r(&tt, &tm);
    EXPECT_EQ(tm.tm_year + 1900, 2019);
    EXPECT_EQ(tm.tm_hour, 13);
    EXPECT_EQ(tm.tm_sec, 30);
    EXPECT_EQ(statOf(t / "out/ro.txt").st_mtime, expected);
    EXPECT_EQ(statOf(t / "out/ro.txt").st_mode & 0222, 0u);
    // Hidden, system and archive bits have no equivalent; the file stays writable.
    EXPECT_NE(statOf(t / "out/b.bmp").st_mode & S_IWUSR, 0u);
}

TEST(ExtractCabinet, ReplacesAnExistingFileWhole) {
    TempFolder t;
    const std::string cab = makeCabinet(t, {file("f.txt", {'n', 'e', 'w'})});
    cabtest::writeBytes(t / "f.txt", std::vector<uint8_t>(1000, 'o'));
    ASSERT_TRUE(ExtractCabinet(cab, t.path()));
    EXPECT_EQ(cabtest::readBytes(t / "f.txt"), (std::vector<uint8_t>{'n', 'e', 'w'}));
}

// Forwards to the POSIX table and notes each open it is asked for.
struct OpenRecord {
    std::string path;
    int flags = 0;
    int mode = 0;
};
std::vector<OpenRecord> g_opens;
FileHandle recordingOpen(const char* path, int flags, int mode) {
    g_opens.push_back({path, flags, mode});
    return PosixCabinetIo().open(path, flags, mode);
}

TEST(ExtractCabinet, OpensWithTheLowLevelLibrarysFlagValues) {
    TempFolder t;
    const std::string cab = makeCabinet(t, {file("f.txt", {'f'})});
    CabinetIo io = PosixCabinetIo();
    io.open = recordingOpen;
    g_opens.clear();
    CabinetError error;
    ASSERT_TRUE(ExtractCabinet(cab, t.path(), &error, io));
    ASSERT_EQ(g_opens.size(), 4u);
    // The header check, the reader's header and data handles, then the output
    // file: untranslated, create, truncate, sequential and write-only, read
    // and write for its owner.
    EXPECT_EQ(g_opens[0].flags, 0x8020);
    EXPECT_EQ(g_opens[0].mode, 0);
    for (size_t i : {1u, 2u}) {
        EXPECT_EQ(g_opens[i].path, cab);
        EXPECT_EQ(g_opens[i].flags, 0x8000);
        EXPECT_EQ(g_opens[i].mode, 0x0180);
    }
    EXPECT_EQ(g_opens[3].path, t / "f.txt");
    EXPECT_EQ(g_opens[3].flags, 0x8321);
    EXPECT_EQ(g_opens[3].mode, 0x0180);
    EXPECT_EQ(statOf(t / "f.txt").st_mode & 0600, 0600u);
}

TEST(ExtractCabinet, TranslatesOpenFlagsToRawModes) {
    struct Case {
        int flags, mode;
        quell::os::RawAccess access;
        bool create, truncate, noFollow;
        unsigned permissions;
    };
    using quell::os::RawAccess;
    const Case cases[] = {
        {0x8000, 0x0180, RawAccess::ReadOnly, false, false, false, 0666},
        {0x8020, 0, RawAccess::ReadOnly, false, false, false, 0},
        {0x8121, 0x0180, RawAccess::WriteOnly, true, false, true, 0666},
        {0x8321, 0x0100, RawAccess::WriteOnly, true, true, true, 0444},
        {0x8102, 0x0180, RawAccess::ReadWrite, true, false, true, 0666},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        const quell::os::RawOpenMode m = TranslateOpenFlags(c.flags, c.mode);
        EXPECT_EQ(m.access, c.access);
        EXPECT_EQ(m.create, c.create);
        EXPECT_EQ(m.truncate, c.truncate);
        EXPECT_EQ(m.noFollow, c.noFollow);
        EXPECT_EQ(m.permissions, c.permissions);
    }
}

TEST(ExtractCabinet, RefusesNamesThatLeaveTheDestination) {
    struct Case {
        std::string name;
        uint16_t attributes;
    };
    const std::vector<Case> cases = {
        {"../escape.txt", 0x20},
        {"sub/../../escape.txt", 0x20},
        {"..\\escape.txt", 0x20},
        {"/tmp/escape-abs.txt", 0x20},
        {"\\escape.txt", 0x20},
        {"C:\\escape.txt", 0x20},
        {std::string(300, 'l'), 0x20},
        // Code page 932 names: "表\..\..\escape.txt" (the trail byte of 表
        // is 0x5C) and "\背景\..\escape.txt".
        {"\x95\x5C\\..\\..\\escape.txt", 0x20},
        {"\\\x94\x77\x8C\x69\\..\\escape.txt", 0x20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder t;
        std::filesystem::create_directories(t / "out/sub");
        std::filesystem::create_directories(t / "out/\xE8\xA1\xA8");  // 表
        CabinetError error;
        const std::string cab =
            makeCabinet(t, {file("first.txt", {'1'}), file(c.name.substr(0, 255), {'x'}, c.attributes)});
        EXPECT_FALSE(ExtractCabinet(cab, t / "out/", &error));
        EXPECT_EQ(error.code, UserAbort);
        EXPECT_FALSE(cabtest::exists(t / "escape.txt"));
        EXPECT_FALSE(cabtest::exists("/tmp/escape-abs.txt"));
        // Files before the refused one stay, as with any failed file.
        EXPECT_TRUE(cabtest::exists(t / "out/first.txt"));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(t / "out"), {}), 3);
    }
}

TEST(ExtractCabinet, OutputPathsAreCheckedBeforeUse) {
    struct Case {
        std::string stored;
        uint16_t attributes;
        std::string path;
    };
    // あ is 82 A0 in code page 932 and three bytes in UTF-8.
    std::string cp932A, utf8A;
    for (int i = 0; i < 85; ++i) cp932A += "\x82\xA0", utf8A += "\xE3\x81\x82";
    const std::vector<Case> cases = {
        {"a\\b.txt", 0, "/d/a/b.txt"},
        {"..a", 0, "/d/..a"},
        {"", 0, ""},
        {"dir\\", 0, ""},
        {std::string(256, 'x'), 0, "/d/" + std::string(256, 'x')},
        {std::string(257, 'x'), 0, ""},
        // The limit counts the UTF-8 bytes written, not the stored bytes.
        {cp932A, 0, "/d/" + utf8A},
        {cp932A + "\x82\xA0", 0, ""},
        {"\x95\x5C..\\a", 0, "/d/\xE8\xA1\xA8../a"},  // 表..\a: no ".." component
        {"\xE8\xA1\xA8\\a", 0xA0, "/d/\xE8\xA1\xA8/a"},
        // Names marked UTF-8 that are not: each ill-formed part becomes U+FFFD.
        {"\xE8\xA1", 0x80, "/d/\xEF\xBF\xBD"},
        {"a\xC0\xAF.txt", 0x80, "/d/a\xEF\xBF\xBD\xEF\xBF\xBD.txt"},  // an overlong '/' stays no separator
        {"\x80\xA0", 0, "/d/\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(OutputPathFor("/d/", c.stored.c_str(), c.attributes), c.path);
    }
}

TEST(ExtractCabinet, WritesStoredNamesInUtf8) {
    TempFolder t;
    WriterFile readOnly = file("\x95\x5C\x8E\x86.txt", {'2'}, 0x21);  // 表紙.txt, code page 932
    readOnly.date = (2019 - 1980) << 9 | 7 << 5 | 14;
    const std::string cab = makeCabinet(t, {file("\x94\x77\x8C\x69.bmp", {'1'}),  // 背景.bmp, code page 932
                                            readOnly, file("\xE7\x94\xBB.gif", {'3'}, 0xA0),  // 画.gif, UTF-8
                                            file("plain.txt", {'4'})});
    std::filesystem::create_directory(t / "out");
    ASSERT_TRUE(ExtractCabinet(cab, t / "out/"));
    EXPECT_EQ(cabtest::readBytes(t / "out/\xE8\x83\x8C\xE6\x99\xAF.bmp"), (std::vector<uint8_t>{'1'}));
    EXPECT_EQ(cabtest::readBytes(t / "out/\xE8\xA1\xA8\xE7\xB4\x99.txt"), (std::vector<uint8_t>{'2'}));
    EXPECT_EQ(cabtest::readBytes(t / "out/\xE7\x94\xBB.gif"), (std::vector<uint8_t>{'3'}));
    EXPECT_EQ(cabtest::readBytes(t / "out/plain.txt"), (std::vector<uint8_t>{'4'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(t / "out"), {}), 4);
    // The end of a file finds it under the same name: its time and attribute are set.
    long long expected = 0;
    ASSERT_TRUE(DosDateTimeToEpoch(readOnly.date, readOnly.time, &expected));
    EXPECT_EQ(statOf(t / "out/\xE8\xA1\xA8\xE7\xB4\x99.txt").st_mtime, expected);
    EXPECT_EQ(statOf(t / "out/\xE8\xA1\xA8\xE7\xB4\x99.txt").st_mode & 0222, 0u);
}

TEST(ExtractCabinet, WritesTheShiftJisNamesOfAnExternalCabinetInUtf8) {
    if (!cabtest::haveCorpora()) GTEST_SKIP() << "corpora missing";
    // The names as code page 932 reads them; the last holds ソ, whose trail byte is 0x5C.
    const std::set<std::string> names = {
        "猿も木から落ちる",
        "虎穴に入らずんば虎子を得ず",
        "この父にしてこの子あり",
        "｡｢｣､･ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ",
        "あいうえおかきくけこざしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん",
        "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン",
    };
    TempFolder t;
    ASSERT_TRUE(ExtractCabinet(cabtest::corporaPath("cab/libmspack/cabextract/test/cabs/encoding-sjis.cab"), t.path()));
    std::set<std::string> written;
    for (const auto& entry : std::filesystem::directory_iterator(t.path())) written.insert(entry.path().filename());
    EXPECT_EQ(written, names);
}

TEST(ExtractCabinet, ExtractsNamesMarkedUtf8ThatAreNotAsCabextractDoes) {
    if (!cabtest::haveCorpora() || !cabtest::haveTool("cabextract")) GTEST_SKIP() << "corpora or cabextract missing";
    // 79 names, many of them ill-formed. Once repaired several are the same
    // name and the last file of a name is the one left; the tools repair
    // some names differently (cabextract also replaces U+FFFE and U+FFFF),
    // so the names themselves are not compared.
    TempFolder ours, theirs;
    {
        // Marked UTF-8 but the code page 932 bytes of 背景.txt: written all the same.
        TempFolder t;
        std::filesystem::create_directory(t / "out");
        ASSERT_TRUE(ExtractCabinet(makeCabinet(t, {file("\x94\x77\x8C\x69.txt", {'x'}, 0xA0)}), t / "out/"));
        EXPECT_EQ(cabtest::readBytes(t / "out/\xEF\xBF\xBDw\xEF\xBF\xBDi.txt"), std::vector<uint8_t>{'x'});
    }
    const std::string cab = cabtest::corporaPath("cab/libmspack/cabextract/test/cabs/utf8-stresstest.cab");
    ASSERT_TRUE(ExtractCabinet(cab, ours.path()));
    ASSERT_EQ(cabtest::runCommand("cabextract -q -d '" + theirs.path() + "' '" + cab + "' >/dev/null 2>&1"), 0);
    auto contents = [](const std::string& folder) {
        std::set<std::vector<uint8_t>> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            EXPECT_TRUE(quell::text::isValidUtf8(entry.path().filename().string()));
            found.insert(cabtest::readBytes(entry.path()));
        }
        return found;
    };
    EXPECT_EQ(contents(ours.path()), contents(theirs.path()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(ours.path()), {}), 27);
}

TEST(ExtractCabinet, WritesIntoExistingSubfoldersOnly) {
    TempFolder t;
    const std::string cab = makeCabinet(t, {file("sub\\in.txt", {'s'})});
    EXPECT_FALSE(ExtractCabinet(cab, t / "out/"));  // no destination folder at all
    std::filesystem::create_directory(t / "out");
    EXPECT_FALSE(ExtractCabinet(cab, t / "out/"));  // no sub/
    std::filesystem::create_directory(t / "out/sub");
    ASSERT_TRUE(ExtractCabinet(cab, t / "out/"));
    EXPECT_EQ(cabtest::readBytes(t / "out/sub/in.txt"), (std::vector<uint8_t>{'s'}));
}

TEST(ExtractCabinet, DoesNotFollowALinkPlantedAtAName) {
    TempFolder t;
    cabtest::writeBytes(t / "victim", {'v'});
    std::filesystem::create_directory(t / "out");
    ASSERT_EQ(::symlink((t / "victim").c_str(), (t / "out/f.txt").c_str()), 0);
    const std::string cab = makeCabinet(t, {file("f.txt", {'x', 'y'})});
    EXPECT_FALSE(ExtractCabinet(cab, t / "out/"));
    EXPECT_EQ(cabtest::readBytes(t / "victim"), (std::vector<uint8_t>{'v'}));
}

TEST(ExtractCabinet, AReadOnlyFileFromAnEarlierRunFailsTheNextRun) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes read-only files anyway";
    TempFolder t;
    const std::string cab = makeCabinet(t, {file("ro", {'r'}, 0x01)});
    ASSERT_TRUE(ExtractCabinet(cab, t.path()));
    EXPECT_FALSE(ExtractCabinet(cab, t.path()));
}

TEST(ExtractCabinet, FailsWithoutACabinet) {
    TempFolder t;
    cabtest::writeBytes(t / "not.cab", cabtest::textData(100, 1));
    CabinetError error;
    EXPECT_FALSE(ExtractCabinet(t / "not.cab", t.path(), &error));
    EXPECT_FALSE(error.failed);
    EXPECT_FALSE(ExtractCabinet(t / "absent.cab", t.path(), &error));
}

TEST(ExtractCabinet, LooksUpACabinetWithoutFolderInTheCurrentDirectory) {
    TempFolder t;
    makeCabinet(t, {file("c.txt", {'c'})});
    std::filesystem::create_directory(t / "out");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(t.path());
    const bool ok = ExtractCabinet("in.cab", t / "out/");
    std::filesystem::current_path(previous);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(cabtest::exists(t / "out/c.txt"));
}

TEST(ExtractCabinet, SplitsACabinetPathIntoFolderAndName) {
    struct Case {
        const char* path;
        const char* folder;
        const char* name;
    };
    const Case cases[] = {
        {"a.cab", "", "a.cab"},   {"/tmp/a.cab", "/tmp/", "a.cab"}, {"rel/sub/a.cab", "rel/sub/", "a.cab"},
        {"/a.cab", "/", "a.cab"}, {"/tmp/", "/tmp/", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const CabinetLocation location = SplitCabinetPath(c.path);
        EXPECT_EQ(location.folder, c.folder);
        EXPECT_EQ(location.name, c.name);
    }
}

TEST(ExtractCabinet, RejectsImpossibleDosDates) {
    long long s = 0;
    EXPECT_FALSE(DosDateTimeToEpoch(0, 0, &s));                          // month 0
    EXPECT_FALSE(DosDateTimeToEpoch((40 << 9) | (2 << 5) | 31, 0, &s));  // 31 February
    EXPECT_FALSE(DosDateTimeToEpoch((40 << 9) | (1 << 5) | 1, 24 << 11, &s));
    EXPECT_TRUE(DosDateTimeToEpoch((40 << 9) | (2 << 5) | 29, 0, &s));  // 2020-02-29
}

// Standard tools as a second opinion.

void expectSameAsCabextract(const std::string& cab, const std::vector<std::string>& names) {
    TempFolder ours, theirs;
    ASSERT_TRUE(ExtractCabinet(cab, ours.path()));
    ASSERT_EQ(cabtest::runCommand("cabextract -q -d '" + theirs.path() + "' '" + cab + "' >/dev/null 2>&1"), 0);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const auto mine = cabtest::readBytes(ours / name);
        EXPECT_TRUE(mine == cabtest::readBytes(theirs / name));
        EXPECT_EQ(statOf(ours / name).st_mtime, statOf(theirs / name).st_mtime);
    }
}

TEST(ExtractCabinet, MatchesCabextractOnOurCabinets) {
    if (!cabtest::haveTool("cabextract")) GTEST_SKIP() << "cabextract not installed";
    struct Case {
        const char* name;
        std::shared_ptr<quellkit::cab::BlockEncoder> encoder;
    };
    const std::vector<Case> cases = {
        {"fixed-Huffman MSZIP", std::make_shared<cabtest::FixedDeflateEncoder>()},
        {"Quantum 2^10", std::make_shared<cabtest::QuantumTestEncoder>(10)},
        {"Quantum 2^16", std::make_shared<cabtest::QuantumTestEncoder>(16)},
        {"Quantum 2^21", std::make_shared<cabtest::QuantumTestEncoder>(21)},
        {"stored", std::make_shared<quellkit::cab::StoredEncoder>()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder t;
        const std::string cab = makeCabinet(
            t,
            {file("text.ini", cabtest::textData(100000, 1)), file("frame.bmp", cabtest::bitmapData(120000, 2)),
             file("noise.bin", cabtest::noiseData(20000, 3)), file("empty", {})},
            c.encoder);
        expectSameAsCabextract(cab, {"text.ini", "frame.bmp", "noise.bin", "empty"});
    }
}

TEST(ExtractCabinet, MatchesCabextractOnCabinetsMadeByGcab) {
    if (!cabtest::haveTool("cabextract") || !cabtest::haveTool("gcab")) GTEST_SKIP() << "cabextract or gcab missing";
    TempFolder t;
    std::filesystem::create_directory(t / "src");
    cabtest::writeBytes(t / "src/text.ini", cabtest::textData(200000, 4));
    cabtest::writeBytes(t / "src/frame.bmp", cabtest::bitmapData(150000, 5));
    cabtest::writeBytes(t / "src/noise.bin", cabtest::noiseData(70000, 6));
    ASSERT_EQ(cabtest::runCommand("cd '" + t.path() + "src' && gcab -c -z -n ../g.cab text.ini frame.bmp noise.bin"),
              0);
    expectSameAsCabextract(t / "g.cab", {"text.ini", "frame.bmp", "noise.bin"});
}

TEST(ExtractCabinet, MatchesCabextractOnExternalCabinetsAndSets) {
    if (!cabtest::haveCorpora() || !cabtest::haveTool("cabextract")) GTEST_SKIP() << "corpora or cabextract missing";
    struct Case {
        const char* path;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases = {
        {"gcab/tests/test-mszip.cab", {"test.sh", "test.txt"}},
        {"gcab/tests/test-signed.cab", {"test.sh", "test.txt"}},
        {"libmspack/cabextract/test/bugs/cve-2010-2801-qtm-flush.cab", {"zeroes"}},
        {"libmspack/libmspack/test/test_files/cabd/reserve_HFD.cab", {"test1.txt", "test2.txt"}},
        {"python-cabarchive/data/compressed.cab", {"test.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        expectSameAsCabextract(cabtest::corporaPath(std::string("cab/") + c.path), c.names);
    }
    // The sets' headers name their parts "Split-N.CAB" and
    // "cabd_multi_basic_ptN.cab"; copies under those names make the set whole.
    TempFolder t;
    for (int n = 1; n <= 5; ++n) {
        std::filesystem::copy_file(
            cabtest::corporaPath("cab/libmspack/cabextract/test/cabs/split-" + std::to_string(n) + ".cab"),
            t / ("Split-" + std::to_string(n) + ".CAB"));
        std::filesystem::copy_file(cabtest::corporaPath("cab/libmspack/libmspack/test/test_files/cabd/multi_basic_pt" +
                                                        std::to_string(n) + ".cab"),
                                   t / ("cabd_multi_basic_pt" + std::to_string(n) + ".cab"));
    }
    expectSameAsCabextract(t / "Split-1.CAB",
                           {"small1.bin", "small2.bin", "small3.bin", "medium1.bin", "medium2.bin", "medium3.bin"});
    expectSameAsCabextract(t / "cabd_multi_basic_pt1.cab", {"test1.txt", "test2.txt", "test3.txt"});
}

}  // namespace
