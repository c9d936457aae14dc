// quellkit skin pack: a copy of the program with a skin folder's cabinet and
// the 4-byte length trailer appended, named after the skin's description file.
#include <cstdio>

#include "commands.h"
#include "skin_packer.h"

namespace quellkit {

int runSkinPack(const Args& given) {
    Args args = given;
    if (!args.empty() && args[0] == "pack") args.erase(args.begin());
    if (args.size() != 3) return usage("skin pack SKINDIR PROGRAM OUT");
    const PackResult packed = packSkin(args[0], args[1], args[2]);
    for (const std::string& warning : packed.warnings) std::fprintf(stderr, "warning: %s\n", warning.c_str());
    if (!packed.ok) return fail(packed.error);
    std::printf("%s\n", packed.path.c_str());
    return 0;
}

}  // namespace quellkit
