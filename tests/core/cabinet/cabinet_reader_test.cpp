#include "core/cabinet/cabinet_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "cab_writer.h"
#include "core/cabinet/checksum.h"
#include "support/memory_io.h"
#include "support/recording_notify.h"
#include "support/test_encoders.h"
#include "support/test_files.h"

namespace {

using namespace quell::cabinet;
using cabtest::file;
using cabtest::memoryFs;
using cabtest::Recorder;
using quellkit::cab::StoredEncoder;
using quellkit::cab::WriterFile;
using quellkit::cab::WriterFolder;
using quellkit::cab::WriterOptions;

WriterFolder folder(std::shared_ptr<quellkit::cab::BlockEncoder> encoder, std::vector<WriterFile> files) {
    return WriterFolder{std::move(encoder), std::move(files)};
}

std::shared_ptr<StoredEncoder> stored() { return std::make_shared<StoredEncoder>(); }
std::shared_ptr<cabtest::FixedDeflateEncoder> mszip() { return std::make_shared<cabtest::FixedDeflateEncoder>(); }
std::shared_ptr<cabtest::QuantumTestEncoder> quantum(unsigned bits) {
    return std::make_shared<cabtest::QuantumTestEncoder>(bits);
}

uint16_t le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }
uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return le16(b, at) | static_cast<uint32_t>(le16(b, at + 2)) << 16;
}
void set16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

struct Outcome {
    bool ok = false;
    CabinetError error;
    Recorder recorder;
};

class CabinetReaderTest : public ::testing::Test {
protected:
    void SetUp() override { cabtest::resetMemoryFs(); }
    void TearDown() override {
        // Whatever happened, the reader let go of every handle and block.
        EXPECT_EQ(memoryFs().openHandles, 0);
        EXPECT_EQ(memoryFs().liveAllocations, 0);
    }

    void put(const std::string& name, std::vector<uint8_t> bytes) { memoryFs().files["/c/" + name] = std::move(bytes); }

    Outcome copy(const std::string& name = "a.cab",
                 std::function<intptr_t(NotificationKind, CabinetNotification&)> answer = nullptr) {
        Outcome o;
        o.recorder.answer = std::move(answer);
        CabinetContext* context = Create(cabtest::memoryIo(), 1, &o.error);
        EXPECT_NE(context, nullptr);
        if (!context) return o;
        o.ok = Copy(context, name.c_str(), "/c/", 0, cabtest::recordNotification, nullptr, &o.recorder);
        EXPECT_TRUE(Destroy(context));
        return o;
    }

    // IsCabinet on one file of the memory file system, and the error the context reports.
    std::pair<bool, CabinetError> isCabinet(const std::string& name, CabinetSummary* summary) {
        std::pair<bool, CabinetError> result;
        CabinetContext* context = Create(cabtest::memoryIo(), 1, &result.second);
        FileHandle h = cabtest::memoryIo().open(("/c/" + name).c_str(), 0, 0);
        result.first = IsCabinet(context, h, summary);
        cabtest::memoryIo().close(h);
        Destroy(context);
        return result;
    }

    void expectFailure(const Outcome& o, int32_t code) {
        EXPECT_FALSE(o.ok);
        EXPECT_TRUE(o.error.failed);
        EXPECT_EQ(o.error.code, code) << CabinetErrorName(o.error.code);
    }
};

