#pragma once

#include <string>

namespace pugi {
class xml_node;
}

namespace kest::host {

// 128-bit XXH3 digest of the node's raw serialisation as 32 hex digits. The text is streamed into the hash
// state without being collected; `text`, when given, receives it as well.
std::string contentHash(const pugi::xml_node& node, std::string* text = nullptr);

} // namespace kest::host
