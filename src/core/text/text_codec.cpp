#include "core/text/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

#include "core/text/utf8.h"

namespace quell::text {

namespace {
constexpr const char kReplacement[] = "\xEF\xBF\xBD";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16leMark = "\xFF\xFE";

// A lead byte of code page 932 followed by a byte in the trail byte range.
bool isCodePage932Pair(char lead, char trail) {
    const auto l = static_cast<unsigned char>(lead), t = static_cast<unsigned char>(trail);
    const bool isLead = (l >= 0x81 && l <= 0x9F) || (l >= 0xE0 && l <= 0xFC);
    const bool isTrail = (t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC);
    return isLead && isTrail;
}
}  // namespace

ByteOrderMark sniffByteOrderMark(std::string_view bytes) {
    if (bytes.starts_with(kUtf16leMark)) return ByteOrderMark::Utf16le;
    if (bytes.starts_with(kUtf8Mark)) return ByteOrderMark::Utf8;
    return ByteOrderMark::None;
}

std::string textAfterByteOrderMark(std::string_view bytes, ByteOrderMark* mark) {
    const ByteOrderMark found = sniffByteOrderMark(bytes);
    if (mark) *mark = found;
    switch (found) {
    case ByteOrderMark::Utf16le: return utf16leToUtf8(bytes.substr(kUtf16leMark.size()));
    case ByteOrderMark::Utf8: return std::string(bytes.substr(kUtf8Mark.size()));
    case ByteOrderMark::None: break;
    }
    return std::string(bytes);
}

namespace {

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

std::string utf7ToUtf8(std::string_view s) {
    std::string out;
    uint32_t pendingHigh = 0;  // a high surrogate waiting for its low half
    auto putUnit = [&](uint32_t unit) {
        if (unit >= 0xDC00 && unit <= 0xDFFF && pendingHigh) {
            utf8::append(out, 0x10000 + ((pendingHigh - 0xD800) << 10) + (unit - 0xDC00));
            pendingHigh = 0;
            return;
        }
        if (pendingHigh) utf8::append(out, 0xFFFD);
        pendingHigh = 0;
        if (unit >= 0xD800 && unit <= 0xDBFF) pendingHigh = unit;
        else utf8::append(out, unit);  // a lone low surrogate becomes U+FFFD there
    };
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] != '+') {
            if (pendingHigh) utf8::append(out, 0xFFFD);
            pendingHigh = 0;
            out += s[i++];
            continue;
        }
        ++i;
        if (i < s.size() && s[i] == '-') {
            out += '+';
            ++i;
            continue;
        }
        uint32_t bits = 0;
        int count = 0;
        while (i < s.size()) {
            const int v = base64Value(s[i]);
            if (v < 0) break;
            bits = (bits << 6) | static_cast<uint32_t>(v);
            count += 6;
            if (count >= 16) {
                count -= 16;
                putUnit((bits >> count) & 0xFFFF);
            }
            ++i;
        }
        if (i < s.size() && s[i] == '-') ++i;
    }
    if (pendingHigh) utf8::append(out, 0xFFFD);
    return out;
}

std::string repairUtf8(std::string_view s) {
    static constexpr char kReplacement[] = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        // The length a lead byte announces and the range its second byte must
        // fall in, which rules out overlong forms, surrogates and values past
        // U+10FFFF; later bytes are plain continuation bytes.
        size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) length = 2;
        else if (c == 0xE0) length = 3, low = 0xA0;
        else if (c >= 0xE1 && c <= 0xEC) length = 3;
        else if (c == 0xED) length = 3, high = 0x9F;
        else if (c >= 0xEE && c <= 0xEF) length = 3;
        else if (c == 0xF0) length = 4, low = 0x90;
        else if (c >= 0xF1 && c <= 0xF3) length = 4;
        else if (c == 0xF4) length = 4, high = 0x8F;
        size_t good = length == 0 ? 0 : 1;
        while (good > 0 && good < length && i + good < s.size()) {
            const auto cc = static_cast<unsigned char>(s[i + good]);
            const bool fits = good == 1 ? cc >= low && cc <= high : (cc & 0xC0) == 0x80;
            if (!fits) break;
            ++good;
        }
        if (length != 0 && good == length) {
            out.append(s.substr(i, length));
            i += length;
        } else {
            out += kReplacement;
            i += good == 0 ? 1 : good;
        }
    }
    return out;
}

bool isValidUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        size_t len;
        uint32_t min;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if ((c & 0xE0) == 0xC0) {
            len = 2;
            min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            min = 0x10000;
        } else return false;
        if (i + len > s.size()) return false;
        uint32_t cp = c & (0x7F >> len);
        for (size_t k = 1; k < len; ++k) {
            auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += len;
    }
    return true;
}

std::string decodeLegacyText(std::string_view bytes) {
    if (isValidUtf8(bytes)) return std::string(bytes);
    return decodeCodePage932(bytes);
}

std::string decodeCodePage932(std::string_view bytes) {
    bool ascii = true;
    for (char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) return std::string(bytes);
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) cd = iconv_open("UTF-8", "SHIFT_JIS");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        std::string out;
        for (char c : bytes) {
            if (static_cast<unsigned char>(c) < 0x80) out += c;
            else out += kReplacement;
        }
        return out;
    }
    std::string out;
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* o = buffer;
        size_t oLeft = sizeof buffer;
        size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buffer, static_cast<size_t>(o - buffer));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // An invalid or truncated sequence: show one replacement and go on.
            // A lead byte takes the trail byte after it along, so that an
            // unassigned pair never leaves its trail byte (which may be '\')
            // standing on its own.
            const size_t skipped = inLeft >= 2 && isCodePage932Pair(in[0], in[1]) ? 2 : 1;
            out += kReplacement;
            in += skipped;
            inLeft -= skipped;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

std::string utf16leToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    size_t n = bytes.size() / 2;
    auto unit = [&](size_t k) {
        return static_cast<uint16_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                     (static_cast<unsigned char>(bytes[2 * k + 1]) << 8));
    };
    for (size_t k = 0; k < n; ++k) {
        uint32_t u = unit(k);
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < n) {
            uint32_t low = unit(k + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                utf8::append(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++k;
                continue;
            }
        }
        if (u >= 0xD800 && u <= 0xDFFF) {
            out += kReplacement;
            continue;
        }
        utf8::append(out, u);
    }
    return out;
}

}  // namespace quell::text
