#include <kest/gear/kchart.h>

#include "host/report.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <memory>
#include <string_view>

namespace kest::gear {
namespace {

// The keywords of a chart file, each in its normalised form (first letter upper case, the rest lower case).
constexpr std::array<std::string_view, 3> kProfileKeywords{"Profil", "Profil_oben", "Profil_unten"};
constexpr std::array<std::string_view, 3> kLeadKeywords{"Flanke", "Flanke_kopf", "Flanke_fuss"};
// Accepted, and changing no chart.
constexpr std::array<std::string_view, 5> kOtherKeywords{"Zug_flanke", "Durchmesser", "Waelzweg", "Wert",
                                                         "Zhoehe"};
// Starts a block of charts; its argument is the block's id.
constexpr std::string_view kIdKeyword = "Id";

struct SideWord {
    std::string_view word;
    Side side;
};
constexpr std::array<SideWord, 4> kSideWords{{
    {"links", Side::Left},
    {"left", Side::Left},
    {"rechts", Side::Right},
    {"right", Side::Right},
}};

// The measurement index a chart name stands for, after normalisation; 0 for any other name.
struct IndexWord {
    std::string_view word;
    unsigned int index;
};
constexpr std::array<IndexWord, 4> kIndexWords{{
    {"Oben", 2},
    {"Kopf", 2},
    {"Unten", 1},
    {"Fuss", 1},
}};

// The keyword written exactly so names the main chart; otherwise this prefix is cut from the chart name.
constexpr std::string_view kProfileMain = "Profil";
constexpr std::string_view kProfilePrefix = "Profil_";
constexpr std::string_view kLeadMain = "Flanke";
constexpr std::string_view kLeadPrefix = "Flanke_";
constexpr std::string_view kMainChartName = "MAIN";

constexpr char kKeywordMark = '%';
constexpr char kTokenSeparator = ';';
constexpr std::string_view kBlanks = " \t\r\n";

template <std::size_t N>
bool contains(const std::array<std::string_view, N>& words, std::string_view word) {
    return std::ranges::find(words, word) != words.end();
}

std::string_view trim(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(kBlanks);
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(kBlanks) - begin + 1);
}

std::string normalised(std::string_view word) {
    std::string out(word);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        out[i] = static_cast<char>(i == 0 ? std::toupper(c) : std::tolower(c));
    }
    return out;
}

const char* flag(bool value) {
    return value ? "true" : "false";
}

const char* orEmpty(const std::string& text) {
    return text.empty() ? "<empty>" : text.c_str();
}

std::string pointsText(const std::vector<PointDefinition>& points) {
    std::string out;
    for (const PointDefinition& point : points)
        out += " (" + std::to_string(point.position) + ", " + std::to_string(point.variation) + ")";
    return out;
}

// A keyword token of a chart file and, once it starts a measurement, the points of the value lines after it.
struct ChartFileEntry {
    std::string key;      // the keyword as written
    std::string argument; // between the brackets
    bool known = false;
    bool isProfile = false;
    bool isLead = false;
    std::vector<PointDefinition> innerPoints;
    std::vector<PointDefinition> outerPoints;
    Measurement_Type type = Measurement_Type::Pitch; // Profile or Lead when the entry starts a measurement
    Side side = Side::Both;
    unsigned int measurementIndex = 0;
    Reference profileReference = Reference::RollingPath;
    Reference leadReference = Reference::LengthNonDatumToDatum;
    std::string chartName;

    bool isKeyword() const { return !key.empty(); }
    bool isId() const { return normalised(key) == kIdKeyword; }
    bool startsMeasurement() const {
        return type == Measurement_Type::Profile || type == Measurement_Type::Lead;
    }
    Reference reference() const {
        if (isProfile) return profileReference;
        if (isLead) return leadReference;
        return Reference::Percent;
    }

