#include "core/bookmarks/shortcut_file.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

#include "core/os/file_system.h"
#include "core/text/text_codec.h"
#include "core/text/utf8.h"

namespace quell::bookmarks {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "InternetShortcut";
// Where Windows keeps the Unicode form of a URL its code page cannot hold.
constexpr std::string_view kWideHeader = "InternetShortcut.W";

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool sameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// Takes the next line of text, up to a line feed or the end; false at the end.
bool readLine(std::string_view& text, std::string_view& line) {
    if (text.empty()) return false;
    const size_t end = text.find('\n');
    line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    // The format's CR LF line ends: drop the CR the way a text-mode read would.
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
}

std::string temporaryNameBeside(const fs::path& target) {
    static std::mt19937_64 generator{std::random_device{}()};
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".quell-%016llx.tmp", static_cast<unsigned long long>(generator()));
    return (target.parent_path() / suffix).string();
}

}  // namespace

bool ParseShortcutUrl(std::string_view bytes, std::string& url) {
    // A file saved as UTF-16 reads as UTF-8 from here on.
    const std::string text = text::textAfterByteOrderMark(bytes);
    std::string_view rest(text);
    std::string_view line;
    std::string_view section;
    std::optional<std::string_view> ansi, wide;
    while (readLine(rest, line)) {
        line = trimBlanks(line);
        if (!line.empty() && line.front() == '[') {
            // As in a skin description, text after "]" is ignored and a header
            // without one still names its section.
            section = trimBlanks(line.substr(1, line.find(']') - 1));
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos || !sameLetters(trimBlanks(line.substr(0, equals)), "URL")) continue;
        const std::string_view value = trimBlanks(line.substr(equals + 1));
        // The first URL of a section counts, as a profile reader finds it.
        if (sameLetters(section, kHeader) && !ansi) ansi = value;
        else if (sameLetters(section, kWideHeader) && !wide) wide = value;
    }
    if (!ansi) return false;
    std::string found = wide && !wide->empty() ? text::utf7ToUtf8(*wide) : text::decodeLegacyText(*ansi);
    // An empty value leads nowhere.
    if (found.empty()) return false;
    url = std::move(found);
    return true;
}

bool ReadShortcutUrl(const std::string& diskPath, std::string& url) {
    std::vector<uint8_t> bytes;
    if (os::readFileCapped(diskPath, os::kMaxTextFileBytes, bytes) != os::CappedRead::Read) return false;
    return ParseShortcutUrl(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), url);
}

bool WriteShortcut(const std::string& diskPath, const std::string& url) {
    if (url.find_first_of("\r\n") != std::string::npos) return false;
    const fs::path target(diskPath);
    std::error_code ec;
    if (fs::is_directory(target, ec)) return false;

    std::string temporary = temporaryNameBeside(target);
    // "x" refuses to open a file that already exists, so a stray name clash
    // never truncates somebody else's file.
    std::FILE* file = std::fopen(temporary.c_str(), "wbx");
    if (!file) return false;
    std::string text = "[" + std::string(kHeader) + "]\r\nURL=" + url + "\r\n";
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (written) {
        fs::rename(temporary, target, ec);
        written = !ec;
    }
    if (!written) fs::remove(temporary, ec);
    return written;
}

std::string MakeShortcutName(std::string_view title) {
    std::string name(title);
    for (char& c : name) {
        switch (c) {
        case ':':
        case '\\':
        case '/':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|': c = '-'; break;
        default: break;
        }
    }
    return name;
}

std::string BookmarkFileName(std::string_view title) {
    constexpr size_t kMaxTitleBytes = 255 - 4;
    std::string name = MakeShortcutName(title);
    name = utf8::cutAtBoundary(std::move(name), kMaxTitleBytes);
    // Line breaks and other control characters are legal in Linux names but
    // make a file nobody can handle; a title never needs them.
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return name + ".url";
}

}  // namespace quell::bookmarks
