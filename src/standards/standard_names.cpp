#include <kest/gear/evaluation_standard.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <span>
#include <string_view>

namespace kest::gear {
namespace {

// One row per known standard with every form of its name and what it supports. The rows are in ascending
// order of the internal name: the lookups by designation and table name and the free-text recognition walk
// them in that order, and equal-length finds keep the first.
struct StandardRow {
    std::string_view name;
    long constant;
    std::string_view display; // "" when the standard has no dated designation
    std::string_view table;   // "" when the tolerance-table files have no name for it
    std::string_view icon;
    bool quality;
    std::string_view gradePrefix;
    bool subquality;
    bool processType;
    bool postProcessType;
    bool fitType;
};

constexpr std::array kStandards{
    StandardRow{"AGMA_2000_A88", 4, "ANSI AGMA 2000-A88:1988-03", "", ":/pict/pict/Standardicon_AGMA.png",
                true, "Q", true, false, false, false},
    StandardRow{"AGMA_2015_1_A01", 13, "ANSI AGMA 2015-1-A01:2002-08", "",
                ":/pict/pict/Standardicon_AGMA.png", true, "A", false, false, false, false},
    StandardRow{"ANSI_B92_1", 12, "ANSI B92.1:1996-07", "", ":/pict/pict/Standardicon_ANSI.png", true, "",
                false, false, false, true},
    StandardRow{"CAT_1E2028", 9, "CAT 1E2028:2015-12", "", ":/pict/pict/Standardicon_CAT.png", false, "",
                false, true, true, true},
    StandardRow{"CAT_1E4157", 6, "CAT 1E4157A:2010-08", "", ":/pict/pict/Standardicon_CAT.png", true, "C",
                false, true, false, false},
    StandardRow{"CUSTOM_TOLERANCE_TABLE", 15, "", "", ":/pict/pict/Standardicon_custom.png", true, "", false,
                false, false, false},
    StandardRow{"DIN_3962", 1, "DIN 3962:1978-08", "DIN_3962", ":/pict/pict/Standardicon_DIN.png", true, "",
                false, false, false, false},
    StandardRow{"DIN_5480", 11, "DIN 5480:2006-03", "", ":/pict/pict/Standardicon_DIN.png", true, "", true,
                true, false, true},
    StandardRow{"FREE_DIN_3962", 17, "", "", ":/pict/pict/Standardicon_FREE_DIN.png", false, "", false, false,
                false, false},
    StandardRow{"GBT_10095", 3, "", "GBT_10095", ":/pict/pict/Standardicon_GBT.png", true, "", false, false,
                false, false},
    StandardRow{"GOST_1643_81", 10, "", "GOST_1643_81", ":/pict/pict/Standardicon_GOST.png", true, "", false,
                false, false, false},
    StandardRow{"ISO_1328_1995", 2, "ISO 1328-1:1995-02", "ISO_1328_1995", ":/pict/pict/Standardicon_ISO.png",
                true, "", false, false, false, false},
    StandardRow{"ISO_1328_2013", 14, "ISO 1328-1:2013-09", "", ":/pict/pict/Standardicon_ISO.png", true, "",
                false, false, false, false},
    StandardRow{"ISO_4156_1_2005", 18, "ISO 4156-1:2005-10", "", ":/pict/pict/Standardicon_ISO.png", true, "",
                true, false, false, true},
    StandardRow{"JIS_B1702_1998", 16, "JIS B 1702-1:1998-03", "JIS_B1702_1998",
                ":/pict/pict/Standardicon_JIS.png", true, "N", false, false, false, false},
    StandardRow{"JIS_B1702_2008", 5, "JIS B 1702-3:2008-04", "", ":/pict/pict/Standardicon_JIS.png", true,
                "P", false, false, false, false},
    StandardRow{"RENAULT_01_33_001", 7, "RENAULT 01-33-001-G:1996-05", "RENAULT_01_33_001g",
                ":/pict/pict/Standardicon_RENAULT.png", true, "", false, false, false, false},
    StandardRow{"VW_GEAR_STANDARD", 8, "", "VW_GEAR_STANDARD", ":/pict/pict/Standardicon_VW.png", true, "",
                false, false, false, false},
};
static_assert(std::ranges::is_sorted(kStandards, {}, &StandardRow::name));

constexpr std::string_view kUnknownStandard = "unknown standard";
constexpr std::string_view kUnknownStandardIcon = ":/pict/pict/Standardicon_unknown.png";
constexpr std::string_view kUnknownClass = "unknown class";
constexpr std::string_view kCustomToleranceTable = "CUSTOM_TOLERANCE_TABLE";
// Its class text is this, whatever the class.
constexpr std::string_view kCat1E2028 = "CAT_1E2028";

// A sub-quality letter with its constant name.
struct SubqualityLetter {
    std::string_view letter;
    std::string_view constantName;
};

constexpr std::array<SubqualityLetter, 4> kAgmaLetters{{
    {"A", "AGMA_2000_A88_A"},
    {"B", "AGMA_2000_A88_B"},
    {"C", "AGMA_2000_A88_C"},
    {"D", "AGMA_2000_A88_D"},
}};
constexpr std::array<SubqualityLetter, 6> kIsoLetters{{
    {"d", "ISO_4156_1_2005_d"},
    {"e", "ISO_4156_1_2005_e"},
    {"f", "ISO_4156_1_2005_f"},
    {"h", "ISO_4156_1_2005_h"},
    {"js", "ISO_4156_1_2005_js"},
    {"k", "ISO_4156_1_2005_k"},
}};
constexpr std::array<SubqualityLetter, 24> kDinLetters{{
    {"a", "DIN_5480_a"},          {"b", "DIN_5480_b"},          {"c", "DIN_5480_c"},
    {"d", "DIN_5480_d"},          {"e", "DIN_5480_e"},          {"f", "DIN_5480_f"},
    {"g", "DIN_5480_g"},          {"h", "DIN_5480_h"},          {"j", "DIN_5480_j"},
    {"k", "DIN_5480_k"},          {"m", "DIN_5480_m"},          {"n", "DIN_5480_n"},
    {"p", "DIN_5480_p"},          {"r", "DIN_5480_r"},          {"s", "DIN_5480_s"},
    {"t", "DIN_5480_t"},          {"u", "DIN_5480_u"},          {"v", "DIN_5480_v"},
    {"F", "DIN_5480_INTERNAL_F"}, {"G", "DIN_5480_INTERNAL_G"}, {"H", "DIN_5480_INTERNAL_H"},
    {"J", "DIN_5480_INTERNAL_J"}, {"K", "DIN_5480_INTERNAL_K"}, {"M", "DIN_5480_INTERNAL_M"},
}};

// The feature each sub-quality standard grades and its letters. The constant names are looked up in this
// order and a letter takes the name of its first row, so the letters that ISO 4156-1 shares with DIN 5480
// carry the ISO names.
struct SubqualityRow {
    std::string_view standard;
    std::string_view feature;
    std::span<const SubqualityLetter> letters;
};

constexpr std::array kSubqualities{
    SubqualityRow{"AGMA_2000_A88", "st", kAgmaLetters},
    SubqualityRow{"ISO_4156_1_2005", "allowance", kIsoLetters},
    SubqualityRow{"DIN_5480", "st", kDinLetters},
};

const StandardRow* standardRow(std::string_view name) {
    const auto it = std::ranges::find(kStandards, name, &StandardRow::name);
    return it == kStandards.end() ? nullptr : &*it;
}

const SubqualityRow* subqualityRow(std::string_view standard) {
    const auto it = std::ranges::find(kSubqualities, standard, &SubqualityRow::standard);
    return it == kSubqualities.end() ? nullptr : &*it;
}

// The row that gives the letter its constant name: the letter's first row in lookup order.
const SubqualityLetter* constantNameRow(std::string_view letter) {
    for (const SubqualityRow& row : kSubqualities) {
        const auto it = std::ranges::find(row.letters, letter, &SubqualityLetter::letter);
        if (it != row.letters.end()) return &*it;
    }
    return nullptr;
}

bool has(const std::string& standardName, bool StandardRow::*flag) {
    const StandardRow* row = standardRow(standardName);
    return row != nullptr && row->*flag;
}

std::string upper(std::string text) {
    std::ranges::transform(text, text.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

} // namespace

bool hasQuality(const std::string& standardName) {
    return has(standardName, &StandardRow::quality);
}
bool hasSubquality(const std::string& standardName) {
    return has(standardName, &StandardRow::subquality);
}
bool hasProcessType(const std::string& standardName) {
    return has(standardName, &StandardRow::processType);
}
bool hasPostProcessType(const std::string& standardName) {
    return has(standardName, &StandardRow::postProcessType);
}
bool hasFitType(const std::string& standardName) {
    return has(standardName, &StandardRow::fitType);
}
bool hasCustomToleranceTable(const std::string& standardName) {
    return standardName == kCustomToleranceTable;
}

long StandardName_2_ConstantValue(const std::string& standardName) {
    const StandardRow* row = standardRow(standardName);
    return row != nullptr ? row->constant : -1;
}

std::string constantValue_2_StandardName(long constant) {
    const auto it = std::ranges::find(kStandards, constant, &StandardRow::constant);
    return std::string(it != kStandards.end() ? it->name : kUnknownStandard);
}

std::string StandardName_2_InvoluteString(const std::string& standardName) {
    const StandardRow* row = standardRow(standardName);
    return std::string(row != nullptr && !row->display.empty() ? row->display : kUnknownStandard);
}

std::string InvoluteString_2_StandardName(const std::string& text) {
    const auto it = std::ranges::find_if(
        kStandards, [&text](const StandardRow& row) { return !row.display.empty() && row.display == text; });
    return std::string(it != kStandards.end() ? it->name : kUnknownStandard);
}

std::string StandardName_2_KestTableString(const std::string& standardName) {
    const StandardRow* row = standardRow(standardName);
    if (row == nullptr) return standardName;
    return std::string(!row->table.empty() ? row->table : kUnknownStandard);
}

std::string KestTableString_2_StandardName(const std::string& text) {
    const auto it = std::ranges::find_if(
        kStandards, [&text](const StandardRow& row) { return !row.table.empty() && row.table == text; });
    return it != kStandards.end() ? std::string(it->name) : text;
}

std::string StandardName_2_IconResource(const std::string& standardName) {
    const StandardRow* row = standardRow(standardName);
    return std::string(row != nullptr ? row->icon : kUnknownStandardIcon);
}

std::string Subquality_2_ConstantName(const std::string& subquality) {
    const SubqualityLetter* row = constantNameRow(subquality);
    return row != nullptr ? std::string(row->constantName) : std::string();
}

std::string ConstantName_2_Subquality(const std::string& constantName) {
    for (const SubqualityRow& standard : kSubqualities)
        for (const SubqualityLetter& letter : standard.letters)
            if (letter.constantName == constantName && constantNameRow(letter.letter) == &letter)
                return std::string(letter.letter);
    return {};
}

bool isSubqualityAllowed(const std::string& subquality, const std::string& standardName) {
    const SubqualityRow* row = subqualityRow(standardName);
    return row != nullptr &&
           std::ranges::find(row->letters, subquality, &SubqualityLetter::letter) != row->letters.end();
}

std::map<std::string, std::set<std::string>> getAllFeaturesSubqualities(const std::string& standardName) {
    std::map<std::string, std::set<std::string>> out;
    if (const SubqualityRow* row = subqualityRow(standardName)) {
        auto& letters = out[std::string(row->feature)];
        for (const SubqualityLetter& letter : row->letters)
            letters.emplace(letter.letter);
    }
    return out;
}

// Three passes over a working copy that build on each other: the text as it is, then with the separators
// " ,/([:])+-." turned into "_", then with runs of "_" collapsed. The longest name found wins; on equal
// length the earlier find stays.
bool fuzzy_string_2_StandardName(const std::string& text, std::string* out) {
    if (out == nullptr) return false;
    *out = std::string(kUnknownStandard);
    if (text.empty()) return false;
    std::string working = text;
    const StandardRow* best = nullptr;
    for (int pass = 0; pass < 3; ++pass) {
        if (pass == 1)
            std::ranges::replace_if(
                working,
                [](char c) { return std::string_view(" ,/([:])+-.").find(c) != std::string_view::npos; },
                '_');
        if (pass == 2)
            while (working.find("__") != std::string::npos)
                replaceAll(working, "__", "_");
        const std::string haystack = upper(working);
        for (const StandardRow& row : kStandards)
            if (haystack.find(upper(std::string(row.name))) != std::string::npos &&
                (best == nullptr || row.name.size() > best->name.size()))
                best = &row;
    }
    if (best == nullptr) return false;
    *out = std::string(best->name);
    return true;
}

long StandardClass_2_int(StandardClass standardClass) {
    return standardClass == StandardClass::Unknown ? -1 : static_cast<long>(standardClass);
}

StandardClass int_2_StandardClass(long value) {
    return value >= 0 && value <= 16 ? static_cast<StandardClass>(value) : StandardClass::Unknown;
}

std::string StandardClass_2_string(const std::string& standardName, StandardClass standardClass) {
    if (standardName == kCat1E2028) return "CAT";
    if (standardClass == StandardClass::Unknown || standardName == kUnknownStandard || standardName.empty())
        return std::string(kUnknownClass);
    const std::string number = std::to_string(StandardClass_2_int(standardClass));
    const StandardRow* row = standardRow(standardName);
    if (row == nullptr) return number;
    if (!row->quality) return std::string(kUnknownClass);
    return std::string(row->gradePrefix) + number;
}

bool string_2_StandardClass(const std::string& text, const std::string& standardName, StandardClass* out) {
    if (out == nullptr) return false;
    *out = StandardClass::Unknown;
    if (text.empty()) return false;
    // the class text of the class not set, for every standard
    if (standardName == kCat1E2028 || text == kUnknownClass) return true;
    for (long value = 0; value <= 16; ++value) {
        const StandardClass candidate = int_2_StandardClass(value);
        if (StandardClass_2_string(standardName, candidate) == text) {
            *out = candidate;
            return true;
        }
    }
    return false;
}

} // namespace kest::gear