    // A line of values adds (x1, y1) to the outer band and (x2, y2) to the inner one; a profile chart's
    // variations are drawn towards the material and change sign.
    void addPoints(const std::array<double, 4>& v) {
        const double sign = type == Measurement_Type::Profile ? -1.0 : 1.0;
        outerPoints.emplace_back(v[0], sign * v[1], reference());
        innerPoints.emplace_back(v[2], sign * v[3], reference());
    }

    std::string describe() const {
        std::string out;
        out += "  KChartName\t: " + std::string(orEmpty(chartName)) + "\n";
        out += "  Reference\t\t: " + Reference_2_string(reference()) + "\n";
        out += "  MeasIndex\t\t: " + std::to_string(measurementIndex) + "\n";
        out += "  Side\t\t\t: " + Side_2_string(side) + "\n";
        out += std::string("    isLead\t\t: ") + flag(isLead) + "\n";
        out += std::string("    isProfile\t: ") + flag(isProfile) + "\n";
        out += "  Type\t\t\t: " + Measurement_Type_2_string(type) + "\n";
        out += std::string("  valid\t\t\t: ") + flag(known) + "\n";
        out += "    PointsNonMat\t:" + pointsText(outerPoints) + "\n";
        out += "    PointsMat\t:" + pointsText(innerPoints) + "\n";
        out += std::string("    isData\t\t: ") + flag(!isKeyword()) + "\n";
        out += "  Data\t\t\t: " + std::to_string(outerPoints.size()) + " lines\n";
        out += std::string("    hasOption\t: ") + flag(!argument.empty()) + "\n";
        out += std::string("  Option\t\t: ") + orEmpty(argument) + "\n";
        out += std::string("    isKeyword\t: ") + flag(isKeyword()) + "\n";
        out += std::string("  Keyword\t\t: ") + orEmpty(key);
        return out;
    }
};

// "%Keyword[argument]". A profile or lead keyword with a side word starts a measurement.
bool parseKeyword(std::string_view token, ChartFileEntry& entry) {
    const std::size_t open = token.find('[');
    const std::size_t close = token.find(']');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) return false;
    entry.key = std::string(trim(token.substr(1, open - 1)));
    entry.argument = std::string(trim(token.substr(open + 1, close - open - 1)));
    const std::string keyword = normalised(entry.key);
    entry.isProfile = contains(kProfileKeywords, keyword);
    entry.isLead = contains(kLeadKeywords, keyword);
    if (!entry.isProfile && !entry.isLead && !contains(kOtherKeywords, keyword) && keyword != kIdKeyword)
        return false;
    entry.known = true;
    const auto sideWord = std::ranges::find(kSideWords, std::string_view(entry.argument), &SideWord::word);
    if ((!entry.isProfile && !entry.isLead) || sideWord == kSideWords.end()) return true;

    entry.type = entry.isProfile ? Measurement_Type::Profile : Measurement_Type::Lead;
    entry.side = sideWord->side;
    const std::string_view main = entry.isProfile ? kProfileMain : kLeadMain;
    const std::string_view prefix = entry.isProfile ? kProfilePrefix : kLeadPrefix;
    entry.chartName = entry.key;
    if (entry.key == main)
        entry.chartName = kMainChartName;
    else if (const std::size_t at = entry.chartName.find(prefix); at != std::string::npos)
        entry.chartName.erase(at, prefix.size());
    const auto index = std::ranges::find(kIndexWords, normalised(entry.chartName), &IndexWord::word);
    entry.measurementIndex = index != kIndexWords.end() ? index->index : 0;
    return true;
}

// Up to four numbers separated by white space, read from the left until one does not read; the rest stay 0.
// A token that does not start with a number is no value token.
bool parseValues(std::string_view token, std::array<double, 4>& values) {
    std::size_t count = 0;
    while (count < values.size()) {
        const std::size_t begin = token.find_first_not_of(kBlanks);
        if (begin == std::string_view::npos) break;
        token.remove_prefix(begin);
        if (token.front() == '+') token.remove_prefix(1);
        const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), values[count]);
        if (error != std::errc()) {
            values[count] = 0.0;
            break;
        }
        token.remove_prefix(static_cast<std::size_t>(end - token.data()));
        ++count;
    }
    return count > 0;
}

