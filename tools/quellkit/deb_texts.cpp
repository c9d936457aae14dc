#include "deb_texts.h"

#include <cstdio>

namespace quellkit {
namespace {

bool isLowerAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }
bool isAlnum(char c) { return isLowerAlnum(c) || (c >= 'A' && c <= 'Z'); }

// The maintainer's name without the address, for texts that name a person.
std::string nameOf(const std::string& maintainer) {
    std::string name = maintainer.substr(0, maintainer.find('<'));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

// roff treats '-' as a hyphen and '\' as an escape; names are written as typed.
std::string roffEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '-' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

}  // namespace

std::string DebProgramFolder(const DebIdentity& id) { return "/usr/lib/" + id.name + "/"; }

std::optional<std::string> DebPackageName(const std::string& stem) {
    std::string name;
    for (char c : stem) name += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (name.size() < 2 || !isLowerAlnum(name.front())) return std::nullopt;
    for (char c : name) {
        if (!isLowerAlnum(c) && c != '+' && c != '-' && c != '.') return std::nullopt;
    }
    return name;
}

bool IsDebVersion(const std::string& version) {
    if (version.empty() || version.front() < '0' || version.front() > '9') return false;
    for (char c : version) {
        if (!isAlnum(c) && c != '.' && c != '+' && c != '~' && c != '-') return false;
    }
    return version.back() != '-';
}

bool IsDebMaintainer(const std::string& maintainer) {
    const size_t open = maintainer.find(" <");
    const size_t at = maintainer.find('@', open == std::string::npos ? 0 : open);
    return open != std::string::npos && open > 0 && at != std::string::npos && at > open + 2 &&
           maintainer.size() > at + 2 && maintainer.back() == '>' && maintainer.find('\n') == std::string::npos;
}

std::string DebControlText(const DebIdentity& id, const std::string& depends, const std::string& recommends,
                           unsigned long installedSizeKiB) {
    std::string text = "Package: " + id.package + "\nVersion: " + id.version + "\nArchitecture: " + id.architecture +
                       "\nMaintainer: " + id.maintainer + "\nInstalled-Size: " + std::to_string(installedSizeKiB) +
                       "\nDepends: " + depends + "\n";
    if (!recommends.empty()) text += "Recommends: " + recommends + "\n";
    text += "Section: web\nPriority: optional\n";
    text += "Description: skinned web browser dressed in the " + id.name +
            " look\n"
            " A web browser whose whole window is the " +
            id.name +
            " skin: a shaped frame with\n"
            " its own buttons, address bar, status text and pictures around the page.\n"
            " It unpacks its skin into ~/.local/share/quellcore/" +
            id.name + "/ of each user.\n";
    return text;
}

std::string DebLauncherText(const DebIdentity& id) {
    return "#!/bin/sh\nexec " + DebProgramFolder(id) + id.name + " \"$@\"\n";
}

std::string DebDesktopEntryText(const DebIdentity& id) {
    return "[Desktop Entry]\nType=Application\nName=" + id.name +
           "\nGenericName=Web Browser\nComment=A skinned window on the web\nExec=/usr/bin/" + id.package +
           "\nIcon=" + id.package +
           "\nTerminal=false\nCategories=Network;WebBrowser;\nKeywords=web;browser;internet;skin;\nStartupWMClass=" +
           id.name + "\n";
}

std::string DebCopyrightText(const DebIdentity& id, int year) {
    return "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\nUpstream-Name: " + id.name +
           "\nUpstream-Contact: " + id.maintainer + "\n\nFiles: *\nCopyright: " + std::to_string(year) + " " +
           nameOf(id.maintainer) +
           "\nLicense: other\n The program and its skin are distributed by the maintainer named above,\n"
           " who gives the terms of their use.\n";
}

std::string DebChangelogText(const DebIdentity& id, const std::string& date) {
    return id.package + " (" + id.version + ") unstable; urgency=medium\n\n  * The " + id.name +
           " skin, packed and packaged by quellkit skin deb.\n\n -- " + id.maintainer + "  " + date + "\n";
}

std::string DebManPageText(const DebIdentity& id) {
    const std::string command = roffEscaped(id.package);
    std::string upper;
    for (char c : command) upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return ".TH " + upper + " 1 \"\" \"" + roffEscaped(id.version) + "\" \"User Commands\"\n.SH NAME\n" + command +
           " \\- skinned web browser dressed in the " + roffEscaped(id.name) + " look\n.SH SYNOPSIS\n.B " + command +
           "\n.SH DESCRIPTION\n.B " + command +
           "\nopens one shaped window that carries its own skin and browses the web in it.\n"
           "It takes no options.\n.SH FILES\n.TP\n.I ~/.local/share/quellcore/" +
           roffEscaped(id.name) + "/Media/\nThe skin, unpacked on the first start.\n.TP\n.I ~/.local/share/quellcore/" +
           roffEscaped(id.name) +
           "/Photo.bmp\nThe picture shown on the frame when the program's folder holds none.\n.TP\n"
           ".I ~/.local/share/quellcore/typed\\-urls\nThe addresses entered in the address bar, most recent first.\n";
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

}  // namespace quellkit
