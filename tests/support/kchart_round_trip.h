#pragma once

// The check every chart-file fuzz input goes through: the bytes are imported as a chart file with every block
// and with the first two; the charts the import stored must save into a gear document, read back, and save
// into the same document again.

#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/kchart.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace kest::test {

// Works with one file in `directory`, which must exist. returns "" when both saves agree; otherwise what went
// wrong.
inline std::string chartFileRoundTrip(std::string_view bytes, const std::filesystem::path& directory) {
    const std::string input = (directory / "charts.txt").string();
    std::ofstream(input, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const auto saved = [](const gear::GearKCharts& charts, std::string& text) {
        host::MSXMLWrapper xml;
        xml.reset("gear");
        const bool result = charts.saveXML(&xml);
        xml.serialize(text);
        return result;
    };
    for (const int block : {-1, 0, 1}) {
        gear::GearKCharts charts;
        charts.importZF(input.c_str(), block, nullptr);
        std::string first, second;
        if (!saved(charts, first)) return "imported charts did not save";
        host::MSXMLWrapper xml;
        gear::GearKCharts back;
        if (!xml.parse(first) || !back.loadXML(&xml)) return "saved charts did not load:\n" + first;
        if (!saved(back, second) || second != first)
            return "a second save differs:\n" + first + "\n" + second;
    }
    return {};
}

} // namespace kest::test