// The tokens of a line: split at ";", trimmed, empty ones dropped.
void tokensOf(std::string_view line, std::vector<std::string_view>& tokens) {
    tokens.clear();
    while (!line.empty()) {
        const std::size_t end = std::min(line.find(kTokenSeparator), line.size());
        if (const std::string_view token = trim(line.substr(0, end)); !token.empty()) tokens.push_back(token);
        line.remove_prefix(std::min(end + 1, line.size()));
    }
}

void traceUnknown(std::string_view token) {
    GR_TRACE(3, "unknown entry found: %.*s", static_cast<int>(token.size()), token.data());
}

// The whole file into `out`; false when it cannot be opened or read (a directory, say).
bool readFile(const char* fileName, std::string& out) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(fileName, "rb"), &std::fclose);
    if (!file) return false;
    char buffer[1 << 16];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        out.append(buffer, read);
    return std::ferror(file.get()) == 0;
}

} // namespace

struct GearKCharts::ZF_ENTRY : ChartFileEntry {};

bool GearKCharts::insert_measurement(const ZF_ENTRY& entry) {
    if ((entry.innerPoints.empty() && entry.outerPoints.empty()) || !entry.startsMeasurement()) return false;
    GR_TRACE(4, "imported K-chart entry:\n%s", entry.describe().c_str());
    std::vector<KChartPart> parts;
    const auto addPart = [&parts](Material material, const std::vector<PointDefinition>& points) {
        if (points.empty()) return;
        KChartPart part;
        part.setMaterial(material);
        for (std::size_t i = 0; i < points.size(); ++i)
            part.addPoint(static_cast<unsigned int>(i), points[i]);
        if (part.isValid()) parts.push_back(std::move(part));
    };
    addPart(Material::Inside, entry.innerPoints);
    addPart(Material::Outside, entry.outerPoints);
    auto chart = std::make_unique<KChart>(std::move(parts));
    chart->setName(entry.chartName);
    chart->setAlignment(Alignment::Centered);
    chart->enable();
    return store(entry.type, entry.side, std::move(chart), entry.measurementIndex);
}

// Every "Id" starts a block and deletes the charts read so far, so that only the block asked for (or the
// last one) remains. Before the first "Id" the tokens count for block 0 and for the whole file.
bool GearKCharts::importZF(const char* fileName, int blockIndex, std::vector<std::string>* ids) {
    std::string text;
    if (fileName == nullptr || !readFile(fileName, text)) return false;
    clearAll();
    ZF_ENTRY current;
    int block = 0;
    bool accepting = blockIndex == -1 || blockIndex == 0;
    bool requestedStarted = false;
    bool result = false;
    bool stop = false;
    std::string_view rest = text;
    std::vector<std::string_view> tokens;
    while (!stop && !rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        tokensOf(rest.substr(0, end), tokens);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        for (const std::string_view token : tokens) {
            if (token.front() != kKeywordMark) {
                std::array<double, 4> values{};
                if (!parseValues(token, values))
                    traceUnknown(token);
                else if (accepting)
                    current.addPoints(values);
                continue;
            }
            ZF_ENTRY entry;
            if (!parseKeyword(token, entry)) {
                traceUnknown(token);
                continue;
            }
            if (entry.isId()) {
                if (ids) ids->push_back(entry.argument);
                if (requestedStarted) {
                    stop = true;
                    break;
                }
                requestedStarted = block == blockIndex;
                accepting = requestedStarted || blockIndex == -1;
                current = ZF_ENTRY();
                clearAll();
                ++block;
                result = false;
                continue;
            }
            if (accepting && entry.startsMeasurement()) {
                result = insert_measurement(current) || result;
                current = std::move(entry);
            }
        }
    }
    return insert_measurement(current) || result;
}

} // namespace kest::gear