TEST_F(CabinetReaderTest, NotifiesInTableOrderAndDeliversEveryFile) {
    const auto a = cabtest::textData(50000, 1), b = cabtest::bitmapData(40000, 2), c = cabtest::noiseData(100, 3);
    WriterFile run = file("run.exe", c, 0x61);
    run.date = 0x3A6C;
    run.time = 0x5B2E;
    put("a.cab",
        quellkit::cab::WriteCabinet({folder(mszip(), {file("a.txt", a), file("b.bmp", b)}), folder(stored(), {run})}));
    Outcome o = copy();
    ASSERT_TRUE(o.ok) << CabinetErrorName(o.error.code);
    EXPECT_FALSE(o.error.failed);
    EXPECT_EQ(o.recorder.kinds(), (std::vector<NotificationKind>{CabinetOpened, FileBegin, FileEnd, FileBegin, FileEnd,
                                                                 FileBegin, FileEnd}));
    ASSERT_EQ(o.recorder.files.size(), 3u);
    EXPECT_EQ(o.recorder.files[0], std::make_pair(std::string("a.txt"), a));
    EXPECT_EQ(o.recorder.files[1], std::make_pair(std::string("b.bmp"), b));
    EXPECT_EQ(o.recorder.files[2], std::make_pair(std::string("run.exe"), c));
    // FileBegin carries the stored fields; FileEnd reports bit 0x40 in count and clears it.
    const auto& begin = o.recorder.calls[5];
    EXPECT_EQ(begin.count, 100);
    EXPECT_EQ(begin.date, 0x3A6C);
    EXPECT_EQ(begin.time, 0x5B2E);
    EXPECT_EQ(begin.attributes, 0x61);
    const auto& end = o.recorder.calls[6];
    EXPECT_EQ(end.count, 1);
    EXPECT_EQ(end.attributes, 0x21);
    EXPECT_EQ(o.recorder.calls[2].count, 0);
    EXPECT_EQ(o.recorder.calls[0].text3, "/c/");
}

TEST_F(CabinetReaderTest, IsCabinetSummarisesTheHeader) {
    WriterOptions options;
    options.setId = 4321;
    options.headerReserve = 6;
    options.piecesPerCabinet = 1;
    auto set = quellkit::cab::WriteCabinetSet({folder(stored(), {file("x", cabtest::textData(70000, 4))})}, options);
    ASSERT_EQ(set.size(), 3u);
    put("b.cab", set[1]);
    CabinetSummary s;
    ASSERT_TRUE(isCabinet("b.cab", &s).first);
    EXPECT_EQ(s.cabinetSize, set[1].size());
    EXPECT_EQ(s.folderCount, 1);
    EXPECT_EQ(s.fileCount, 1);
    EXPECT_EQ(s.setId, 4321);
    EXPECT_EQ(s.cabinetIndex, 1);
    EXPECT_EQ(s.hasReserve, 1);
    EXPECT_EQ(s.hasPrevious, 1);
    EXPECT_NE(s.hasNext, 0);
}

TEST_F(CabinetReaderTest, IsCabinetRefusesOtherFilesWithoutAnError) {
    std::vector<uint8_t> version = quellkit::cab::WriteCabinet({folder(stored(), {file("x", {1})})});
    version[24] = 4;  // 1.4
    for (const auto& [name, bytes] : std::vector<std::pair<const char*, std::vector<uint8_t>>>{
             {"short", {'M', 'S', 'C', 'F', 0, 0}}, {"wrong signature", std::vector<uint8_t>(64, 'Z')}}) {
        SCOPED_TRACE(name);
        put("n.cab", bytes);
        CabinetSummary s;
        const auto [yes, error] = isCabinet("n.cab", &s);
        EXPECT_FALSE(yes);
        EXPECT_FALSE(error.failed);
        EXPECT_EQ(error.code, 0);
    }
    put("v.cab", version);
    const auto [yes, error] = isCabinet("v.cab", nullptr);
    EXPECT_FALSE(yes);
    EXPECT_EQ(error.code, UnknownVersion);
    EXPECT_EQ(error.detail, 0x0104);
}

