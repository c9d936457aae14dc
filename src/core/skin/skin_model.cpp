#include "core/skin/skin_model.h"

#include <cstdio>

namespace quell::skin {

namespace {

std::string numbered(std::string_view stem, int32_t n) { return std::string(stem) + std::to_string(n); }

void readPictures(const SkinReader& reader, SkinModel& model) {
    int32_t count = reader.ReadInt("AnimationGif", "NumberOfGif");
    for (int32_t i = 0; i < count; ++i) {
        std::string key = numbered("Gif", i);
        std::string value = reader.ReadString("AnimationGif", key);
        if (value == kMissing) {
            model.missingPictures.push_back({key, ""});
            return;
        }
        model.pictures.push_back(ParsePictureEntry(value));
    }
}

void readButtons(const SkinReader& reader, SkinModel& model) {
    for (const ButtonKind& kind : kButtonKinds) {
        int32_t count = reader.ReadInt("Button", std::string(kind.keyStem) + "No");
        for (int32_t i = 0; i < count; ++i) {
            std::string key = numbered(kind.keyStem, i);
            std::string value = reader.ReadString("Button", key);
            if (value == kMissing) {
                model.missingButtons.push_back({key, ""});
                break;
            }
            model.buttons.push_back(ParseButtonEntry(key, value, kind.commandCode, i));
        }
    }
}

void readTexts(const SkinReader& reader, SkinModel& model) {
    int32_t count = reader.ReadInt("Text", "TextNo");
    for (int32_t i = 0; i < count; ++i) {
        std::string key = numbered("Text", i);
        std::string value = reader.ReadString("Text", key);
        if (value == kMissing) {
            model.missingTexts.push_back({key, std::string(kTextEntryMessage)});
            return;
        }
        model.texts.push_back(ParseTextEntry(value));
    }
}

}  // namespace

SkinMusic ReadSkinMusic(const ProfileFile& file) {
    SkinReader reader(file);
    SkinMusic music;
    std::string name = reader.ReadString("Sound", "FileName");
    if (name != kMissing) music.file = name;
    music.repeat = ToUpperAscii(reader.ReadString("Sound", "Repeat")) == "ON";
    return music;
}

SkinModel ReadSkinModel(const ProfileFile& file, const SkinLocation& location) {
    SkinReader reader(file);
    SkinModel model;
    model.frameFile = reader.ReadString("FrameBitmap", "FileName");
    if (model.hasFrame()) model.outlineName = OutlineNameFor(model.frameFile);

    model.browserRect = reader.ReadSkinRect("WebBrowser");
    std::string start = reader.ReadString("WebBrowser", "StartPage");
    model.startPage = start == kMissing ? start : ConvertStartPage(start, location);

    model.addressBarRect = reader.ReadSkinRect("AddressBar");
    if (model.addressBarRect.isSet()) {
        model.addressFont = reader.ReadString("AddressBar", "Font");
        model.addressFontSize = reader.ReadInt("AddressBar", "FontSize");
    }

    if (reader.ReadString("StatusBar", "Position") != kMissing) {
        model.hasStatusBar = true;
        model.statusRect = reader.ReadSkinRect("StatusBar");
        std::string face = reader.ReadString("StatusBar", "Font");
        model.statusFont = face == kMissing ? std::string() : face;
        model.statusFontSize = reader.ReadInt("StatusBar", "FontSize");
        model.statusColour = reader.ReadSkinColour("StatusBar", "FontColor");
    }

    model.progressRect = reader.ReadSkinRect("ProgressBar");
    if (model.progressRect.isSet()) {
        model.progressVertical = ToUpperAscii(reader.ReadString("ProgressBar", "Direction")) == "VERTICAL";
        model.progressSmooth = ToUpperAscii(reader.ReadString("ProgressBar", "Smooth")) == "TRUE";
        model.progressGradient = ToUpperAscii(reader.ReadString("ProgressBar", "Gradient")) == "TRUE";
        if (model.progressGradient) {
            model.progressStart = reader.ReadSkinColour("ProgressBar", "StartColor");
            model.progressEnd = reader.ReadSkinColour("ProgressBar", "EndColor");
            model.progressBack = reader.ReadSkinColour("ProgressBar", "BackColor");
        }
    }

    model.navigationGifRect = reader.ReadSkinRect("NavigationGif");
    if (model.navigationGifRect.isSet()) model.navigationGifFile = reader.ReadString("NavigationGif", "FileName");

    readPictures(reader, model);
    readButtons(reader, model);
    readTexts(reader, model);

    SkinMusic music = ReadSkinMusic(file);
    model.soundFile = music.file;
    model.soundRepeat = music.repeat;
    return model;
}

namespace {

std::string rectText(const SkinRect& r) {
    if (!r.isSet()) return "unset";
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

std::string colourText(ColourValue c) {
    return std::to_string(c & 0xFF) + "," + std::to_string((c >> 8) & 0xFF) + "," + std::to_string((c >> 16) & 0xFF);
}

std::string quoted(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

void describeMissing(std::string& out, const MissingEntry& m) {
    out += "missing " + m.key + " message " + quoted(m.message) + "\n";
}

}  // namespace

std::string DescribeSkinModel(const SkinModel& m) {
    std::string out;
    out += "frame " + quoted(m.frameFile) + "\n";
    out += "outline " + (m.outlineName ? quoted(*m.outlineName) : std::string("none")) + "\n";
    out += "browser " + rectText(m.browserRect) + "\n";
    out += "startpage " + (m.opensHomePage() ? std::string("home") : quoted(m.startPage)) + "\n";
    if (m.addressBarRect.isSet())
        out += "addressbar " + rectText(m.addressBarRect) + " font " + quoted(m.addressFont) + " size " +
               std::to_string(m.addressFontSize) + "\n";
    else out += "addressbar none\n";
    if (m.hasStatusBar)
        out += "statusbar " + rectText(m.statusRect) + " font " + quoted(m.statusFont) + " size " +
               std::to_string(m.statusFontSize) + " colour " + colourText(m.statusColour) + "\n";
    else out += "statusbar none\n";
    if (m.progressRect.isSet()) {
        out += "progress " + rectText(m.progressRect) + (m.progressGradient ? " gradient" : " standard") +
               (m.progressVertical ? " vertical" : " horizontal") + (m.progressSmooth ? " smooth" : " segmented");
        if (m.progressGradient)
            out += " start " + colourText(m.progressStart) + " end " + colourText(m.progressEnd) + " back " +
                   colourText(m.progressBack);
        out += "\n";
    } else {
        out += "progress none\n";
    }
    if (m.navigationGifRect.isSet())
        out += "navigationgif " + std::to_string(m.navigationGifRect.left) + "," +
               std::to_string(m.navigationGifRect.top) + " " + quoted(m.navigationGifFile) + "\n";
    else out += "navigationgif none\n";

    for (size_t i = 0; i < m.pictures.size(); ++i) {
        const PictureEntry& p = m.pictures[i];
        out += "picture Gif" + std::to_string(i) + " " + quoted(p.file) + " at " + std::to_string(p.x) + "," +
               std::to_string(p.y) + "\n";
    }
    for (const MissingEntry& e : m.missingPictures) describeMissing(out, e);

    for (const ButtonKind& kind : kButtonKinds) {
        for (const ButtonEntry& b : m.buttons) {
            if (b.kind != kind.commandCode) continue;
            out += "button " + std::string(kind.keyStem) + std::to_string(b.index) + " code " + std::to_string(b.kind) +
                   " normal " + quoted(b.normalImage) + " pressed " + quoted(b.pressedImage) + " hover " +
                   quoted(b.hoverImage) + " at " + std::to_string(b.x) + "," + std::to_string(b.y) + " size " +
                   std::to_string(b.width) + "x" + std::to_string(b.height) + " key " +
                   (b.keyColour == -1 ? std::string("none") : std::to_string(b.keyColour)) + " tooltip " +
                   quoted(b.tooltip.empty() ? kind.defaultTooltip : b.tooltip) + " sound " + quoted(b.sound);
            if (b.kind == commands::kDirect || b.kind == commands::kExecute) out += " target " + quoted(b.target);
            out += "\n";
        }
        for (const MissingEntry& e : m.missingButtons) {
            if (e.key.rfind(kind.keyStem, 0) == 0 &&
                e.key.find_first_not_of("0123456789", kind.keyStem.size()) == std::string::npos)
                describeMissing(out, e);
        }
    }

    for (size_t i = 0; i < m.texts.size(); ++i) {
        const TextEntry& t = m.texts[i];
        out += "text Text" + std::to_string(i) + " face " + quoted(t.face) + " colours " +
               std::to_string(t.normalColour) + "," + std::to_string(t.hoverColour) + "," +
               std::to_string(t.thirdColour) + " size " + std::to_string(t.size) + " style " + (t.bold ? "b" : "-") +
               (t.italic ? "i" : "-") + (t.underline ? "u" : "-") + " at " + std::to_string(t.x) + "," +
               std::to_string(t.y) + " size " + std::to_string(t.width) + "x" + std::to_string(t.height) + " action " +
               std::to_string(t.action) + " caption " + quoted(t.caption);
        if (t.action == commands::kDirect || t.action == commands::kExecute) out += " argument " + quoted(t.argument);
        out += "\n";
    }
    for (const MissingEntry& e : m.missingTexts) describeMissing(out, e);

    out += "sound " + (m.soundFile.empty() ? std::string("none") : quoted(m.soundFile)) +
           (m.soundRepeat ? " repeat on" : " repeat off") + "\n";
    return out;
}

}  // namespace quell::skin
