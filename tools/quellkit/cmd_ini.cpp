// quellkit ini [--int] FILE SECTION KEY: one value, read exactly as a skin is read.
#include <cstdio>

#include "commands.h"
#include "core/os/file_system.h"
#include "core/skin/profile_file.h"
#include "core/skin/skin_values.h"

namespace quellkit {

int runIni(const Args& args) {
    const char* line = "ini [--int] FILE SECTION KEY";
    bool asInt = !args.empty() && args[0] == "--int";
    size_t first = asInt ? 1 : 0;
    if (args.size() != first + 3) return usage(line);
    const std::string& path = args[first];
    if (!quell::os::isRegularFile(path)) return fail("cannot read " + path);
    auto file = quell::skin::ProfileFile::Load(path);
    if (asInt) {
        std::printf("%d\n", file.ReadInt(args[first + 1], args[first + 2], -1));
    } else {
        std::string value = file.ReadString(args[first + 1], args[first + 2], quell::skin::kMissing);
        std::printf("%s\n", value.c_str());
    }
    return 0;
}

}  // namespace quellkit
