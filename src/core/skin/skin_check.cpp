#include "core/skin/skin_check.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string_view>

#include "core/image/bitmap_file.h"
#include "core/image/gif_decoder.h"
#include "core/os/file_system.h"
#include "core/skin/outline_file.h"
#include "core/skin/profile_file.h"
#include "core/skin/skin_model.h"

namespace quell::skin {

int SkinCheckReport::errorCount() const {
    int n = 0;
    for (const CheckFinding& f : findings) n += f.severity == CheckSeverity::Error;
    return n;
}

int SkinCheckReport::warningCount() const { return static_cast<int>(findings.size()) - errorCount(); }

std::string FormatFinding(const CheckFinding& f) {
    return std::string(f.severity == CheckSeverity::Error ? "error: " : "warning: ") + f.key + ": " + f.problem;
}

namespace {

std::string keyOf(std::string_view section, std::string_view key) {
    return "[" + std::string(section) + "] " + std::string(key);
}

std::string rectText(const SkinRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

bool sameIgnoringCase(std::string_view a, std::string_view b) { return ToLowerAscii(a) == ToLowerAscii(b); }

class Checker {
public:
    Checker(SkinCheckReport& report, const ProfileFile& file, const std::string& folder)
        : m_report(report), m_file(file), m_reader(file) {
        m_location.mediaFolder = folder.empty() || folder.back() == '/' ? folder : folder + "/";
        m_model = ReadSkinModel(file, m_location);
    }

    void run() {
        checkFrame();
        checkBrowser();
        checkAddressBar();
        checkStatusBar();
        checkProgressBar();
        checkNavigationGif();
        checkPictures();
        checkButtons();
        checkTexts();
        checkSound();
        checkCutValues();
    }

private:
    void error(std::string key, std::string problem) {
        m_report.findings.push_back({CheckSeverity::Error, std::move(key), std::move(problem)});
    }
    void warning(std::string key, std::string problem) {
        m_report.findings.push_back({CheckSeverity::Warning, std::move(key), std::move(problem)});
    }
    // Every key the main window reads, for the check of cut values.
    void reads(std::string_view section, std::string_view key) {
        m_readKeys.push_back({std::string(section), std::string(key)});
    }

    std::string frameText() const { return std::to_string(m_frameWidth) + "x" + std::to_string(m_frameHeight); }

    // A file the skin names: true when it exists and can be read.
    bool checkFile(const std::string& key, const std::string& role, const std::string& name) {
        const std::string path = m_location.path(name);
        if (!os::isRegularFile(path)) {
            error(key, "the " + role + " " + name + " is missing");
            return false;
        }
        if (!os::readFile(path, 1)) {
            error(key, "the " + role + " " + name + " cannot be read");
            return false;
        }
        return true;
    }

    bool checkBitmap(const std::string& key, const std::string& role, const std::string& name, image::PixelImage* out) {
        if (!checkFile(key, role, name)) return false;
        image::PixelImage picture;
        if (!image::LoadBitmapFile(m_location.path(name), picture)) {
            error(key, "the " + role + " " + name + " is not a BMP picture the program can load");
            return false;
        }
        if (out) *out = std::move(picture);
        return true;
    }

    // The first image's size of a GIF the program animates, or nullopt.
    std::optional<std::pair<int, int>> checkGif(const std::string& key, const std::string& name) {
        if (!checkFile(key, "animated picture", name)) return std::nullopt;
        image::GifDecoder decoder;
        image::GifFrameInfo info;
        if (!decoder.LoadGifFile(m_location.path(name)) || decoder.FrameCount() < 1 || !decoder.GetFrameInfo(0, info)) {
            error(key, "the animated picture " + name + " is not a GIF picture the program can load");
            return std::nullopt;
        }
        return std::make_pair(info.width, info.height);
    }

    // A rectangle must hold at least one pixel and lie within the frame.
    void checkRect(const std::string& key, const SkinRect& r, const std::string& what) {
        if (r.right <= r.left || r.bottom <= r.top) {
            error(key, what + " " + rectText(r) + " is empty or inverted");
            return;
        }
        if (m_frameWidth > 0 && (r.left < 0 || r.top < 0 || r.right > m_frameWidth || r.bottom > m_frameHeight))
            error(key, what + " " + rectText(r) + " reaches outside the " + frameText() + " frame");
    }

    void checkFrame() {
        const std::string key = keyOf("FrameBitmap", "FileName");
        reads("FrameBitmap", "FileName");
        if (!m_model.hasFrame()) {
            error(key, "missing: without a frame the window closes at once");
            return;
        }
        image::PixelImage frame;
        if (checkBitmap(key, "frame bitmap", m_model.frameFile, &frame)) {
            m_frameWidth = frame.width;
            m_frameHeight = frame.height;
        }
        if (!m_model.outlineName) {
            error(key, "no outline file name follows from " + m_model.frameFile +
                           " (it needs a '.' and three characters after it)");
            return;
        }
        const std::string& name = *m_model.outlineName;
        if (!checkFile(key, "outline file", name)) return;
        auto bytes = os::readFile(m_location.path(name), kOutlineReadLimit);
        auto points = bytes ? ParseOutline(*bytes) : std::nullopt;
        if (!points) {
            error(key, "the outline file " + name +
                           " is malformed (its point count does not match its size, "
                           "or exceeds 8191)");
            return;
        }
        if (points->size() < 3) {
            error(key, "the outline file " + name + " holds " + std::to_string(points->size()) +
                           " points: no window shape can be made from fewer than 3");
            return;
        }
        if (m_frameWidth <= 0) return;
        size_t outside = 0;
        std::optional<size_t> first;
        for (size_t i = 0; i < points->size(); ++i) {
            const OutlinePoint& p = (*points)[i];
            if (p.x < 0 || p.y < 0 || p.x > m_frameWidth || p.y > m_frameHeight) {
                ++outside;
                if (!first) first = i;
            }
        }
        if (outside > 0) {
            const OutlinePoint& p = (*points)[*first];
            error(key, "the outline file " + name + " has " + std::to_string(outside) + " points outside the " +
                           frameText() + " frame, the first is point " + std::to_string(*first) + " at " +
                           std::to_string(p.x) + "," + std::to_string(p.y));
        }
    }

    void checkBrowser() {
        reads("WebBrowser", "Position");
        reads("WebBrowser", "StartPage");
        const std::string key = keyOf("WebBrowser", "Position");
        if (!m_model.browserRect.isSet()) error(key, "unset: the browser gets no area on the frame");
        else checkRect(key, m_model.browserRect, "the browser rectangle");
        const std::string start = m_reader.ReadString("WebBrowser", "StartPage");
        if (ToLowerAscii(start) == "quellcard.htm")
            checkFile(keyOf("WebBrowser", "StartPage"), "start page", "quellcard.htm");
    }

    void checkAddressBar() {
        reads("AddressBar", "Position");
        reads("AddressBar", "Font");
        reads("AddressBar", "FontSize");
        const SkinRect& r = m_model.addressBarRect;
        if (!r.isSet()) return;  // no address bar and no Go button: a skin may choose that
        const std::string key = keyOf("AddressBar", "Position");
        checkRect(key, r, "the address bar rectangle");
        if (r.right > r.left && r.right - r.left <= 41)
            error(key, "the address bar " + rectText(r) + " leaves no room after the 41-pixel Go button");
    }

    void checkStatusBar() {
        reads("StatusBar", "Position");
        reads("StatusBar", "Font");
        reads("StatusBar", "FontSize");
        reads("StatusBar", "FontColor");
        if (!m_model.hasStatusBar) return;
        const std::string key = keyOf("StatusBar", "Position");
        if (!m_model.statusRect.isSet()) error(key, "unset: the status text is created with no area");
        else checkRect(key, m_model.statusRect, "the status text rectangle");
    }

    void checkProgressBar() {
        for (const char* k : {"Position", "Direction", "Smooth", "Gradient", "StartColor", "EndColor", "BackColor"})
            reads("ProgressBar", k);
        if (m_model.progressRect.isSet())
            checkRect(keyOf("ProgressBar", "Position"), m_model.progressRect, "the progress bar rectangle");
    }

    // Animated pictures are placed by their top-left corner and take the
    // size of their first image.
    void checkPicturePlace(const std::string& key, const std::string& name, int x, int y) {
        auto size = checkGif(key, name);
        if (!size) return;
        checkRect(key, SkinRect{x, y, x + size->first, y + size->second}, "the picture " + name);
    }

    void checkNavigationGif() {
        reads("NavigationGif", "Position");
        reads("NavigationGif", "FileName");
        const SkinRect& r = m_model.navigationGifRect;
        if (!r.isSet()) return;
        const std::string key = keyOf("NavigationGif", "FileName");
        if (m_model.navigationGifFile == kMissing) {
            error(key, "missing while [NavigationGif] Position is set: the busy animation fails to load");
            return;
        }
        checkPicturePlace(key, m_model.navigationGifFile, r.left, r.top);
    }

    // Entries past the count are never read; that is usually a forgotten count.
    void checkBeyondCount(std::string_view section, std::string_view stem, std::string_view countKey, int32_t count) {
        const int32_t next = count < 0 ? 0 : count;
        const std::string key = std::string(stem) + std::to_string(next);
        if (m_file.HasKey(section, key))
            warning(keyOf(section, key), "never read: " + std::string(countKey) + " is " + std::to_string(count));
    }

    void checkPictures() {
        reads("AnimationGif", "NumberOfGif");
        for (size_t i = 0; i < m_model.pictures.size(); ++i) {
            const std::string name = "Gif" + std::to_string(i);
            reads("AnimationGif", name);
            const PictureEntry& p = m_model.pictures[i];
            checkPicturePlace(keyOf("AnimationGif", name), p.file, p.x, p.y);
        }
        for (const MissingEntry& m : m_model.missingPictures)
            error(keyOf("AnimationGif", m.key),
                  "missing within NumberOfGif: an empty message box, and no further "
                  "pictures are read");
        if (m_model.missingPictures.empty())
            checkBeyondCount("AnimationGif", "Gif", "NumberOfGif", m_reader.ReadInt("AnimationGif", "NumberOfGif"));
    }

    void checkButtons() {
        for (const ButtonKind& kind : kButtonKinds) {
            const std::string countKey = std::string(kind.keyStem) + "No";
            reads("Button", countKey);
            bool missing = false;
            for (const MissingEntry& m : m_model.missingButtons) {
                if (m.key.rfind(kind.keyStem, 0) != 0 ||
                    m.key.find_first_not_of("0123456789", kind.keyStem.size()) != std::string::npos)
                    continue;
                missing = true;
                error(keyOf("Button", m.key), "missing within " + countKey + ": an empty message box, and no further " +
                                                  std::string(kind.keyStem) + " buttons are read");
            }
            if (!missing) checkBeyondCount("Button", kind.keyStem, countKey, m_reader.ReadInt("Button", countKey));
        }
        for (const ButtonEntry& b : m_model.buttons) checkButton(b);
    }

    std::string_view stemOf(int32_t kind) const {
        for (const ButtonKind& k : kButtonKinds)
            if (k.commandCode == kind) return k.keyStem;
        return "?";
    }

    void checkButton(const ButtonEntry& b) {
        const std::string name = std::string(stemOf(b.kind)) + std::to_string(b.index);
        reads("Button", name);
        const std::string key = keyOf("Button", name);
        const struct {
            const char* role;
            const std::string* file;
        } images[] = {
            {"normal image", &b.normalImage}, {"pressed image", &b.pressedImage}, {"hover image", &b.hoverImage}};
        for (const auto& image : images) {
            if (image.file->empty()) error(key, std::string("the ") + image.role + " is empty");
            else checkBitmap(key, image.role, *image.file, nullptr);
        }
        checkRect(key, SkinRect{b.x, b.y, b.x + b.width, b.y + b.height}, "the button rectangle");
        std::string sound = b.sound;
        const size_t slash = sound.find_last_of("\\/");
        const std::string leaf = slash == std::string::npos ? sound : sound.substr(slash + 1);
        if (!leaf.empty() && ToUpperAscii(leaf) != "NULL" && !os::isRegularFile(m_location.path(sound)))
            warning(key, "the sound " + sound + " is missing: the press plays nothing");
        if ((b.kind == commands::kDirect || b.kind == commands::kExecute) && b.target.empty())
            warning(key, "the target after the last comma is empty");
    }

    void checkTexts() {
        reads("Text", "TextNo");
        for (size_t i = 0; i < m_model.texts.size(); ++i) {
            const std::string name = "Text" + std::to_string(i);
            reads("Text", name);
            const TextEntry& t = m_model.texts[i];
            const std::string key = keyOf("Text", name);
            checkRect(key, SkinRect{t.x, t.y, t.x + t.width, t.y + t.height}, "the label rectangle");
            if (t.action == -1)
                warning(key, "no known action: the label \"" + t.caption + "\" does nothing when pressed");
            else if ((t.action == commands::kDirect || t.action == commands::kExecute) && t.argument.empty())
                warning(key, "the label \"" + t.caption + "\" has no target after its caption");
        }
        for (const MissingEntry& m : m_model.missingTexts)
            error(keyOf("Text", m.key), "missing within TextNo: \"" + m.message + "\", and no further labels are read");
        if (m_model.missingTexts.empty())
            checkBeyondCount("Text", "Text", "TextNo", m_reader.ReadInt("Text", "TextNo"));
    }

    void checkSound() {
        reads("Sound", "FileName");
        reads("Sound", "Repeat");
        if (m_model.soundFile.empty()) return;
        const std::string key = keyOf("Sound", "FileName");
        if (!checkFile(key, "music", m_model.soundFile)) return;
        auto head = os::readFile(m_location.path(m_model.soundFile), 14);
        static constexpr uint8_t kHeader[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
        if (!head || head->size() < 14 || !std::equal(std::begin(kHeader), std::end(kHeader), head->begin()))
            error(key, "the music " + m_model.soundFile + " is not a Standard MIDI File");
    }

    void checkCutValues() {
        for (const ProfileValueLength& raw : m_file.ReachableValueLengths()) {
            if (raw.bytesInFile <= ProfileFile::kMaxValueBytes) continue;
            for (const auto& [section, key] : m_readKeys) {
                if (!sameIgnoringCase(section, raw.section) || !sameIgnoringCase(key, raw.key)) continue;
                error(keyOf(section, key), "the value is " + std::to_string(raw.bytesInFile) +
                                               " bytes long and is cut at " +
                                               std::to_string(ProfileFile::kMaxValueBytes));
                break;
            }
        }
    }

    SkinCheckReport& m_report;
    const ProfileFile& m_file;
    SkinReader m_reader;
    SkinLocation m_location;
    SkinModel m_model;
    int m_frameWidth = 0, m_frameHeight = 0;
    std::vector<std::pair<std::string, std::string>> m_readKeys;
};

// The MediaFolder of a typical install, where a packaged program unpacks its
// skin: "/home/" and a 16-character user name, then the per-user data folder.
std::string typicalMediaFolder(const std::string& stem) {
    return "/home/" + std::string(16, 'u') + "/.local/share/quellcore/" + stem + "/Media/";
}

constexpr size_t kMaxUnpackedPath = 259;

// What the unpack at the first start would refuse in the folder itself, or
// leave to readers that may read otherwise: sub-folders, names that only
// case tells apart, paths too long for the unpack, names that are not ASCII.
void checkFolderEntries(const std::filesystem::path& folder, const std::string& stem, SkinCheckReport& report) {
    std::vector<std::filesystem::path> entries;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(it->path());
    std::sort(entries.begin(), entries.end());
    const size_t prefix = typicalMediaFolder(stem).size();
    std::vector<std::pair<std::string, std::string>> seen;  // lower-case name, name
    for (const std::filesystem::path& entry : entries) {
        const std::string name = entry.filename().string();
        auto add = [&](CheckSeverity severity, std::string problem) {
            report.findings.push_back({severity, name, std::move(problem)});
        };
        if (os::isDirectory(entry.string())) {
            add(CheckSeverity::Error,
                "is a sub-folder: the unpack creates no folders, so a skin packed with it does not unpack and the "
                "program ends without a word");
            continue;
        }
        const std::string lower = ToLowerAscii(name);
        const auto clash = std::find_if(seen.begin(), seen.end(), [&](const auto& s) { return s.first == lower; });
        if (clash != seen.end())
            add(CheckSeverity::Error, "differs from " + clash->second +
                                          " only in case: where case is ignored one replaces the other when unpacked");
        seen.emplace_back(lower, name);
        if (prefix + name.size() > kMaxUnpackedPath)
            add(CheckSeverity::Error, "in a typical install folder (" + std::to_string(prefix) +
                                          " bytes before the name) its path passes " +
                                          std::to_string(kMaxUnpackedPath) + " bytes and the unpack fails");
        if (std::any_of(name.begin(), name.end(), [](char ch) { return static_cast<unsigned char>(ch) >= 0x80; }))
            add(CheckSeverity::Warning,
                "the name is not ASCII: the cabinet stores it in UTF-8 and marks it so; a reader that ignores the "
                "mark reads it as code page 932");
    }
}

}  // namespace

SkinCheckReport CheckSkinDescription(const std::string& iniPath) {
    SkinCheckReport report;
    report.descriptionPath = iniPath;
    // The same cap as ProfileFile::Load, so the check reads what a skin load would.
    std::vector<uint8_t> bytes;
    if (os::readFileCapped(iniPath, os::kMaxTextFileBytes, bytes) != os::CappedRead::Read) {
        report.findings.push_back({CheckSeverity::Error, iniPath, "the description cannot be read"});
        return report;
    }
    const ProfileFile file = ProfileFile::Parse(std::span<const uint8_t>(bytes));
    const std::string folder = std::filesystem::path(iniPath).parent_path().string();
    Checker(report, file, folder.empty() ? std::string("./") : folder).run();
    return report;
}

SkinCheckReport CheckSkinFolder(const std::string& folder) {
    std::vector<std::string> descriptions;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::filesystem::path& p = it->path();
        if (ToLowerAscii(p.extension().string()) == ".ini" && os::isRegularFile(p.string()))
            descriptions.push_back(p.string());
    }
    if (ec || !os::isDirectory(folder)) {
        SkinCheckReport report;
        report.findings.push_back({CheckSeverity::Error, folder, "not a folder that can be read"});
        return report;
    }
    if (descriptions.size() != 1) {
        SkinCheckReport report;
        report.findings.push_back({CheckSeverity::Error, folder,
                                   descriptions.empty() ? "holds no description file (*.ini)"
                                                        : "holds " + std::to_string(descriptions.size()) +
                                                              " description files (*.ini); a skin has exactly one"});
        return report;
    }
    SkinCheckReport report = CheckSkinDescription(descriptions.front());
    const std::string file = std::filesystem::path(descriptions.front()).filename().string();
    checkFolderEntries(folder, file.substr(0, file.find('.')), report);
    return report;
}

}  // namespace quell::skin
