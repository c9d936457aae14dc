// quellkit history: the list the address bar would offer, and where it came
// from, read exactly as the program reads it.
#include <cstdio>

#include "commands.h"
#include "core/browser/typed_url_history.h"

namespace quellkit {

int runHistory(const Args& args) {
    if (!args.empty()) return usage("history");
    const quell::registry::RegistryReader registry;
    const quell::browser::TypedUrlList list =
        quell::browser::LoadTypedUrls(registry, quell::history::DesktopEnvironment::FromProcess());
    std::printf("source: %s\n", list.source.c_str());
    for (const std::string& url : list.urls) std::printf("%s\n", url.c_str());
    return 0;
}

}  // namespace quellkit
