#include "core/skin/skin_check.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include "core/image/bitmap_writer.h"
#include "core/image/gif_encoder.h"
#include "core/skin/outline_file.h"

namespace fs = std::filesystem;
using quell::skin::CheckFinding;
using quell::skin::CheckSeverity;
using quell::skin::SkinCheckReport;

namespace {

std::vector<uint8_t> bitmap(int w, int h) {
    quell::image::PixelImage image;
    image.width = w;
    image.height = h;
    image.pixels.assign(static_cast<size_t>(w) * h, 0xFF336699u);
    return quell::image::EncodeBitmap24(image);
}

std::vector<uint8_t> gif(int w, int h) {
    quell::image::GifFile file;
    file.globalColours = {0x000000, 0xFFFFFF};
    quell::image::GifFrame frame;
    frame.width = w;
    frame.height = h;
    frame.indices.assign(static_cast<size_t>(w) * h, 1);
    file.frames.push_back(frame);
    return quell::image::EncodeGif(file);
}

std::vector<uint8_t> outline(std::vector<quell::skin::OutlinePoint> points) {
    return quell::skin::EncodeOutline(points);
}

const std::vector<uint8_t> kMidi = {'M', 'T', 'h', 'd', 0,   0, 0, 6, 0, 0, 0,    1,    0,
                                    96,  'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0};

// A small skin that loads without any problem; each test breaks one thing.
class SkinCheck : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("quell-skin-check-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        write("frame.bmp", bitmap(200, 100));
        write("frame.dat", outline({{0, 0}, {200, 0}, {200, 100}, {0, 100}}));
        for (const char* name : {"b-n.bmp", "b-p.bmp", "b-h.bmp"}) write(name, bitmap(10, 10));
        write("spin.gif", gif(8, 8));
        write("tune.mid", kMidi);
        write("quellcard.htm", std::string("<p>hello</p>"));
        m_ini = {
            {"FrameBitmap", {"FileName=frame.bmp"}},
            {"WebBrowser", {"Position=50,20,190,90", "StartPage=quellcard.htm"}},
            {"AddressBar", {"Position=50,2,190,14"}},
            {"StatusBar", {"Position=50,92,150,99", "FontColor=1,2,3"}},
            {"ProgressBar", {"Position=152,92,198,98", "Gradient=true"}},
            {"NavigationGif", {"Position=2,2,-1,-1", "FileName=spin.gif"}},
            {"AnimationGif", {"NumberOfGif=1", "Gif0=spin.gif,2,40"}},
            {"Button", {"BackNo=1", "Back0=b-n.bmp,b-p.bmp,b-h.bmp,2,20,10,10,-1,,NULL"}},
            {"Text", {"TextNo=1", "Text0=,0,255,0,9,0,0,0,2,60,40,12,home,Home"}},
            {"Sound", {"FileName=tune.mid", "Repeat=ON"}},
        };
    }
    void TearDown() override { fs::remove_all(m_dir); }

    void write(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream out(m_dir / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    void write(const std::string& name, const std::string& text) {
        write(name, std::vector<uint8_t>(text.begin(), text.end()));
    }

    void set(const std::string& section, const std::string& line) {
        auto& lines = m_ini[section];
        const std::string key = line.substr(0, line.find('='));
        for (std::string& l : lines) {
            if (l.substr(0, l.find('=')) == key) {
                l = line;
                return;
            }
        }
        lines.push_back(line);
    }
    void remove(const std::string& section, const std::string& key) {
        auto& lines = m_ini[section];
        std::erase_if(lines, [&](const std::string& l) { return l.substr(0, l.find('=')) == key; });
    }

    SkinCheckReport check() {
        std::string text = "Test skin\r\n";
        for (const auto& [section, lines] : m_ini) {
            text += "[" + section + "]\r\n";
            for (const std::string& l : lines) text += l + "\r\n";
        }
        write("Test.ini", text);
        return quell::skin::CheckSkinFolder(m_dir.string());
    }

    fs::path m_dir;
    std::map<std::string, std::vector<std::string>> m_ini;
};

std::string dump(const SkinCheckReport& report) {
    std::string out;
    for (const CheckFinding& f : report.findings) out += quell::skin::FormatFinding(f) + "\n";
    return out;
}

// The one finding of the report, which must be an error about key whose text contains part.
void expectOnlyError(const SkinCheckReport& report, const std::string& key, const std::string& part) {
    ASSERT_EQ(report.findings.size(), 1u) << dump(report);
    EXPECT_EQ(report.findings[0].severity, CheckSeverity::Error);
    EXPECT_EQ(report.findings[0].key, key);
    EXPECT_NE(report.findings[0].problem.find(part), std::string::npos) << dump(report);
}

TEST_F(SkinCheck, SoundSkinHasNoFindings) {
    const SkinCheckReport report = check();
    EXPECT_TRUE(report.findings.empty()) << dump(report);
    EXPECT_NE(report.descriptionPath.find("Test.ini"), std::string::npos);
}

TEST_F(SkinCheck, DescriptionThatNeverEndsCannotBeRead) {
    fs::create_symlink("/dev/zero", m_dir / "Endless.ini");
    const SkinCheckReport report = quell::skin::CheckSkinDescription((m_dir / "Endless.ini").string());
    ASSERT_EQ(report.findings.size(), 1u) << dump(report);
    EXPECT_EQ(report.findings[0].problem, "the description cannot be read");
}

TEST_F(SkinCheck, EachMissingOrBrokenFileIsOneErrorOnItsKey) {
    struct Case {
        const char* name;
        std::function<void()> breakSkin;
        const char* key;
        const char* expected;
    };
    std::vector<uint8_t> shortOutline = outline({{0, 0}, {200, 0}, {200, 100}});
    shortOutline.resize(shortOutline.size() - 4);
    const Case cases[] = {
        {"no outline file", [&] { fs::remove(m_dir / "frame.dat"); }, "[FrameBitmap] FileName",
         "outline file frame.dat is missing"},
        // Outline problems are reported against the frame key.
        {"outline count larger than the file", [&] { write("frame.dat", shortOutline); }, "[FrameBitmap] FileName",
         "malformed"},
        {"outline point beyond the right edge",
         [&] {
             write("frame.dat", outline({{0, 0}, {201, 0}, {200, 100}}));
         },
         "[FrameBitmap] FileName", "point 1 at 201,0"},
        {"negative outline point",
         [&] {
             write("frame.dat", outline({{0, -1}, {200, 0}, {200, 100}}));
         },
         "[FrameBitmap] FileName", "1 points outside the 200x100 frame"},
        {"outline of two points",
         [&] {
             write("frame.dat", outline({{0, 0}, {200, 0}}));
         },
         "[FrameBitmap] FileName", "fewer than 3"},
        {"frame name without room for the outline name",
         [&] {
             fs::rename(m_dir / "frame.bmp", m_dir / "frame.bm");
             set("FrameBitmap", "FileName=frame.bm");
         },
         "[FrameBitmap] FileName", "no outline file name"},
        // Each of the three images of a button is named on its own.
        {"no pressed image", [&] { fs::remove(m_dir / "b-p.bmp"); }, "[Button] Back0",
         "pressed image b-p.bmp is missing"},
        {"no start card", [&] { fs::remove(m_dir / "quellcard.htm"); }, "[WebBrowser] StartPage",
         "quellcard.htm is missing"},
        {"music that is no MIDI file", [&] { write("tune.mid", std::string("RIFF....WAVE")); }, "[Sound] FileName",
         "not a Standard MIDI File"},
    };
    for (const Case& c : cases) {
        SetUp();
        SCOPED_TRACE(c.name);
        c.breakSkin();
        expectOnlyError(check(), c.key, c.expected);
    }
}

TEST_F(SkinCheck, AValueOfExactlyNinetyNineBytesIsNotCut) {
    const std::string prefix = "b-n.bmp,b-p.bmp,b-h.bmp,2,20,10,10,-1,";
    const std::string value = prefix + std::string(99 - prefix.size() - 5, 't') + ",NULL";
    ASSERT_EQ(value.size(), 99u);
    set("Button", "Back0=" + value);
    EXPECT_TRUE(check().findings.empty());
}

TEST_F(SkinCheck, EntriesBeyondTheirCountAndLabelsThatDoNothingAreWarnings) {
    const std::pair<std::string, std::string> cases[] = {
        {"Button", "Back1=b-n.bmp,b-p.bmp,b-h.bmp,2,20,10,10,-1,,NULL"},
        {"Text", "Text0=,0,255,0,9,0,0,0,2,60,40,12,jump,Home"},
    };
    for (const auto& [section, line] : cases) {
        SetUp();
        SCOPED_TRACE(line);
        set(section, line);
        const SkinCheckReport report = check();
        ASSERT_EQ(report.findings.size(), 1u) << dump(report);
        EXPECT_EQ(report.findings[0].severity, CheckSeverity::Warning);
        EXPECT_EQ(report.findings[0].key, "[" + section + "] " + line.substr(0, line.find('=')));
        EXPECT_EQ(report.errorCount(), 0);
    }
}

TEST_F(SkinCheck, FrameThatIsNoBitmapIsReported) {
    write("frame.bmp", std::string("not a picture"));
    const SkinCheckReport report = check();
    ASSERT_FALSE(report.findings.empty());
    EXPECT_EQ(report.findings[0].key, "[FrameBitmap] FileName");
    EXPECT_NE(report.findings[0].problem.find("not a BMP picture"), std::string::npos) << dump(report);
}

TEST_F(SkinCheck, OneBadKeyIsOneErrorOnIt) {
    struct Case {
        const char* section;
        std::string line;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"FrameBitmap", "FileName=FALSE", "[FrameBitmap] FileName", "missing"},
        {"NavigationGif", "FileName=FALSE", "[NavigationGif] FileName", "missing"},
        {"Sound", "FileName=gone.mid", "[Sound] FileName", "music gone.mid is missing"},
        // Rectangles must be set and inside the frame.
        {"WebBrowser", "Position=FALSE", "[WebBrowser] Position", "unset"},
        {"WebBrowser", "Position=50,20,201,90", "[WebBrowser] Position", "outside the 200x100 frame"},
        {"StatusBar", "Position=90,95,80,99", "[StatusBar] Position", "empty or inverted"},
        {"ProgressBar", "Position=152,92,198", "[ProgressBar] Position", "empty or inverted"},
        {"AddressBar", "Position=50,2,91,14", "[AddressBar] Position", "41-pixel Go button"},
        {"Button", "Back0=b-n.bmp,b-p.bmp,b-h.bmp,195,20,10,10,-1,,NULL", "[Button] Back0", "outside"},
        {"Text", "Text0=,0,255,0,9,0,0,0,2,95,40,12,home,Home", "[Text] Text0", "outside"},
        {"AnimationGif", "Gif0=spin.gif,195,40", "[AnimationGif] Gif0", "outside"},
        // Entries missing within their count.
        {"Button", "BackNo=2", "[Button] Back1", "no further Back buttons"},
        {"AnimationGif", "NumberOfGif=2", "[AnimationGif] Gif1", "no further pictures"},
        {"Text", "TextNo=2", "[Text] Text1", "Failure in getting information of Text control."},
        {"Button", "Back0=b-n.bmp,b-p.bmp,b-h.bmp,2,20,10,10,-1," + std::string(60, 't') + ",NULL", "[Button] Back0",
         "is cut at 99"},
    };
    for (const Case& c : cases) {
        SetUp();
        SCOPED_TRACE(c.line);
        set(c.section, c.line);
        expectOnlyError(check(), c.key, c.expected);
    }
}

TEST_F(SkinCheck, SkinWithoutOptionalElementsIsSound) {
    for (const char* section :
         {"AddressBar", "StatusBar", "ProgressBar", "NavigationGif", "AnimationGif", "Text", "Sound"})
        m_ini.erase(section);
    const SkinCheckReport report = check();
    EXPECT_TRUE(report.findings.empty()) << dump(report);
}

TEST_F(SkinCheck, FileNamesMatchWithoutRegardToCase) {
    fs::rename(m_dir / "b-h.bmp", m_dir / "B-H.BMP");
    const SkinCheckReport report = check();
    EXPECT_TRUE(report.findings.empty()) << dump(report);
}

TEST_F(SkinCheck, ABrokenPictureSharedByTwoKeysIsAnErrorOfEach) {
    write("spin.gif", std::string("GIF89a"));
    const SkinCheckReport report = check();
    EXPECT_EQ(report.errorCount(), 2) << dump(report);  // the busy animation and Gif0 share the file
}

TEST_F(SkinCheck, LongValuesTheProgramNeverReadsAreNotReported) {
    set("Description", "About=" + std::string(150, 'x'));
    set("Button", "Back7=" + std::string(150, 'x'));
    const SkinCheckReport report = check();
    EXPECT_EQ(report.errorCount(), 0) << dump(report);
}

TEST_F(SkinCheck, FolderMustHoldExactlyOneDescription) {
    check();
    write("Other.ini", std::string("[FrameBitmap]\r\nFileName=frame.bmp\r\n"));
    SkinCheckReport report = quell::skin::CheckSkinFolder(m_dir.string());
    ASSERT_EQ(report.findings.size(), 1u);
    EXPECT_NE(report.findings[0].problem.find("2 description files"), std::string::npos);

    fs::remove(m_dir / "Other.ini");
    fs::remove(m_dir / "Test.ini");
    report = quell::skin::CheckSkinFolder(m_dir.string());
    ASSERT_EQ(report.findings.size(), 1u);
    EXPECT_NE(report.findings[0].problem.find("no description"), std::string::npos);

    report = quell::skin::CheckSkinFolder((m_dir / "nowhere").string());
    ASSERT_EQ(report.findings.size(), 1u);
    EXPECT_NE(report.findings[0].problem.find("not a folder"), std::string::npos);
}

TEST_F(SkinCheck, FolderEntriesTheUnpackWouldRefuse) {
    struct Case {
        const char* name;
        std::string entry;
        std::string key;
        bool folder;
        CheckSeverity severity;
        std::string part;
    };
    const std::string tooLong = std::string(199, 'n') + ".bmp";
    const std::vector<Case> cases = {
        {"sub-folder", "sources", "sources", true, CheckSeverity::Error, "is a sub-folder"},
        // Reported on the name that sorts second.
        {"case clash", "FRAME.BMP", "frame.bmp", false, CheckSeverity::Error, "differs from FRAME.BMP only in case"},
        {"path too long", tooLong, tooLong, false, CheckSeverity::Error, "passes 259 bytes"},
        {"non-ASCII", "\xE8\x83\x8C\xE6\x99\xAF.bmp", "\xE8\x83\x8C\xE6\x99\xAF.bmp", false, CheckSeverity::Warning,
         "code page 932"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.folder) fs::create_directory(m_dir / c.entry);
        else write(c.entry, std::string("x"));
        const SkinCheckReport report = check();
        ASSERT_EQ(report.findings.size(), 1u) << dump(report);
        EXPECT_EQ(report.findings[0].severity, c.severity);
        EXPECT_EQ(report.findings[0].key, c.key);
        EXPECT_NE(report.findings[0].problem.find(c.part), std::string::npos) << dump(report);
        fs::remove_all(m_dir / c.entry);
    }
    // A name of 202 bytes still fits after the 57 bytes of folder for the stem "Test".
    write(std::string(198, 'n') + ".bmp", std::string("x"));
    EXPECT_TRUE(check().findings.empty()) << dump(check());
}

}  // namespace