TEST_F(CabinetReaderTest, DamagedCabinetsEndInTheirErrorCodes) {
    const std::vector<uint8_t> good =
        quellkit::cab::WriteCabinet({folder(stored(), {file("one.txt", cabtest::textData(3000, 5))})});
    const size_t firstBlock = le32(good, 36);
    struct Case {
        const char* name;
        std::function<void(std::vector<uint8_t>&)> damage;
        int32_t code;
    };
    const std::vector<Case> cases = {
        {"signature", [](auto& b) { b[0] = 'X'; }, NotACabinet},
        {"cut inside the header", [](auto& b) { b.resize(30); }, NotACabinet},
        {"version 1.4", [](auto& b) { b[24] = 4; }, UnknownVersion},
        {"reserve flag without reserve sizes",
         [](auto& b) {
             b[30] |= 4;
             b.resize(38);
         },
         NotACabinet},
        {"checksum mismatch", [&](auto& b) { b[firstBlock + 8 + 10] ^= 1; }, CorruptCabinet},
        {"file table beyond the end",
         [](auto& b) {
             b[16] = 0xF0;
             b[17] = 0xFF;
         },
         CorruptCabinet},
        {"data cut short", [&](auto& b) { b.resize(firstBlock + 100); }, CorruptCabinet},
        {"compressed size over the buffer", [&](auto& b) { set16(b, firstBlock + 4, 40000); }, CorruptCabinet},
        {"block size disagrees",
         [&](auto& b) {
             set16(b, firstBlock + 4, 2999);
             b[firstBlock] = b[firstBlock + 1] = b[firstBlock + 2] = b[firstBlock + 3] = 0;
         },
         DecompressFailed},
        {"LZX folder", [](auto& b) { b[42] = 3; }, BadCompressionType},
        {"unknown method", [](auto& b) { b[42] = 7; }, BadCompressionType},
        {"method 15", [](auto& b) { b[42] = 15; }, BadCompressionType},
        {"Quantum window of 2^22", [](auto& b) { set16(b, 42, 0x1602); }, DecompressFailed},
        {"folder index beyond the table", [](auto& b) { b[44 + 8] = 5; }, CorruptCabinet},
        {"unterminated file name", [&](auto& b) { b.resize(44 + 16 + 3); }, CorruptCabinet},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = good;
        c.damage(bytes);
        put("d.cab", bytes);
        expectFailure(copy("d.cab"), c.code);
    }
    expectFailure(copy("missing.cab"), CabinetNotFound);
}

TEST_F(CabinetReaderTest, AZeroChecksumIsNotChecked) {
    WriterOptions options;
    options.checksums = false;
    std::vector<uint8_t> bytes = quellkit::cab::WriteCabinet({folder(stored(), {file("t", {'a', 'b', 'c'})})}, options);
    const size_t block = le32(bytes, 36);
    bytes[block + 8] = 'X';
    put("a.cab", bytes);
    Outcome o = copy();
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(o.recorder.files.at(0).second, (std::vector<uint8_t>{'X', 'b', 'c'}));
}

TEST_F(CabinetReaderTest, NamesMayHave255CharactersButNot256) {
    for (size_t length : {255u, 256u}) {
        SCOPED_TRACE(length);
        put("a.cab", quellkit::cab::WriteCabinet({folder(stored(), {file(std::string(length, 'n'), {1, 2})})}));
        Outcome o = copy();
        if (length == 255) {
            EXPECT_TRUE(o.ok);
            EXPECT_EQ(o.recorder.names(FileEnd), std::vector<std::string>{std::string(255, 'n')});
        } else {
            expectFailure(o, CorruptCabinet);
        }
    }
}

TEST_F(CabinetReaderTest, NotificationAnswersSteerTheWalk) {
    put("a.cab", quellkit::cab::WriteCabinet(
                     {folder(mszip(), {file("skip", {1, 2, 3}), file("keep", {4, 5}), file("empty", {})})}));
    {
        SCOPED_TRACE("FileBegin 0 passes over a file");
        Outcome o = copy("a.cab", [](NotificationKind k, CabinetNotification& n) -> intptr_t {
            return k == FileBegin && std::strcmp(n.text1, "skip") == 0 ? 0 : -2;
        });
        ASSERT_TRUE(o.ok);
        EXPECT_EQ(o.recorder.names(FileEnd), (std::vector<std::string>{"keep", "empty"}));
        EXPECT_EQ(o.recorder.files[0].second, (std::vector<uint8_t>{4, 5}));
        EXPECT_TRUE(o.recorder.files[1].second.empty());
    }
    {
        SCOPED_TRACE("FileBegin -1 aborts");
        Outcome o = copy("a.cab",
                         [](NotificationKind k, CabinetNotification&) -> intptr_t { return k == FileBegin ? -1 : -2; });
        expectFailure(o, UserAbort);
        EXPECT_TRUE(o.recorder.names(FileEnd).empty());
    }
    {
        SCOPED_TRACE("FileEnd 0 fails the file");
        Outcome o =
            copy("a.cab", [](NotificationKind k, CabinetNotification&) -> intptr_t { return k == FileEnd ? 0 : -2; });
        expectFailure(o, TargetFileFailed);
    }
    {
        SCOPED_TRACE("FileEnd -1 aborts, and the reader closes the handle");
        Outcome o =
            copy("a.cab", [](NotificationKind k, CabinetNotification&) -> intptr_t { return k == FileEnd ? -1 : -2; });
        expectFailure(o, UserAbort);
    }
    {
        SCOPED_TRACE("CabinetOpened -1 aborts");
        Outcome o = copy(
            "a.cab", [](NotificationKind k, CabinetNotification&) -> intptr_t { return k == CabinetOpened ? -1 : -2; });
        expectFailure(o, UserAbort);
    }
}

