// quellkit: the command-line companion for skin authors and for tests.
#include <cstdio>
#include <cstring>
#include <string>

#include "commands.h"

namespace quellkit {

int fail(const std::string& reason) {
    std::fprintf(stderr, "error: %s\n", reason.c_str());
    return 1;
}

int usage(const std::string& line) {
    std::fprintf(stderr, "usage: quellkit %s\n", line.c_str());
    return 2;
}

}  // namespace quellkit

namespace {

struct Command {
    const char* name;
    int (*run)(const quellkit::Args&);
    const char* summary;
};

const Command kCommands[] = {
    {"ini", quellkit::runIni, "ini [--int] FILE SECTION KEY"},
    {"skin", quellkit::runSkin,
     "skin describe SKININI | skin check SKINDIR | skin pack SKINDIR PROGRAM OUT | skin deb SKINDIR PROGRAM OUT.deb "
     "[--version V] [--maintainer M] [--photo FILE] [--json] | skin map SKINDIR OUT.png | skin new NAME DIR"},
    {"reg", quellkit::runReg, "reg FILE ROOT PATH"},
    {"cab", quellkit::runCab, "cab list FILE | cab extract FILE DESTDIR | cab make OUT FILE..."},
    {"bmp", quellkit::runBmp, "bmp FILE OUT.ppm"},
    {"gif", quellkit::runGif, "gif info FILE | gif frames FILE PREFIX"},
    {"midi", quellkit::runMidi, "midi FILE | midi render FILE OUT.wav"},
    {"favorites", quellkit::runFavorites, "favorites list | favorites export OUT.html | favorites import IN.html"},
    {"history", quellkit::runHistory, "history"},
};

int printUsage() {
    std::fprintf(stderr, "usage:\n");
    for (const Command& c : kCommands) std::fprintf(stderr, "  quellkit %s\n", c.summary);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return printUsage();
    for (const Command& c : kCommands) {
        if (std::strcmp(argv[1], c.name) == 0) {
            quellkit::Args args(argv + 2, argv + argc);
            return c.run(args);
        }
    }
    return printUsage();
}
