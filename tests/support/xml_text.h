#pragma once

// The text of a record's document, for comparing what a writer made.

#include <kest/gear/host/msxml_wrapper.h>

#include <string>

namespace kest::test {

inline std::string serialized(const host::MSXMLWrapper& xml) {
    std::string text;
    xml.serialize(text);
    return text;
}

} // namespace kest::test