TEST_F(CabinetReaderTest, AShortWriteFailsTheFileAndClosesItsHandle) {
    put("a.cab", quellkit::cab::WriteCabinet({folder(stored(), {file("t", cabtest::textData(5000, 1))})}));
    memoryFs().writeLimit = 1000;
    expectFailure(copy(), TargetFileFailed);
}

TEST_F(CabinetReaderTest, AFileTableOutOfFolderOrderDecodesTheFolderAgain) {
    const auto a = cabtest::textData(80000, 1), b = cabtest::bitmapData(50000, 2);
    std::vector<uint8_t> bytes = quellkit::cab::WriteCabinet({folder(mszip(), {file("a", a), file("b", b)})});
    // Swap the two 16-byte entries' sizes and offsets along with the names:
    // rebuild the table with b's entry first.
    const size_t table = le32(bytes, 16);
    std::vector<uint8_t> entryA(bytes.begin() + table, bytes.begin() + table + 18);
    std::vector<uint8_t> entryB(bytes.begin() + table + 18, bytes.begin() + table + 36);
    std::copy(entryB.begin(), entryB.end(), bytes.begin() + table);
    std::copy(entryA.begin(), entryA.end(), bytes.begin() + table + 18);
    put("a.cab", bytes);
    Outcome o = copy();
    ASSERT_TRUE(o.ok) << CabinetErrorName(o.error.code);
    ASSERT_EQ(o.recorder.files.size(), 2u);
    EXPECT_EQ(o.recorder.files[0], std::make_pair(std::string("b"), b));
    EXPECT_EQ(o.recorder.files[1], std::make_pair(std::string("a"), a));
}

TEST_F(CabinetReaderTest, AllocationFailuresReportOutOfMemory) {
    put("a.cab", quellkit::cab::WriteCabinet({folder(mszip(), {file("t", {1, 2, 3})})}));
    {
        SCOPED_TRACE("context");
        memoryFs().failAllocationAfter = 0;
        CabinetError error;
        EXPECT_EQ(Create(cabtest::memoryIo(), 1, &error), nullptr);
        EXPECT_EQ(error.code, OutOfMemory);
    }
    for (int n = 1; n <= 5; ++n) {
        SCOPED_TRACE(n);
        Outcome o;
        CabinetContext* context = Create(cabtest::memoryIo(), 1, &o.error);
        memoryFs().failAllocationAfter = n - 1;
        o.ok = Copy(context, "a.cab", "/c/", 0, cabtest::recordNotification, nullptr, &o.recorder);
        Destroy(context);
        memoryFs().failAllocationAfter = -1;
        expectFailure(o, OutOfMemory);
    }
}

