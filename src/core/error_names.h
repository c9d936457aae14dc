#pragma once
// The short printed names of the loaders' error enums come from tables
// indexed by the enum values, which run from 0 in declaration order.
#include <cstddef>

namespace quell {

// names[value], or "unknown-error" for a value past the table.
template <typename Enum, size_t N>
constexpr const char* errorNameFromTable(Enum value, const char* const (&names)[N]) {
    const auto index = static_cast<size_t>(value);
    return index < N ? names[index] : "unknown-error";
}

}  // namespace quell
