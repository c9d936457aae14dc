// quellkit skin describe | check | pack | deb | map | new.
#include <cstdio>

#include "commands.h"
#include "core/os/file_system.h"
#include "core/skin/profile_file.h"
#include "core/skin/skin_model.h"

namespace quellkit {

namespace {

int describe(const Args& args) {
    if (args.size() != 1) return usage("skin describe SKININI");
    const std::string& path = args[0];
    if (!quell::os::isRegularFile(path)) return fail("cannot read " + path);
    size_t slash = path.rfind('/');
    quell::skin::SkinLocation location{slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1)};
    auto model = quell::skin::ReadSkinModel(quell::skin::ProfileFile::Load(path), location);
    std::fputs(quell::skin::DescribeSkinModel(model).c_str(), stdout);
    return 0;
}

}  // namespace

int runSkin(const Args& args) {
    const char* line =
        "skin describe SKININI | skin check SKINDIR | skin pack SKINDIR PROGRAM OUT | skin deb SKINDIR PROGRAM OUT.deb "
        "| "
        "skin map SKINDIR OUT.png | skin new NAME DIR";
    if (args.empty()) return usage(line);
    Args rest(args.begin() + 1, args.end());
    if (args[0] == "describe") return describe(rest);
    if (args[0] == "check") return runSkinCheck(rest);
    if (args[0] == "pack") return runSkinPack(rest);
    if (args[0] == "deb") return runSkinDeb(rest);
    if (args[0] == "map") return runSkinMap(rest);
    if (args[0] == "new") return runSkinNew(rest);
    return usage(line);
}

}  // namespace quellkit
