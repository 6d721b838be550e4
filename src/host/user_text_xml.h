#pragma once

// Free texts of the user (names, labels, comments) in the gear file. A text that is not valid UTF-8 cannot be
// stored in XML as it is; it is stored base64-encoded and its element carries the attribute base_64="on". So
// is an element's text that would not read back as it is (see keptAsElementText).

#include <kest/gear/host/msxml_wrapper.h>

#include <string>
#include <string_view>

namespace kest::host {

struct UserText {
    // Empty: the text is the element's own text content; otherwise the name of the attribute holding it.
    std::string attribute;
    std::string text;
};

// Name of the attribute that marks a base64-encoded user text.
inline constexpr const char* kBase64Attribute = "base_64";

// true when an element's own text reads back as written. A load turns a carriage return into a line feed and
// drops a text of nothing but white space.
bool keptAsElementText(std::string_view text);

// Writes the text into the element and sets or removes its base_64 attribute. returns false for an empty
// node, when the text cannot be encoded, or when a write fails (the other writes are still made).
bool writeUserText(MSXMLWrapper& xml, XMLNode node, const UserText& t);

// Reads the text from the element (t.attribute chooses where) into t.text, decoding it when base_64 is "on".
// returns false for an empty node, a missing text attribute, a base_64 value other than "on" or "off" (t.text
// then holds the text as stored) or a text that does not decode (t.text is then empty).
bool readUserText(const MSXMLWrapper& xml, XMLNode node, UserText& t);
// The same for the element's own text, read into `text`.
bool readUserText(XMLNode node, std::string& text);
// The same with the text of the element's base_64 attribute already looked up (null when there is none).
bool readUserText(XMLNode node, const char* base64, std::string& text);
// The same for a text already looked up: `stored` as the file holds it (not null), `base64` as above.
bool readUserText(const char* stored, const char* base64, std::string& text);

} // namespace kest::host
