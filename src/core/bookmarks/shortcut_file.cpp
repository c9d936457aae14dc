#include "core/bookmarks/shortcut_file.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

#include "core/os/file_system.h"
#include "core/text/utf8.h"

namespace quell::bookmarks {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "[InternetShortcut]";

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

bool ReadShortcutUrl(const std::string& diskPath, std::string& url) {
    std::vector<uint8_t> bytes;
    if (os::readFileCapped(diskPath, os::kMaxTextFileBytes, bytes) != os::CappedRead::Read) return false;
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::string_view line;
    while (readLine(text, line)) {
        if (line.find(kHeader) == std::string_view::npos) continue;
        if (!readLine(text, line) || line.size() <= 4) return false;
        url = std::string(line.substr(4));
        return true;
    }
    return false;
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
    std::string text = std::string(kHeader) + "\r\nURL=" + url + "\r\n";
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
