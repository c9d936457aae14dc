#include "core/bookmarks/bookmark_html.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "core/text/utf8.h"

namespace quell::bookmarks {

namespace {

std::string escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c; break;
        }
    }
    return out;
}

void writeList(std::string& out, const std::vector<BookmarkEntry>& entries, int depth) {
    std::string indent(static_cast<size_t>(depth) * 4, ' ');
    out += indent + "<DL><p>\n";
    for (const BookmarkEntry& e : entries) {
        if (e.isFolder) {
            out += indent + "    <DT><H3>" + escape(e.title) + "</H3>\n";
            writeList(out, e.children, depth + 1);
        } else {
            out += indent + "    <DT><A HREF=\"" + escape(e.url) + "\">" + escape(e.title) + "</A>\n";
        }
    }
    out += indent + "</DL><p>\n";
}

std::string decodeEntities(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        size_t semi = text.find(';', i);
        if (semi == std::string_view::npos || semi - i > 10) {
            out += '&';
            continue;
        }
        std::string_view name = text.substr(i + 1, semi - i - 1);
        if (name == "amp") out += '&';
        else if (name == "lt") out += '<';
        else if (name == "gt") out += '>';
        else if (name == "quot") out += '"';
        else if (name == "apos") out += '\'';
        else if (name == "nbsp") out += "\xC2\xA0";
        else if (name.size() > 1 && name[0] == '#') {
            bool hex = name[1] == 'x' || name[1] == 'X';
            std::string digits(name.substr(hex ? 2 : 1));
            char* end = nullptr;
            unsigned long cp = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
            if (digits.empty() || *end != '\0') {
                out += '&';
                continue;
            }
            // A NUL is no character of a title; values past 32 bits must not wrap.
            utf8::append(out, cp == 0 || cp > 0x10FFFF ? 0xFFFD : static_cast<uint32_t>(cp));
        } else {
            out += '&';
            continue;
        }
        i = semi;
    }
    return out;
}

std::string collapseSpace(std::string_view text) {
    std::string out;
    bool space = false;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            space = !out.empty();
            continue;
        }
        if (space) out += ' ';
        space = false;
        out += c;
    }
    return out;
}

struct Tag {
    std::string name;  // upper case, "/DL" for a closing tag
    std::string_view attributes;
};

class Parser {
public:
    explicit Parser(std::string_view html) : m_html(html) {}

    std::vector<BookmarkEntry> run() {
        std::vector<BookmarkEntry> top;
        // Everything before the first list is the file's heading.
        while (auto tag = nextTag()) {
            if (tag->name == "DL") {
                parseList(top, 0);
                break;
            }
        }
        return top;
    }

private:
    static constexpr int kMaxDepth = 100;

    void parseList(std::vector<BookmarkEntry>& into, int depth) {
        BookmarkEntry* lastFolder = nullptr;
        while (auto tag = nextTag()) {
            if (tag->name == "/DL") return;
            if (tag->name == "H3") {
                BookmarkEntry folder;
                folder.isFolder = true;
                folder.title = textUntil("/H3");
                into.push_back(std::move(folder));
                lastFolder = &into.back();
            } else if (tag->name == "A") {
                BookmarkEntry link;
                link.url = decodeEntities(attribute(tag->attributes, "HREF"));
                link.title = textUntil("/A");
                into.push_back(std::move(link));
                lastFolder = nullptr;
            } else if (tag->name == "DL") {
                // A list belongs to the folder heading just before it; a
                // stray list's entries join the current level.
                std::vector<BookmarkEntry>& target = lastFolder ? lastFolder->children : into;
                if (depth >= kMaxDepth) {
                    skipList();
                } else {
                    std::vector<BookmarkEntry> children;
                    parseList(children, depth + 1);
                    for (BookmarkEntry& c : children) target.push_back(std::move(c));
                }
                lastFolder = nullptr;
            }
        }
    }

    void skipList() {
        int open = 1;
        while (open > 0) {
            auto tag = nextTag();
            if (!tag) return;
            if (tag->name == "DL") ++open;
            if (tag->name == "/DL") --open;
        }
    }

