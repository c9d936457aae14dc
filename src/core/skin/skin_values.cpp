#include "core/skin/skin_values.h"

#include "core/os/file_system.h"

namespace quell::skin {

std::string ListCursor::field() {
    size_t comma = m_rest.find(',');
    if (comma == std::string_view::npos) return std::string();
    std::string f(m_rest.substr(0, comma));
    m_rest.remove_prefix(comma + 1);
    return f;
}

SkinRect ParseSkinRect(std::string_view text) {
    ListCursor list(text);
    SkinRect r;
    r.left = list.number();
    r.top = list.number();
    r.right = list.number();
    r.bottom = list.remainderNumber();
    return r;
}

ColourValue ParseColourTriple(std::string_view text) {
    ListCursor list(text);
    auto red = static_cast<uint8_t>(list.number() & 0xFF);
    auto green = static_cast<uint8_t>(list.number() & 0xFF);
    auto blue = static_cast<uint8_t>(list.remainderNumber() & 0xFF);
    return MakeColour(red, green, blue);
}

SkinRect SkinReader::ReadSkinRect(std::string_view section) const {
    std::string value = ReadString(section, "Position");
    if (value == kMissing) return SkinRect{};
    return ParseSkinRect(value);
}

ColourValue SkinReader::ReadSkinColour(std::string_view section, std::string_view key) const {
    std::string value = ReadString(section, key);
    if (value == kMissing) return 0;
    return ParseColourTriple(value);
}

std::string ToUpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string ToLowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string SkinLocation::path(std::string_view name) const {
    return os::resolveCaseInsensitive(mediaFolder, std::string(name));
}

std::string ConvertStartPage(std::string_view value, const SkinLocation& location) {
    std::string lower = ToLowerAscii(value);
    if (lower == "quellcard.htm") return location.path(lower);
    return lower;
}

std::optional<std::string> OutlineNameFor(std::string_view frameFileName) {
    size_t dot = frameFileName.find('.');
    if (dot == std::string_view::npos || frameFileName.size() - dot < 4) return std::nullopt;
    std::string name(frameFileName.substr(0, dot));
    name += frameFileName.substr(dot + 4);
    name += ".dat";
    return name;
}

}  // namespace quell::skin
