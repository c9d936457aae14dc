#include "commands.h"
namespace quellkit {
int runSkin(const Args& args) {
    if (!args.empty() && args[0] == "check") return runSkinCheck(Args(args.begin() + 1, args.end()));
    return fail("this subcommand is not built yet");
}
}  // namespace quellkit
