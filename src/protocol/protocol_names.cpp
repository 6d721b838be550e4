#include "protocol/protocol_names.h"

#include <kest/gear/protocol_settings.h>

#include "protocol/protocol_xml.h"

namespace kest::gear {

// Learnt from the writer itself: settings with every optional part - header entries, other settings, flank
// names, one of them a text that needs encoding - are written once into a document of their own.
const host::KnownNames& protocolNames() {
    static const host::KnownNames names = [] {
        ProtocolSettings settings;
        ProtocolHeader header;
        for (std::size_t i = 0; i < ProtocolHeader::entryCount; ++i) {
            const auto entry = static_cast<ProtocolHeader::HeaderEntry>(i);
            header.set(entry,
                       std::string(ProtocolHeader::valueAttribute(entry)) == protocol_xml::kEnabledAttribute
                           ? "on"
                           : "\xff");
        }
        settings.setHeader(header);
        for (std::size_t i = 0; i < ProtocolSettings::other_names.size(); ++i)
            settings.setOtherSettings(static_cast<ProtocolSettings::OtherType>(i), true, 1.0);
        for (const Side side : allSides())
            settings.setFlankName(side, "\xff");
        const std::vector<ProtocolSettings::BarDiagramExtraLine> line{{"x", true}};
        settings.setBarDiagram(ProtocolSettings::BarDiagramType::fp, true, 1.0, &line);
        host::MSXMLWrapper xml;
        xml.reset("gear");
        settings.saveXML(&xml, "");
        host::KnownNames known;
        host::addNamesBelow(known, xml.getNode(protocol_xml::kProtocolElement));
        return known;
    }();
    return names;
}

} // namespace kest::gear
