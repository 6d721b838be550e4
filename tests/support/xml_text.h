#pragma once

// The text form of a document, for tests that compare what a writer produced.

#include <kest/gear/host/msxml_wrapper.h>

#include <string>

namespace kest::test {

inline std::string serialized(const host::MSXMLWrapper& xml) {
    std::string text;
    xml.serialize(text);
    return text;
}

} // namespace kest::test
