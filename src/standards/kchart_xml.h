#pragma once

// Writing K-charts into existing elements of the gear file, so that a save keeps what the library does not
// know inside them (other attributes, other children, comments). The savers that append new elements write
// through the same functions.

#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/kchart.h>

namespace kest::gear::kchart_xml {

// The attributes and children of the part into its "part" element. Throws "internal error:
// ContinuousParabola not implemented" for a part of that regression type. returns false for an empty element
// or a failed write (the other writes are still made).
bool writePart(host::MSXMLWrapper& xml, host::XMLNode element, const KChartPart& part);

// The attributes and parts of the chart into its "kchart" element.
bool writeChart(host::MSXMLWrapper& xml, host::XMLNode element, const KChart& chart,
                unsigned int measurementIndex);

} // namespace kest::gear::kchart_xml
