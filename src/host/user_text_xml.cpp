#include "host/user_text_xml.h"

#include "util/base64.h"
#include "util/number_text.h"
#include "util/utf8.h"

namespace kest::host {

bool keptAsElementText(std::string_view text) {
    return text.find('\r') == std::string_view::npos &&
           (text.empty() || text.find_first_not_of(" \t\n") != std::string_view::npos);
}

bool writeUserText(MSXMLWrapper& xml, XMLNode node, const UserText& t) {
    if (!node) return false;
    std::string text = t.text;
    const bool encoded = !util::isValidUtf8(text) || (t.attribute.empty() && !keptAsElementText(text));
    if (encoded && !util::stl_encode_base64(text)) return false;

    bool ok = t.attribute.empty() ? xml.setStringValue("", text, node)
                                  : xml.addAttributeValue(node, t.attribute.c_str(), text);
    if (encoded) {
        ok = xml.addAttributeValue(node, kBase64Attribute, util::onOffText(true)) && ok;
    } else {
        // A marker left from an earlier encoded text must go; its absence is not a failed write.
        std::string previous;
        if (xml.getAttributeValue(node, kBase64Attribute, previous))
            ok = xml.removeAttributeValue(node, kBase64Attribute) && ok;
    }
    return ok;
}

namespace {

// Reads the text where `read` finds it, decoding it when `base64`, the text of the element's base_64
// attribute, is "on"; nothing is read without an element.
template <typename Read>
bool readMarked(bool element, const char* base64, std::string& text, Read read) {
    text.clear();
    if (!element) return false;

    bool ok = true;
    bool encoded = false;
    if (base64 != nullptr) ok = util::textToOnOff(base64, encoded);

    if (!read()) return false;
    if (encoded) ok = util::stl_decode_base64(text) && ok;
    return ok;
}

} // namespace

bool readUserText(const MSXMLWrapper& xml, XMLNode node, UserText& t) {
    if (t.attribute.empty()) return readUserText(node, t.text);
    return readMarked(bool(node), node.attribute(kBase64Attribute), t.text,
                      [&] { return xml.getAttributeValue(node, t.attribute.c_str(), t.text); });
}

bool readUserText(XMLNode node, std::string& text) {
    return readUserText(node, node.attribute(kBase64Attribute), text);
}

bool readUserText(XMLNode node, const char* base64, std::string& text) {
    return readMarked(bool(node), base64, text, [&] {
        text = node.text();
        return true;
    });
}

bool readUserText(const char* stored, const char* base64, std::string& text) {
    return readMarked(true, base64, text, [&] {
        text = stored;
        return true;
    });
}

} // namespace kest::host
