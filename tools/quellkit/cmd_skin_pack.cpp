// Placeholder until this subcommand's module lands.
#include "commands.h"

namespace quellkit {

int runSkinPack(const Args&) { return fail("this subcommand is not built yet"); }

}  // namespace quellkit
