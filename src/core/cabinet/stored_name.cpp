#include "core/cabinet/stored_name.h"

#include "core/cabinet/cabinet_types.h"
#include "core/text/text_codec.h"

namespace quell::cabinet {

std::optional<std::string> DecodeStoredName(const char* storedName, uint16_t attributes) {
    const std::string_view bytes = storedName == nullptr ? std::string_view() : std::string_view(storedName);
    if (attributes & kAttributeNameIsUtf8) return text::repairUtf8(bytes);
    return text::decodeCodePage932(bytes);
}

}  // namespace quell::cabinet