TEST_F(CabinetReaderTest, AScopedContextIsReleasedWithItsScope) {
    put("a.cab", quellkit::cab::WriteCabinet({folder(mszip(), {file("t", {1, 2, 3})})}));
    {
        CabinetError error;
        ScopedCabinetContext context(cabtest::memoryIo(), 1, &error);
        ASSERT_TRUE(context);
        Outcome o;
        o.ok = Copy(context.get(), "a.cab", "/c/", 0, cabtest::recordNotification, nullptr, &o.recorder);
        EXPECT_TRUE(o.ok);
        EXPECT_GT(memoryFs().liveAllocations, 0) << "the decoder stays until the context goes";
    }
    EXPECT_EQ(memoryFs().liveAllocations, 0);

    memoryFs().failAllocationAfter = 0;
    CabinetError error;
    ScopedCabinetContext failed(cabtest::memoryIo(), 1, &error);
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.get(), nullptr);
    EXPECT_EQ(error.code, OutOfMemory);
    memoryFs().failAllocationAfter = -1;
}

// Cabinet sets.

std::vector<WriterFolder> spanningFolders() {
    return {folder(mszip(), {file("small", cabtest::textData(2000, 1)), file("big", cabtest::bitmapData(150000, 2)),
                             file("tail", cabtest::textData(40000, 3))}),
            folder(stored(), {file("last", cabtest::noiseData(50000, 4))})};
}

void putSet(const std::vector<std::vector<uint8_t>>& set) {
    for (size_t i = 0; i < set.size(); ++i) memoryFs().files["/c/part" + std::to_string(i + 1) + ".cab"] = set[i];
}

TEST_F(CabinetReaderTest, ReadsFoldersThatRunOnThroughACabinetSet) {
    struct Case {
        const char* name;
        size_t pieces;
        bool split;
        std::vector<WriterFolder> folders;
    };
    std::vector<Case> cases;
    cases.push_back({"whole blocks", 2, false, spanningFolders()});
    cases.push_back({"split blocks", 2, true, spanningFolders()});
    cases.push_back({"one block per cabinet, split", 1, true, spanningFolders()});
    cases.push_back(
        {"Quantum, split",
         2,
         true,
         {folder(quantum(16), {file("q1", cabtest::textData(90000, 5)), file("q2", cabtest::bitmapData(90000, 6))})}});
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        cabtest::resetMemoryFs();
        WriterOptions options;
        options.setId = 77;
        options.piecesPerCabinet = c.pieces;
        options.splitBlocks = c.split;
        options.folderReserve = 3;
        options.dataReserve = 5;
        auto set = quellkit::cab::WriteCabinetSet(c.folders, options);
        ASSERT_GT(set.size(), 2u);
        putSet(set);
        Outcome o = copy("part1.cab");
        ASSERT_TRUE(o.ok) << CabinetErrorName(o.error.code);
        std::vector<std::pair<std::string, std::vector<uint8_t>>> expected;
        for (const auto& f : c.folders)
            for (const auto& w : f.files) expected.emplace_back(w.name, w.data);
        ASSERT_EQ(o.recorder.files.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(o.recorder.files[i].first, expected[i].first);
            EXPECT_TRUE(o.recorder.files[i].second == expected[i].second) << expected[i].first;
        }
        size_t nextRequests = 0;
        for (const auto& n : o.recorder.calls)
            if (n.kind == NextCabinet) {
                ++nextRequests;
                EXPECT_EQ(n.setId, 77);
                EXPECT_EQ(n.lastError, 0);
                EXPECT_EQ(n.text1, "part" + std::to_string(n.cabinetIndex + 1) + ".cab");
            }
        EXPECT_EQ(nextRequests, set.size() - 1);
    }
}

TEST_F(CabinetReaderTest, PassesOverSkippedFilesThatContinue) {
    // "skipped" and "wanted" both start in the first cabinet and run on into
    // the second, where the reader must pass over both entries.
    WriterOptions options;
    options.piecesPerCabinet = 2;
    options.splitBlocks = true;
    const std::vector<WriterFolder> folders = {
        folder(mszip(), {file("small", cabtest::textData(2000, 1)), file("skipped", cabtest::bitmapData(58000, 2)),
                         file("wanted", cabtest::textData(40000, 3))}),
        folder(stored(), {file("last", cabtest::noiseData(50000, 4))})};
    putSet(quellkit::cab::WriteCabinetSet(folders, options));
    Outcome o = copy("part1.cab", [](NotificationKind k, CabinetNotification& n) -> intptr_t {
        return k == FileBegin && std::strcmp(n.text1, "skipped") == 0 ? 0 : -2;
    });
    ASSERT_TRUE(o.ok) << CabinetErrorName(o.error.code);
    ASSERT_EQ(o.recorder.names(FileEnd), (std::vector<std::string>{"small", "wanted", "last"}));
    EXPECT_TRUE(o.recorder.files[1].second == folders[0].files[2].data);
    EXPECT_TRUE(o.recorder.files[2].second == folders[1].files[0].data);
}

