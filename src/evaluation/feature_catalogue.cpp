#include <kest/gear/gear_feature_info.h>

#include "evaluation/feature_catalogue.h"

#include <algorithm>
#include <array>
#include <bit>
#include <string_view>

namespace kest::gear {
namespace feature_catalogue {
namespace {

constexpr const char* kUnknownFeature = "unknown feature found";
constexpr const char* kKChartFailed = "initialization of KChart feature failed";

constexpr FeatureRow kProfileFeatures[] = {
    {"ffa", 7},  {"fHa", 2},  {"Fa", 2},   {"Fa+", 2},  {"Fa-", 2},  {"fdb", 7},  {"fa", 7},
    {"Ca", 2},   {"Caa", 4},  {"Caf", 1},  {"LCaa", 4}, {"LCaf", 1}, {"Step", 1}, {"Ucut", 1},
    {"Sa", 2},   {"ffam", 7}, {"fHam", 2}, {"Fam", 2},  {"fdbm", 7}, {"fam", 7},  {"Cam", 2},
    {"Caam", 4}, {"Cafm", 1}, {"WfHa", 2}, {"hoa", 2},
};

constexpr FeatureRow kLeadFeatures[] = {
    {"ffb", 56}, {"fHb", 16},  {"dfHb", 16}, {"mfHb", 16},  {"Fb", 16},    {"fb", 56},
    {"Cb", 16},  {"CbI", 32},  {"CbII", 8},  {"LCbI", 32},  {"LCbII", 8},  {"CT", 56},
    {"Sb", 16},  {"ffbm", 56}, {"fHbm", 16}, {"dfHbm", 16}, {"mfHbm", 16}, {"Fbm", 16},
    {"fbm", 56}, {"Cbm", 16},  {"CbIm", 32}, {"CbIIm", 8},  {"WfHb", 56},  {"hob", 16},
};

// A name ending in "_j" is the tooth-by-tooth form of the name without it.
constexpr FeatureRow kPitchFeatures[] = {
    {"fp", 0},    {"fpe", 0},   {"Fp_j", 0},  {"Fpk_j", 0}, {"fu", 0},    {"Fr_j", 0},  {"MdK_j", 0},
    {"MrK_j", 0}, {"MdR_j", 0}, {"MrR_j", 0}, {"st_j", 0},  {"svt_j", 0}, {"syt_j", 0}, {"sbt_j", 0},
    {"sn_j", 0},  {"svn_j", 0}, {"syn_j", 0}, {"sbn_j", 0}, {"at_j", 0},  {"avt_j", 0}, {"ayt_j", 0},
    {"abt_j", 0}, {"an_j", 0},  {"avn_j", 0}, {"abn_j", 0}, {"ayn_j", 0}, {"et_j", 0},  {"evt_j", 0},
    {"eyt_j", 0}, {"ebt_j", 0}, {"en_j", 0},  {"evn_j", 0}, {"eyn_j", 0}, {"ebn_j", 0}, {"gt_j", 0},
    {"gvt_j", 0}, {"gyt_j", 0}, {"gbt_j", 0}, {"gn_j", 0},  {"gvn_j", 0}, {"gyn_j", 0}, {"gbn_j", 0},
    {"Wk_j", 0},  {"Va", 0},    {"fum", 0},   {"Fp", 0},    {"Fpk", 0},   {"fpmax", 0}, {"fumax", 0},
    {"Rp", 0},    {"Fr", 0},    {"fr", 0},    {"Fpz8", 0},  {"MdK", 0},   {"MrK", 0},   {"MdR", 0},
    {"MrR", 0},   {"st", 0},    {"svt", 0},   {"syt", 0},   {"sbt", 0},   {"sn", 0},    {"svn", 0},
    {"syn", 0},   {"sbn", 0},   {"Sv", 0},    {"at", 0},    {"avt", 0},   {"ayt", 0},   {"abt", 0},
    {"an", 0},    {"avn", 0},   {"ayn", 0},   {"abn", 0},   {"et", 0},    {"evt", 0},   {"eyt", 0},
    {"ebt", 0},   {"en", 0},    {"evn", 0},   {"eyn", 0},   {"ebn", 0},   {"Ev", 0},    {"gt", 0},
    {"gvt", 0},   {"gyt", 0},   {"gbt", 0},   {"gn", 0},    {"gvn", 0},   {"gyn", 0},   {"gbn", 0},
    {"Wk", 0},    {"Wkmin", 0}, {"Wkmax", 0}, {"Rs", 0},
};

constexpr FeatureRow kTipCircleFeatures[] = {{"da", 0}, {"Fra", 0}};
constexpr FeatureRow kRootCircleFeatures[] = {{"df", 0}, {"Frf", 0}};
constexpr FeatureRow kRootScanFeatures[] = {{"Rr", 0}, {"Rr2", 0}};

constexpr KChartRow kKChartFeatures[] = {
    {"KCHART_dev_a", kProfileSymbol},
    {"KCHART_dev_pos_a", kProfileSymbol},
    {"KCHART_dev_b", kLeadSymbol},
    {"KCHART_dev_pos_b", kLeadSymbol},
};

constexpr SourceTable kSourceTables[] = {
    {Measurement_Type::Profile, kProfileFeatures},       {Measurement_Type::Lead, kLeadFeatures},
    {Measurement_Type::Pitch, kPitchFeatures},           {Measurement_Type::TipCircle, kTipCircleFeatures},
    {Measurement_Type::RootCircle, kRootCircleFeatures}, {Measurement_Type::RootScan, kRootScanFeatures},
};

struct Deprecation {
    std::string_view name;
    std::string_view successor;
};

constexpr Deprecation kDeprecatedFeatures[] = {
    {"Cbo", "CbI"}, {"Cbu", "CbII"}, {"ho", "hoa"}, {"runout_da", "Fra"}, {"runout_df", "Frf"},
};

// Sorted at compile time so that a lookup is a binary search.
constexpr auto kTodoFeatures = [] {
    std::array<std::string_view, 54> names{
        "abnc",   "abnc_j", "abtc",   "abtc_j", "anc",    "anc_j",  "atc",    "atc_j",  "avnc",
        "avnc_j", "avtc",   "avtc_j", "da_j",   "df_j",   "ebnc",   "ebnc_j", "ebtc",   "ebtc_j",
        "enc",    "enc_j",  "etc",    "etc_j",  "evnc",   "evnc_j", "evtc",   "evtc_j", "gbnc",
        "gbnc_j", "gbtc",   "gbtc_j", "gnc",    "gnc_j",  "gtc",    "gtc_j",  "gvnc",   "gvnc_j",
        "gvtc",   "gvtc_j", "Fra_j",  "Frf_j",  "sbnc",   "sbnc_j", "sbtc",   "sbtc_j", "snc",
        "snc_j",  "stc",    "stc_j",  "svnc",   "svnc_j", "svtc",   "svtc_j", "LCaam",  "LCafm",
    };
    std::ranges::sort(names);
    return names;
}();

void store(std::vector<GearFeatureInfo>& catalogue, std::string_view name, unsigned char selection,
           Measurement_Type type) {
    GearFeatureInfo info(std::string(name), selection);
    info.setMeasurementType(type);
    catalogue.push_back(std::move(info));
}

struct Catalogue {
    std::vector<GearFeatureInfo> entries;
};

// Built on the first call; the initialisation of a function-local static runs once under the runtime's lock
// and is tried again on the next call when it threw.
const Catalogue& catalogue() {
    static const Catalogue built{build(sourceTables(), kChartTable())};
    return built;
}

const GearFeatureInfo& lookup(const std::string& name) {
    const auto& entries = catalogue().entries;
    const auto it =
        std::ranges::lower_bound(entries, std::string_view(name), {}, [](const GearFeatureInfo& info) {
            return std::string_view(info.getName());
        });
    if (it == entries.end() || it->getName() != name) throw kUnknownFeature;
    return *it;
}

} // namespace

std::vector<GearFeatureInfo> build(std::span<const SourceTable> tables, std::span<const KChartRow> kCharts) {
    std::vector<GearFeatureInfo> entries;
    for (const auto& table : tables)
        for (const auto& row : table.rows)
            store(entries, row.name, row.selection, table.type);
    for (const auto& row : kCharts) {
        if (row.symbol != kProfileSymbol && row.symbol != kLeadSymbol) throw kKChartFailed;
        store(entries, row.name, 0,
              row.symbol == kProfileSymbol ? Measurement_Type::Profile : Measurement_Type::Lead);
    }
    // A stable sort keeps a later entry of a name after an earlier one; the later one is kept.
    std::ranges::stable_sort(entries, {},
                             [](const GearFeatureInfo& info) { return std::string_view(info.getName()); });
    std::vector<GearFeatureInfo> unique;
    unique.reserve(entries.size());
    for (auto& entry : entries) {
        if (!unique.empty() && unique.back().getName() == entry.getName())
            unique.back() = std::move(entry);
        else
            unique.push_back(std::move(entry));
    }
    return unique;
}

std::span<const SourceTable> sourceTables() {
    return kSourceTables;
}

std::span<const KChartRow> kChartTable() {
    return kKChartFeatures;
}

} // namespace feature_catalogue

const GearFeatureInfo& getFeatureInfo(const std::string& name) {
    return feature_catalogue::lookup(name);
}

Measurement_Type getFeatureMeasurementType(const std::string& name) {
    return feature_catalogue::lookup(name).getMeasurementType();
}

unsigned int GearFeatureInfo::getPotentialRangeCount() const noexcept {
    return static_cast<unsigned int>(std::popcount(allowedRangeSelection_));
}

bool GearFeatureInfo::isRangeTypeAllowed(RangeType range) const noexcept {
    const auto holds = [range](std::span<const RangeType> ranges) {
        return std::ranges::find(ranges, range) != ranges.end();
    };
    // The constant conversions are called only for ranges of their kind, where they do not throw.
    if (measurementType_ == Measurement_Type::Profile)
        return holds(profileRangeTypes()) &&
               (profileRangeType_2_constant(range) & allowedRangeSelection_) != 0;
    if (measurementType_ == Measurement_Type::Lead)
        return holds(leadRangeTypes()) && (leadRangeType_2_constant(range) & allowedRangeSelection_) != 0;
    return false;
}

std::vector<RangeType> GearFeatureInfo::getAllowedRangeTypes() const {
    std::vector<RangeType> allowed;
    for (const RangeType range : allRangeTypes())
        if (isRangeTypeAllowed(range)) allowed.push_back(range);
    if (allowed.empty()) allowed.push_back(RangeType::Unspecified);
    return allowed;
}

bool GearFeatureInfo::isDeprecatedFeature(const std::string& name, std::string& replacement) {
    replacement.clear();
    const auto it = std::ranges::find(feature_catalogue::kDeprecatedFeatures, std::string_view(name),
                                      &feature_catalogue::Deprecation::name);
    if (it == std::ranges::end(feature_catalogue::kDeprecatedFeatures)) return false;
    replacement = it->successor;
    return true;
}

bool GearFeatureInfo::hasFeatureTodoLabel(const std::string& name) {
    return std::ranges::binary_search(feature_catalogue::kTodoFeatures, std::string_view(name));
}

} // namespace kest::gear
