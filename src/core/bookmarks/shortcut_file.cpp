#include "core/bookmarks/shortcut_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <utility>

#include "core/text/utf8.h"

namespace quell::bookmarks {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "[InternetShortcut]";

bool readLine(std::ifstream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    // The format's CR LF line ends: drop the CR the way a text-mode read would.
    if (!line.empty() && line.back() == '\r') line.pop_back();
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
    std::error_code ec;
    if (fs::is_directory(diskPath, ec)) return false;
    std::ifstream in(diskPath, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (readLine(in, line)) {
        if (line.find(kHeader) == std::string::npos) continue;
        if (!readLine(in, line)) return false;
        std::string found = line.size() > 4 ? line.substr(4) : std::string();
        if (found.empty()) return false;
        url = std::move(found);
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
