#include <kest/gear/evaluation_standard.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

using namespace kest::gear;

namespace {

// What the conversions and predicates say about one name, as one line:
// "constant | designation | table name | QSPFT" with each support flag as its letter or "-".
std::string describe(const std::string& name) {
    std::string flags;
    flags += hasQuality(name) ? "Q" : "-";
    flags += hasSubquality(name) ? "S" : "-";
    flags += hasProcessType(name) ? "P" : "-";
    flags += hasPostProcessType(name) ? "p" : "-";
    flags += hasFitType(name) ? "F" : "-";
    return std::to_string(StandardName_2_ConstantValue(name)) + " | " + StandardName_2_InvoluteString(name) +
           " | " + StandardName_2_KestTableString(name) + " | " + flags;
}

// The master table of the standards, one row each, and the names that are no standard.
TEST(standard_names, MasterTable) {
    const std::pair<const char*, const char*> rows[] = {
        {"DIN_3962", "1 | DIN 3962:1978-08 | DIN_3962 | Q----"},
        {"ISO_1328_1995", "2 | ISO 1328-1:1995-02 | ISO_1328_1995 | Q----"},
        {"GBT_10095", "3 | unknown standard | GBT_10095 | Q----"},
        {"AGMA_2000_A88", "4 | ANSI AGMA 2000-A88:1988-03 | unknown standard | QS---"},
        {"JIS_B1702_2008", "5 | JIS B 1702-3:2008-04 | unknown standard | Q----"},
        {"CAT_1E4157", "6 | CAT 1E4157A:2010-08 | unknown standard | Q-P--"},
        {"RENAULT_01_33_001", "7 | RENAULT 01-33-001-G:1996-05 | RENAULT_01_33_001g | Q----"},
        {"VW_GEAR_STANDARD", "8 | unknown standard | VW_GEAR_STANDARD | Q----"},
        {"CAT_1E2028", "9 | CAT 1E2028:2015-12 | unknown standard | --PpF"},
        {"GOST_1643_81", "10 | unknown standard | GOST_1643_81 | Q----"},
        {"DIN_5480", "11 | DIN 5480:2006-03 | unknown standard | QSP-F"},
        {"ANSI_B92_1", "12 | ANSI B92.1:1996-07 | unknown standard | Q---F"},
        {"AGMA_2015_1_A01", "13 | ANSI AGMA 2015-1-A01:2002-08 | unknown standard | Q----"},
        {"ISO_1328_2013", "14 | ISO 1328-1:2013-09 | unknown standard | Q----"},
        {"CUSTOM_TOLERANCE_TABLE", "15 | unknown standard | unknown standard | Q----"},
        {"JIS_B1702_1998", "16 | JIS B 1702-1:1998-03 | JIS_B1702_1998 | Q----"},
        {"FREE_DIN_3962", "17 | unknown standard | unknown standard | -----"},
        {"ISO_4156_1_2005", "18 | ISO 4156-1:2005-10 | unknown standard | QS--F"},
        {"unknown standard", "-1 | unknown standard | unknown standard | -----"},
        {"MY_TABLE", "-1 | unknown standard | MY_TABLE | -----"},
        {"din_3962", "-1 | unknown standard | din_3962 | -----"},
    };
    for (const auto& [name, expected] : rows) {
        EXPECT_EQ(describe(name), expected) << name;
        const long constant = StandardName_2_ConstantValue(name);
        EXPECT_EQ(constantValue_2_StandardName(constant), constant == -1 ? "unknown standard" : name);
        const std::string display = StandardName_2_InvoluteString(name);
        if (display != "unknown standard") {
            EXPECT_EQ(InvoluteString_2_StandardName(display), name);
        }
        const std::string table = StandardName_2_KestTableString(name);
        if (constant != -1 && table != "unknown standard") {
            EXPECT_EQ(KestTableString_2_StandardName(table), name);
        }
    }
    EXPECT_EQ(constantValue_2_StandardName(0), "unknown standard");
    EXPECT_EQ(constantValue_2_StandardName(19), "unknown standard");
    EXPECT_EQ(InvoluteString_2_StandardName("DIN 3962"), "unknown standard");
    EXPECT_EQ(KestTableString_2_StandardName("RENAULT_01_33_001"), "RENAULT_01_33_001");
    EXPECT_TRUE(hasCustomToleranceTable("CUSTOM_TOLERANCE_TABLE"));
    EXPECT_FALSE(hasCustomToleranceTable("custom_tolerance_table"));
    EXPECT_EQ(StandardName_2_IconResource("FREE_DIN_3962"), ":/pict/pict/Standardicon_FREE_DIN.png");
    EXPECT_EQ(StandardName_2_IconResource("MY_TABLE"), ":/pict/pict/Standardicon_unknown.png");
}

TEST(standard_names, ClassTexts) {
    const std::tuple<const char*, long, const char*> rows[] = {
        {"AGMA_2000_A88", 10, "Q10"},          {"AGMA_2015_1_A01", 3, "A3"},
        {"JIS_B1702_2008", 0, "P0"},           {"CAT_1E4157", 16, "C16"},
        {"JIS_B1702_1998", 5, "N5"},           {"DIN_3962", 0, "0"},
        {"DIN_3962", 17, "unknown class"},     {"CAT_1E2028", 17, "CAT"},
        {"FREE_DIN_3962", 5, "unknown class"}, {"MY_TABLE", 7, "7"},
        {"MY_TABLE", 17, "unknown class"},     {"unknown standard", 3, "unknown class"},
    };
    for (const auto& [name, number, text] : rows) {
        const StandardClass cls = int_2_StandardClass(number);
        EXPECT_EQ(StandardClass_2_string(name, cls), text) << name << " " << number;
        StandardClass back = StandardClass::Class3;
        EXPECT_TRUE(string_2_StandardClass(text, name, &back)) << name << " " << text;
        // a standard without quality has one text for every class, which reads as the class not set
        const bool oneText = std::string(text) == "unknown class" || std::string(name) == "CAT_1E2028";
        EXPECT_EQ(back, oneText ? StandardClass::Unknown : cls) << name << " " << text;
    }
    EXPECT_EQ(StandardClass_2_int(StandardClass::Unknown), -1);
    EXPECT_EQ(int_2_StandardClass(-1), StandardClass::Unknown);
}

TEST(standard_names, ClassTextsThatDoNotRead) {
    const std::pair<const char*, const char*> rows[] = {
        {"5", "JIS_B1702_1998"}, {"Q5", "DIN_3962"},       {"", "DIN_3962"},
        {"17", "MY_TABLE"},      {"n5", "JIS_B1702_1998"},
    };
    for (const auto& [text, name] : rows) {
        StandardClass out = StandardClass::Class3;
        EXPECT_FALSE(string_2_StandardClass(text, name, &out)) << text << " " << name;
        EXPECT_EQ(out, StandardClass::Unknown);
    }
    StandardClass out = StandardClass::Class3;
    EXPECT_TRUE(string_2_StandardClass("anything", "CAT_1E2028", &out));
    EXPECT_EQ(out, StandardClass::Unknown);
    EXPECT_FALSE(string_2_StandardClass("5", "DIN_3962", nullptr));
}

// The pass in which a text is first recognised shows in the comment.
TEST(standard_names, FreeTextRecognition) {
    const std::pair<const char*, const char*> rows[] = {
        {"DIN_3962", "DIN_3962"},                      // pass 0
        {"din 3962", "DIN_3962"},                      // pass 1
        {"FREE DIN 3962", "FREE_DIN_3962"},            // the longer of two names
        {"iso 4156-1 (2005)", "ISO_4156_1_2005"},      // pass 2: iso_4156_1__2005_ -> iso_4156_1_2005_
        {"ISO 1328-1:2013", "unknown standard"},       // no name has the part number
        {"ISO 1328 2013 / DIN 5480", "ISO_1328_2013"}, // longer than DIN_5480
        {"Renault 01.33.001", "RENAULT_01_33_001"},    // full stops
        {"vw gear standard", "VW_GEAR_STANDARD"},      // upper-cased for the comparison
        {"AGMA 2000-A88 + DIN 3962", "AGMA_2000_A88"}, // longest
        {"gear", "unknown standard"},                  // nothing
        {"custom tolerance table", "CUSTOM_TOLERANCE_TABLE"},
    };
    for (const auto& [text, name] : rows) {
        std::string out = "x";
        EXPECT_EQ(fuzzy_string_2_StandardName(text, &out), std::string(name) != "unknown standard") << text;
        EXPECT_EQ(out, name) << text;
    }
    std::string out = "x";
    EXPECT_FALSE(fuzzy_string_2_StandardName("", &out));
    EXPECT_EQ(out, "unknown standard");
    EXPECT_FALSE(fuzzy_string_2_StandardName("DIN_3962", nullptr));
}

TEST(standard_names, SubqualityConstantNames) {
    const std::pair<const char*, const char*> rows[] = {
        {"A", "AGMA_2000_A88_A"},
        {"d", "ISO_4156_1_2005_d"},
        {"js", "ISO_4156_1_2005_js"},
        {"a", "DIN_5480_a"},
        {"F", "DIN_5480_INTERNAL_F"},
        {"M", "DIN_5480_INTERNAL_M"},
        {"x", ""},
    };
    for (const auto& [letter, constantName] : rows) {
        EXPECT_EQ(Subquality_2_ConstantName(letter), constantName) << letter;
        if (*constantName) {
            EXPECT_EQ(ConstantName_2_Subquality(constantName), letter) << constantName;
        }
    }
    // the letters DIN 5480 shares with ISO 4156-1 carry the ISO names only
    for (const char* shadowed :
         {"DIN_5480_d", "DIN_5480_e", "DIN_5480_f", "DIN_5480_h", "DIN_5480_k", "x", ""})
        EXPECT_EQ(ConstantName_2_Subquality(shadowed), "") << shadowed;
}

TEST(standard_names, SubqualitiesPerStandard) {
    using Letters = std::set<std::string>;
    EXPECT_EQ(getAllFeaturesSubqualities("AGMA_2000_A88"),
              (std::map<std::string, Letters>{{"st", {"A", "B", "C", "D"}}}));
    EXPECT_EQ(getAllFeaturesSubqualities("ISO_4156_1_2005"),
              (std::map<std::string, Letters>{{"allowance", {"d", "e", "f", "h", "js", "k"}}}));
    EXPECT_TRUE(getAllFeaturesSubqualities("DIN_3962").empty());
    EXPECT_TRUE(isSubqualityAllowed("M", "DIN_5480"));
    EXPECT_FALSE(isSubqualityAllowed("js", "DIN_5480") || isSubqualityAllowed("a", "AGMA_2000_A88") ||
                 isSubqualityAllowed("A", "DIN_3962") || isSubqualityAllowed("", "DIN_5480"));
}

} // namespace