TEST_F(CabinetReaderTest, StartingInsideASetReportsContinuedFiles) {
    WriterOptions options;
    options.piecesPerCabinet = 2;
    auto set = quellkit::cab::WriteCabinetSet(spanningFolders(), options);
    putSet(set);
    Outcome o = copy("part2.cab");
    ASSERT_TRUE(o.ok) << CabinetErrorName(o.error.code);
    ASSERT_GE(o.recorder.calls.size(), 2u);
    EXPECT_EQ(o.recorder.calls[1].kind, ContinuedFile);
    EXPECT_EQ(o.recorder.calls[1].text1, "big");
    EXPECT_EQ(o.recorder.calls[1].text2, "part1.cab");
    EXPECT_EQ(o.recorder.calls[1].text3, "disk 1");
}

TEST_F(CabinetReaderTest, NextCabinetIsAskedAgainWithTheFailure) {
    WriterOptions options;
    options.piecesPerCabinet = 3;
    auto set = quellkit::cab::WriteCabinetSet(spanningFolders(), options);
    ASSERT_EQ(set.size(), 3u);
    memoryFs().files["/c/part1.cab"] = set[0];
    memoryFs().files["/elsewhere/part2.cab"] = set[1];
    memoryFs().files["/elsewhere/part3.cab"] = set[2];
    Outcome o = copy("part1.cab", [](NotificationKind k, CabinetNotification& n) -> intptr_t {
        if (k == NextCabinet && n.lastError != 0) std::strcpy(n.text3, "/elsewhere/");
        return -2;
    });
    ASSERT_TRUE(o.ok) << CabinetErrorName(o.error.code);
    std::vector<int32_t> errors;
    for (const auto& n : o.recorder.calls)
        if (n.kind == NextCabinet) errors.push_back(n.lastError);
    EXPECT_EQ(errors, (std::vector<int32_t>{0, CabinetNotFound, 0}));
}

TEST_F(CabinetReaderTest, ANextCabinetThatNeverAppearsFailsInTime) {
    WriterOptions options;
    options.piecesPerCabinet = 3;
    auto set = quellkit::cab::WriteCabinetSet(spanningFolders(), options);
    memoryFs().files["/c/part1.cab"] = set[0];
    Outcome o = copy("part1.cab");
    expectFailure(o, CabinetNotFound);
    EXPECT_LE(o.recorder.names(NextCabinet).size(), 16u);
    EXPECT_FALSE(o.recorder.names(FileBegin).empty());

    Outcome aborted = copy("part1.cab", [](NotificationKind k, CabinetNotification& n) -> intptr_t {
        return k == NextCabinet && n.lastError != 0 ? -1 : -2;
    });
    expectFailure(aborted, UserAbort);
    EXPECT_EQ(aborted.recorder.names(NextCabinet).size(), 2u);
}

TEST_F(CabinetReaderTest, TheNextCabinetMustBelongToTheSet) {
    WriterOptions options;
    options.piecesPerCabinet = 3;
    options.setId = 10;
    auto set = quellkit::cab::WriteCabinetSet(spanningFolders(), options);
    {
        SCOPED_TRACE("another set id");
        auto other = set;
        set16(other[1], 32, 11);
        putSet(other);
        Outcome o = copy("part1.cab", [](NotificationKind k, CabinetNotification& n) -> intptr_t {
            return k == NextCabinet && n.lastError != 0 ? -1 : -2;
        });
        expectFailure(o, UserAbort);
        EXPECT_EQ(o.recorder.calls.back().lastError, WrongCabinet);
    }
    {
        SCOPED_TRACE("another index");
        auto other = set;
        set16(other[1], 34, 2);
        putSet(other);
        Outcome o = copy("part1.cab");
        expectFailure(o, WrongCabinet);
    }
    {
        SCOPED_TRACE("other reserve sizes");
        WriterOptions reserved = options;
        reserved.dataReserve = 4;
        auto other = quellkit::cab::WriteCabinetSet(spanningFolders(), reserved);
        memoryFs().files["/c/part1.cab"] = set[0];
        memoryFs().files["/c/part2.cab"] = other[1];
        Outcome o = copy("part1.cab");
        expectFailure(o, ReserveMismatch);
    }
}

