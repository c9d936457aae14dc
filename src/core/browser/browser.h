#pragma once
// The hosted browser as the rest of the program drives it, and the events it
// raises. The engine adapter in the ui layer implements both directions.
#include <cstdint>
#include <optional>
#include <string>

namespace quell::browser {

// Document command groups: the standard group and the browser's own
// (1 find, 2 view source, 3 internet options).
enum class CommandGroup { Standard, WebBrowser };

// Standard document command ids.
enum DocumentCommand : int {
    kCommandOpen = 1,
    kCommandSave = 3,
    kCommandSaveAs = 4,
    kCommandPrint = 6,
    kCommandPageSetup = 8,
    kCommandCut = 11,
    kCommandCopy = 12,
    kCommandPaste = 13,
    kCommandSelectAll = 17,
};
enum WebBrowserCommand : int { kCommandFind = 1, kCommandViewSource = 2, kCommandInternetOptions = 3 };

// Command status flags and results.
inline constexpr uint32_t kStatusSupported = 1;
inline constexpr uint32_t kStatusEnabled = 2;
inline constexpr int32_t kResultOk = 0;
inline constexpr int32_t kResultFail = static_cast<int32_t>(0x80004005u);

class Browser {
public:
    virtual ~Browser() = default;
    // False when there is no page to go to; callers discard it.
    virtual bool GoBack() = 0;
    virtual bool GoForward() = 0;
    virtual void GoHome() = 0;
    // The address goes to the engine exactly as the caller holds it.
    virtual void Navigate(const std::string& url) = 0;
    virtual void Refresh() = 0;
    virtual void Stop() = 0;
    virtual bool HasDocument() const = 0;
    virtual std::string LocationName() const = 0;
    virtual std::string LocationURL() const = 0;
    virtual bool Busy() const = 0;
    // Status flags of a standard command; nullopt when the query itself fails.
    virtual std::optional<uint32_t> QueryStatus(int commandId) = 0;
    // Runs a command on the current document; a result code.
    virtual int32_t ExecDocumentCommand(CommandGroup group, int commandId) = 0;
    // Text size level 0 (smallest) .. 4 (largest); false when the engine rejects it.
    virtual bool SetTextSize(int level) = 0;
};

// The five events the window listens to.
class BrowserEvents {
public:
    virtual ~BrowserEvents() = default;
    virtual void ProgressChange(int32_t progress, int32_t progressMax) = 0;
    virtual void StatusTextChange(const std::string& text) = 0;
    virtual void DownloadBegin() = 0;
    virtual void DownloadComplete() = 0;
    // Never cancels a navigation.
    virtual void BeforeNavigate2(const std::string& url) = 0;
};

}  // namespace quell::browser
