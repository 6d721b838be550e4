#include "util/user_text.h"

#include "util/base64.h"
#include "util/number_text.h"
#include "util/utf8.h"

namespace kest::util {

bool writeUserText(kest::host::MSXMLWrapper& xml, kest::host::XMLNode node, const UserText& t) {
    if (!node) return false;
    std::string text = t.text;
    const bool encoded = !isValidUtf8(text);
    if (encoded && !stl_encode_base64(text)) return false;

    bool ok = t.attribute.empty() ? xml.setStringValue("", text, node)
                                  : xml.addAttributeValue(node, t.attribute.c_str(), text);
    if (encoded) {
        ok = xml.addAttributeValue(node, kBase64Attribute, onOffText(true)) && ok;
    } else {
        // A marker left from an earlier encoded text must go; its absence is not a failed write.
        std::string previous;
        if (xml.getAttributeValue(node, kBase64Attribute, previous))
            ok = xml.removeAttributeValue(node, kBase64Attribute) && ok;
    }
    return ok;
}

bool readUserText(const kest::host::MSXMLWrapper& xml, kest::host::XMLNode node, UserText& t) {
    t.text.clear();
    if (!node) return false;

    bool ok = true;
    bool encoded = false;
    std::string flag;
    if (xml.getAttributeValue(node, kBase64Attribute, flag)) ok = textToOnOff(flag, encoded);

    const bool read = t.attribute.empty() ? xml.getStringValue("", t.text, node)
                                          : xml.getAttributeValue(node, t.attribute.c_str(), t.text);
    if (!read) return false;
    if (encoded) ok = stl_decode_base64(t.text) && ok;
    return ok;
}

} // namespace kest::util
