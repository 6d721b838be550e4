#pragma once

// The text of a document without the indentation between elements, so that an expected fragment fits a line.

#include <kest/gear/host/msxml_wrapper.h>

#include <string>

namespace kest::test {

inline std::string compactXml(const host::MSXMLWrapper& xml) {
    std::string text;
    xml.serialize(text);
    std::string out;
    bool lineStart = false;
    for (const char c : text) {
        if (c == '\n') {
            lineStart = true;
            continue;
        }
        if (lineStart && (c == ' ' || c == '\t')) continue;
        lineStart = false;
        out += c;
    }
    return out;
}

} // namespace kest::test
