#pragma once

// The source tables of the feature catalogue and the build that turns them into the catalogue, open to the
// tests so that a broken table can be fed to the build.

#include <kest/gear/gear_feature_info.h>

#include <span>
#include <string_view>
#include <vector>

namespace kest::gear::feature_catalogue {

struct FeatureRow {
    std::string_view name;
    unsigned char selection;
};

// A K-chart feature names the symbol of its measurement instead of the measurement.
struct KChartRow {
    std::string_view name;
    int symbol;
};

struct SourceTable {
    Measurement_Type type;
    std::span<const FeatureRow> rows;
};

inline constexpr int kProfileSymbol = 1240;
inline constexpr int kLeadSymbol = 1220;

// The catalogue sorted by name. Throws "initialization of KChart feature failed" for a K-chart row whose
// symbol is neither kProfileSymbol nor kLeadSymbol. A later table replaces an earlier entry of the same name.
std::vector<GearFeatureInfo> build(std::span<const SourceTable> tables, std::span<const KChartRow> kCharts);

// The tables of the library: profile, lead, pitch, tip circle, root circle, root scan, and the K-charts.
std::span<const SourceTable> sourceTables();
std::span<const KChartRow> kChartTable();

} // namespace kest::gear::feature_catalogue
