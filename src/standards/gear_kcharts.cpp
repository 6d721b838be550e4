#include <kest/gear/kchart.h>

#include "evaluation/evaluation_xml.h"
#include "host/child_sync.h"
#include "measurement/measurement_xml.h"
#include "record/gear_file_xml.h"
#include "standards/kchart_xml.h"
#include "util/number_text.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>

namespace kest::gear {
namespace {

using namespace gear_file_xml;
using measurement_xml::kMeasurementIndexAttribute;
using measurement_xml::kSideAttribute;

// A chart file or a gear file cannot ask for more charts than this per side.
constexpr long kMaximumMeasurementIndex = 999;

constexpr std::array kChartTypes{Measurement_Type::Profile, Measurement_Type::Lead};
constexpr std::array kChartSides{Side::Left, Side::Right, Side::Both};

// "evaluation/profile[@side='left']"
std::string sidePath(Measurement_Type type, Side side) {
    return std::string(kEvaluationElement) + "/" + Measurement_Type_2_string(type) + "[@" + kSideAttribute +
           "='" + Side_2_string(side) + "']";
}

std::size_t typeSlot(Measurement_Type type) {
    return type == Measurement_Type::Profile ? 0 : 1;
}

bool isChartType(Measurement_Type type) {
    return type == Measurement_Type::Profile || type == Measurement_Type::Lead;
}

bool isKChart(host::XMLNode node) {
    return std::strcmp(node.name(), kKChartElement) == 0;
}

// Deletes a side element that holds nothing but its side attribute.
void deleteIfOnlySide(host::XMLNode node) {
    const pugi::xml_node element(node.internal_object());
    const pugi::xml_attribute first = element.first_attribute();
    if (!element || element.first_child() || (first && first.next_attribute()) ||
        (first && std::strcmp(first.name(), kSideAttribute) != 0))
        return;
    element.parent().remove_child(element);
}

bool isChartSide(Side side) {
    return side == Side::Left || side == Side::Right || side == Side::Both;
}

} // namespace

GearKCharts::GearKCharts() = default;

GearKCharts::GearKCharts(const GearKCharts& other)
    : GearKCharts() {
    *this = other;
}

GearKCharts& GearKCharts::operator=(const GearKCharts& other) {
    if (this == &other) return *this;
    for (const Measurement_Type type : kChartTypes)
        for (const Side side : kChartSides) {
            clear(type, side);
            const Charts& from = *other.charts(type, side);
            for (std::size_t index = 0; index < from.size(); ++index)
                if (from[index]) set(type, side, from[index].get(), static_cast<unsigned int>(index));
        }
    return *this;
}

GearKCharts::GearKCharts(GearKCharts&&) noexcept = default;
GearKCharts& GearKCharts::operator=(GearKCharts&&) noexcept = default;
GearKCharts::~GearKCharts() = default;

GearKCharts::Charts* GearKCharts::charts(Measurement_Type type, Side side) {
    if (!isChartType(type) || !isChartSide(side)) return nullptr;
    return &charts_[typeSlot(type)][static_cast<std::size_t>(side)];
}

const GearKCharts::Charts* GearKCharts::charts(Measurement_Type type, Side side) const {
    return const_cast<GearKCharts*>(this)->charts(type, side);
}

void GearKCharts::clearAll() {
    for (const Measurement_Type type : kChartTypes)
        for (const Side side : kChartSides)
            clear(type, side);
}

// A side always has the slot of index 0, empty or not; it is stored only once it was given a chart.
const KChart* GearKCharts::get(Measurement_Type type, Side side, unsigned int index) const {
    const Charts* own = charts(type, side);
    if (own == nullptr || index >= std::max<std::size_t>(own->size(), 1)) return nullptr;
    const KChart* chart = index < own->size() ? (*own)[index].get() : nullptr;
    if (chart != nullptr || side == Side::Both) return chart;
    const Charts& both = *charts(type, Side::Both);
    return index < both.size() ? both[index].get() : nullptr;
}

bool GearKCharts::set(Measurement_Type type, Side side, const KChart* chart, unsigned int index) {
    return store(type, side, chart ? std::make_unique<KChart>(*chart) : nullptr, index);
}

bool GearKCharts::store(Measurement_Type type, Side side, std::unique_ptr<KChart> chart, unsigned int index) {
    Charts* own = charts(type, side);
    if (own == nullptr) return false;
    if (own->size() < std::size_t{index} + 1) own->resize(std::size_t{index} + 1);
    (*own)[index] = std::move(chart);
    return true;
}

bool GearKCharts::clear(Measurement_Type type, Side side) {
    Charts* own = charts(type, side);
    if (own == nullptr) return false;
    own->clear();
    return true;
}

unsigned int GearKCharts::getNumberOfMeasurements(Measurement_Type type, Side side) const {
    const Charts* own = charts(type, side);
    if (own == nullptr) return 0;
    std::size_t count = own->size();
    while (count > 0 && !(*own)[count - 1])
        --count;
    return static_cast<unsigned int>(count);
}

// The charts go into the existing "kchart" elements of the same measurement index, so that what the library
// does not know inside them stays; a side element left with nothing but its side is removed.
bool GearKCharts::saveXML(host::MSXMLWrapper* xml) const {
    if (xml == nullptr) return false;
    bool result = true;
    for (const Measurement_Type type : kChartTypes)
        for (const Side side : kChartSides) {
            const std::string path = sidePath(type, side);
            const Charts& own = *charts(type, side);
            host::XMLNode node = xml->getNode(path);
            if (!node && getNumberOfMeasurements(type, side) == 0) continue;
            if (!node) node = xml->createNode(path);
            {
                host::ChildSync kcharts(node, isKChart, {kMeasurementIndexAttribute});
                for (std::size_t index = 0; index < own.size(); ++index)
                    if (own[index] && index > static_cast<std::size_t>(kMaximumMeasurementIndex)) {
                        result = false; // a load refuses the index
                    } else if (own[index]) {
                        const std::string key = util::formatInteger(index);
                        result = kchart_xml::writeChart(*xml, kcharts.take(kKChartElement, {key}),
                                                        *own[index], static_cast<unsigned int>(index)) &&
                                 result;
                    }
            }
            deleteIfOnlySide(node);
        }
    return result;
}

bool GearKCharts::loadXML(host::MSXMLWrapper* xml) {
    if (xml == nullptr) return false;
    bool result = true;
    const bool evaluated = bool(xml->getRootNode().child(kEvaluationElement));
    for (const Measurement_Type type : kChartTypes)
        for (const Side side : kChartSides) {
            clear(type, side);
            if (!evaluated) continue; // a gear that is only measured has no charts to read
            for (const host::XMLNode node : evaluation_xml::groupChildren(*xml, type, side, kKChartElement)) {
                std::string text;
                long index = 0;
                if (xml->getAttributeValue(node, kMeasurementIndexAttribute, text))
                    util::textToLong(text, index, false);
                // An index of -1 would wrap and a huge one would allocate its empty slots.
                if (index < 0 || index > kMaximumMeasurementIndex) return false;
                auto chart = std::make_unique<KChart>();
                if (!chart->loadXML(xml, node)) return false;
                result = store(type, side, std::move(chart), static_cast<unsigned int>(index)) && result;
            }
        }
    return result;
}

} // namespace kest::gear
