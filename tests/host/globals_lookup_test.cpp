#include <kest/gear/host/globals.h>

#include <gtest/gtest.h>

#include <cstring>

namespace kest::host {
namespace {

bool answersSeven(const char* name, long* value) {
    if (std::strcmp(name, "known") != 0) return false;
    *value = 7;
    return true;
}

TEST(globals_lookup, StandInAnswersFalseAndARegisteredLookupAnswers) {
    long value = 5;
    EXPECT_FALSE(GlobalsLookup("known", value));
    EXPECT_EQ(value, 5);
    EXPECT_EQ(setGlobalsLookup(answersSeven), nullptr);
    EXPECT_TRUE(GlobalsLookup("known", value));
    EXPECT_EQ(value, 7);
    EXPECT_FALSE(GlobalsLookup("unknown", value));
    EXPECT_FALSE(GlobalsLookup(nullptr, value));
    EXPECT_EQ(setGlobalsLookup(nullptr), &answersSeven);
    EXPECT_FALSE(GlobalsLookup("known", value));
}

} // namespace
} // namespace kest::host
