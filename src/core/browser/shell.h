#pragma once
// Opening addresses and a skin's own entries with the desktop's programs.
#include <string>
#include <string_view>

namespace quell::browser {

class Shell {
public:
    virtual ~Shell() = default;
    // Hands a web, mail or file address to the desktop's program for it.
    // Any other text, and any other scheme, is refused; nothing is started.
    virtual bool OpenAddress(const std::string& address) = 0;
    // Runs one of the skin's own entries from its description file: an
    // address, an existing file, or a command line that starts a program.
    // Text from web pages never comes here.
    virtual bool RunSkinEntry(const std::string& entry) = 0;
};

// The scheme of an address ("http" for "HTTP://x"), lower-cased; empty when
// the text does not start with one. One letter before the colon is a drive
// letter, not a scheme.
std::string AddressScheme(std::string_view text);

// The schemes OpenAddress hands on: http, https, ftp, mailto and file.
bool IsOpenableScheme(std::string_view scheme);

// Whether a window a page asks for (after a user's click) may go to the
// desktop: web and mail addresses always, file addresses only from a page
// that is itself a local file, nothing else.
bool MayOpenNewWindow(std::string_view targetScheme, std::string_view requestingPageScheme);

}  // namespace quell::browser
