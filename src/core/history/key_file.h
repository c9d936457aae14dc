#pragma once
// The "[Section]" and "Key=Value" text that desktop settings files use
// (mimeapps.list, Firefox's profiles.ini): read whole, nothing cut.
#include <string>
#include <string_view>
#include <vector>

namespace quell::history {

// The text without the spaces, tabs and line ends around it.
std::string_view TrimBlanks(std::string_view text);

class KeyFile {
public:
    // Lines starting with '#' or ';' are comments; blanks around names and
    // values and a carriage return at a line end are dropped.
    static KeyFile Parse(std::string_view text);
    // A missing or unreadable file, or one over os::kMaxTextFileBytes, is empty.
    static KeyFile Load(const std::string& path);

    struct Entry {
        std::string key, value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        // The first value of the key (names match exactly), or empty.
        std::string value(std::string_view key) const;
    };
    const std::vector<Section>& sections() const { return m_sections; }

private:
    std::vector<Section> m_sections;
};

}  // namespace quell::history