    std::optional<Tag> nextTag() {
        while (m_pos < m_html.size()) {
            size_t lt = m_html.find('<', m_pos);
            if (lt == std::string_view::npos) break;
            if (m_html.compare(lt, 4, "<!--") == 0) {
                size_t close = m_html.find("-->", lt + 4);
                m_pos = close == std::string_view::npos ? m_html.size() : close + 3;
                continue;
            }
            size_t gt = findTagEnd(lt + 1);
            if (gt == std::string_view::npos) break;
            std::string_view inside = m_html.substr(lt + 1, gt - lt - 1);
            m_pos = gt + 1;
            size_t n = 0;
            while (n < inside.size() &&
                   (std::isalnum(static_cast<unsigned char>(inside[n])) || (n == 0 && inside[n] == '/')))
                ++n;
            Tag tag;
            for (size_t k = 0; k < n; ++k)
                tag.name += static_cast<char>(std::toupper(static_cast<unsigned char>(inside[k])));
            tag.attributes = inside.substr(n);
            return tag;
        }
        m_pos = m_html.size();
        return std::nullopt;
    }

    // The '>' that ends a tag, skipping over quoted attribute values.
    size_t findTagEnd(size_t from) const {
        char quote = 0;
        for (size_t i = from; i < m_html.size(); ++i) {
            char c = m_html[i];
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                return i;
            }
        }
        return std::string_view::npos;
    }

    // The text up to the closing tag, tags inside it dropped.
    std::string textUntil(const std::string& closing) {
        std::string text;
        while (m_pos < m_html.size()) {
            size_t lt = m_html.find('<', m_pos);
            text += m_html.substr(m_pos, (lt == std::string_view::npos ? m_html.size() : lt) - m_pos);
            if (lt == std::string_view::npos) {
                m_pos = m_html.size();
                break;
            }
            m_pos = lt;
            size_t before = m_pos;
            auto tag = nextTag();
            if (!tag || tag->name == closing) break;
            if (tag->name == "DL" || tag->name == "/DL" || tag->name == "DT") {
                m_pos = before;  // a missing closing tag: leave the structure to the caller
                break;
            }
        }
        return collapseSpace(decodeEntities(text));
    }

    static std::string attribute(std::string_view attributes, std::string_view wanted) {
        size_t i = 0;
        while (i < attributes.size()) {
            while (i < attributes.size() && !std::isalpha(static_cast<unsigned char>(attributes[i]))) ++i;
            size_t nameStart = i;
            while (i < attributes.size() && (std::isalnum(static_cast<unsigned char>(attributes[i])) ||
                                             attributes[i] == '_' || attributes[i] == '-'))
                ++i;
            std::string name;
            for (size_t k = nameStart; k < i; ++k)
                name += static_cast<char>(std::toupper(static_cast<unsigned char>(attributes[k])));
            while (i < attributes.size() && attributes[i] == ' ') ++i;
            if (i >= attributes.size() || attributes[i] != '=') continue;
            ++i;
            while (i < attributes.size() && attributes[i] == ' ') ++i;
            std::string value;
            if (i < attributes.size() && (attributes[i] == '"' || attributes[i] == '\'')) {
                char quote = attributes[i++];
                size_t close = attributes.find(quote, i);
                if (close == std::string_view::npos) close = attributes.size();
                value = std::string(attributes.substr(i, close - i));
                i = close + 1;
            } else {
                size_t start = i;
                while (i < attributes.size() && attributes[i] != ' ' && attributes[i] != '\t') ++i;
                value = std::string(attributes.substr(start, i - start));
            }
            if (name == wanted) return value;
        }
        return {};
    }

    std::string_view m_html;
    size_t m_pos = 0;
};

}  // namespace

std::string WriteBookmarkHtml(const std::vector<BookmarkEntry>& entries) {
    std::string out =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
        "<!-- This is an automatically generated file.\n"
        "     It will be read and overwritten.\n"
        "     DO NOT EDIT! -->\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
        "<TITLE>Bookmarks</TITLE>\n"
        "<H1>Bookmarks</H1>\n";
    writeList(out, entries, 0);
    return out;
}

std::vector<BookmarkEntry> ParseBookmarkHtml(std::string_view html) { return Parser(html).run(); }

}  // namespace quell::bookmarks
