// quellkit skin check SKINDIR: one line per problem the skin would have when
// it loads, with the key concerned; exit 1 when any of them is an error.
#include <cstdio>

#include "commands.h"
#include "core/skin/skin_check.h"

namespace quellkit {

int runSkinCheck(const Args& args) {
    if (args.size() != 1) return usage("skin check SKINDIR");
    const quell::skin::SkinCheckReport report = quell::skin::CheckSkinFolder(args[0]);
    for (const quell::skin::CheckFinding& finding : report.findings)
        std::printf("%s\n", quell::skin::FormatFinding(finding).c_str());
    const int errors = report.errorCount();
    const int warnings = report.warningCount();
    std::printf("%s: %d error%s, %d warning%s\n",
                report.descriptionPath.empty() ? args[0].c_str() : report.descriptionPath.c_str(), errors,
                errors == 1 ? "" : "s", warnings, warnings == 1 ? "" : "s");
    return errors > 0 ? 1 : 0;
}

}  // namespace quellkit
