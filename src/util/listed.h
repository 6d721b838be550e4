#pragma once

// Whether a value is one of the values of its enumeration's table. A value made by a cast can lie outside the
// table and has no text then: a writer that wrote it would leave a file its reader refuses.

#include <algorithm>
#include <span>

namespace kest::util {

template <typename E>
bool listed(std::span<const E> values, E value) {
    return std::ranges::find(values, value) != values.end();
}

} // namespace kest::util
