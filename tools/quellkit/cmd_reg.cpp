#include "commands.h"
namespace quellkit {
int runReg(const Args&) { return fail("this subcommand is not built yet"); }
}  // namespace quellkit
