// quellkit skin pack: a copy of the program with a skin folder's cabinet and
// the 4-byte length trailer appended, named after the skin's description file.
// A skin that skin check finds errors in is refused unless --force is given.
#include <cstdio>

#include "commands.h"
#include "core/skin/skin_check.h"
#include "skin_packer.h"

namespace quellkit {

int runSkinPack(const Args& given) {
    Args args;
    bool force = false;
    for (const std::string& arg : given) {
        if (arg == "--force") force = true;
        else args.push_back(arg);
    }
    if (!args.empty() && args[0] == "pack") args.erase(args.begin());
    if (args.size() != 3) return usage("skin pack SKINDIR PROGRAM OUT [--force]");

    const quell::skin::SkinCheckReport check = quell::skin::CheckSkinFolder(args[0]);
    for (const quell::skin::CheckFinding& finding : check.findings)
        std::fprintf(stderr, "%s\n", quell::skin::FormatFinding(finding).c_str());
    if (check.errorCount() > 0 && !force)
        return fail("the skin has " + std::to_string(check.errorCount()) +
                    " error(s), listed above; --force packs it as it is");

    const PackResult packed = packSkin(args[0], args[1], args[2]);
    for (const std::string& warning : packed.warnings) std::fprintf(stderr, "warning: %s\n", warning.c_str());
    if (!packed.ok) return fail(packed.error);
    std::printf("%s\n", packed.path.c_str());
    return 0;
}

}  // namespace quellkit