// The external cabinets: which open and extract, and which fail with what.
TEST_F(CabinetReaderTest, ExternalCabinetsGiveTheirExpectedOutcome) {
    if (!cabtest::haveCorpora()) GTEST_SKIP() << "corpora not present";
    struct Case {
        const char* path;
        int32_t code;  // 0 for a cabinet that extracts
    };
    const std::vector<Case> cases = {
        {"gcab/tests/test-mszip.cab", 0},
        {"gcab/tests/test-none.cab", 0},
        {"gcab/tests/test-signed.cab", 0},
        {"gcab/tests/CVE-2014-9732.cab", DecompressFailed},
        {"gcab/tests/test-ncbytes-overflow.cab", CorruptCabinet},
        {"libarchive/libarchive/test/test_read_format_cab_1.cab", 0},
        {"libarchive/libarchive/test/test_read_format_cab_2.cab", 0},
        {"libarchive/libarchive/test/test_fuzz.cab", BadCompressionType},
        {"libmspack/cabextract/test/bugs/cve-2010-2801-qtm-flush.cab", 0},
        {"libmspack/cabextract/test/cabs/dirwalk-vulns.cab", 0},
        {"libmspack/cabextract/test/cabs/utf8-stresstest.cab", 0},
        {"libmspack/libmspack/test/test_files/cabd/bad_folderindex.cab", CorruptCabinet},
        {"libmspack/libmspack/test/test_files/cabd/bad_signature.cab", NotACabinet},
        {"libmspack/libmspack/test/test_files/cabd/cve-2010-2800-mszip-infinite-loop.cab", DecompressFailed},
        {"libmspack/libmspack/test/test_files/cabd/cve-2014-9556-qtm-infinite-loop.cab", CorruptCabinet},
        {"libmspack/libmspack/test/test_files/cabd/cve-2014-9732-folders-segfault.cab", BadCompressionType},
        {"libmspack/libmspack/test/test_files/cabd/cve-2015-4470-mszip-over-read.cab", UnknownVersion},
        // A 38912-byte Quantum block fits the format's 43008-byte input buffer,
        // so this one decodes here although other tools refuse it.
        {"libmspack/libmspack/test/test_files/cabd/cve-2018-18584-qtm-max-size-block.cab", 0},
        {"libmspack/libmspack/test/test_files/cabd/mszip_lzx_qtm.cab", BadCompressionType},
        {"libmspack/libmspack/test/test_files/cabd/normal_255c_filename.cab", 0},
        {"libmspack/libmspack/test/test_files/cabd/partial_nodata.cab", CorruptCabinet},
        {"libmspack/libmspack/test/test_files/cabd/partial_shortheader.cab", NotACabinet},
        {"libmspack/libmspack/test/test_files/cabd/partial_str_nofname.cab", CorruptCabinet},
        {"libmspack/libmspack/test/test_files/cabd/reserve_HFD.cab", 0},
        {"libmspack/libmspack/test/test_files/cabd/reserve_-F-.cab", 0},
        {"python-cabarchive/data/compressed.cab", 0},
        {"wuffs/test/data/archive.cab", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        cabtest::resetMemoryFs();
        put("x.cab", cabtest::readBytes(cabtest::corporaPath(std::string("cab/") + c.path)));
        Outcome o = copy("x.cab");
        if (c.code == 0) {
            EXPECT_TRUE(o.ok) << CabinetErrorName(o.error.code);
        } else {
            expectFailure(o, c.code);
        }
    }
}

}  // namespace
