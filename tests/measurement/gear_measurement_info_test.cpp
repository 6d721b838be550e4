#include <kest/gear/gear_measurement_info.h>

#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <vector>

using namespace kest::gear;

namespace {

using Teeth = std::vector<unsigned int>;
using Cycles = std::vector<std::int32_t>;

Gear_Measurement_Info info(const std::vector<unsigned int>& teeth, Side side = Side::Left,
                           unsigned int index = 0, Measurement_Type type = Measurement_Type::Profile) {
    Gear_Measurement_Info i(type, side, "", index);
    i.setTooth(teeth);
    return i;
}

struct AcceptedRow {
    const char* text;
    Teeth teeth;
    Cycles cycles;
    const char* compressed;
    long maxCycle;
};

TEST(gear_measurement_info, AcceptedToothLists) {
    const std::vector<AcceptedRow> rows{
        {"", {}, {}, "", -1},
        {"1-3,7", {1, 2, 3, 7}, {0, 0, 0, 0}, "1-3,7", 0},
        {"1,10,19,1,10,19", {1, 10, 19, 1, 10, 19}, {0, 0, 0, 1, 1, 1}, "1,10,19,1,10,19", 1},
        // a tooth outside the first cycle leaves the rest without a cycle
        {"1,10,1,19", {1, 10, 1, 19}, {0, 0, 1, -1}, "1,10,1,19", -1},
        // the first cycle ends at the first repeat, not at a later one
        {"1,9,1,5,5", {1, 9, 1, 5, 5}, {0, 0, 1, -1, -1}, "1,9,1,5,5", -1},
        {"1,\t2 ,3", {1, 2, 3}, {0, 0, 0}, "1-3", 0},
        {"7;9", {7, 9}, {0, 0}, "7,9", 0},
        {"3-1,3-1", {3, 2, 1, 3, 2, 1}, {0, 0, 0, 1, 1, 1}, "3-1,3-1", 1},
        {"1,2,3,7,9,8", {1, 2, 3, 7, 9, 8}, {0, 0, 0, 0, 0, 0}, "1-3,7,9-8", 0},
        {"4,5", {4, 5}, {0, 0}, "4-5", 0},
        {"1-3,2-1", {1, 2, 3, 2, 1}, {0, 0, 0, 1, 1}, "1-3,2-1", 1},
        {"2,1,2", {2, 1, 2}, {0, 0, 1}, "2-1,2", 1},
        // a "-" after a closed range opens it again from its start
        {"1-3-5", {1, 2, 3, 4, 5}, {0, 0, 0, 0, 0}, "1-5", 0},
    };
    for (const AcceptedRow& row : rows) {
        SCOPED_TRACE(row.text);
        Gear_Measurement_Info i = info({9, 9});
        ASSERT_TRUE(i.setTooth(std::string(row.text)));
        EXPECT_EQ(i.teeth, row.teeth);
        EXPECT_EQ(i.getCycles(), row.cycles);
        EXPECT_EQ(i.getMaxCycle(), row.maxCycle);
        EXPECT_EQ(i.teeth_2_string(true), row.compressed);
        for (const bool compress : {true, false}) { // both written forms read back to the same list
            Gear_Measurement_Info back;
            EXPECT_TRUE(back.setTooth(i.teeth_2_string(compress)) && back.teeth == row.teeth) << compress;
        }
    }
    EXPECT_EQ(info({1, 2, 3, 7}).teeth_2_string(false), "1,2,3,7");
    Gear_Measurement_Info none = info({9, 9});
    EXPECT_TRUE(none.setTooth(static_cast<const char*>(nullptr)) && none.teeth.empty());
}

// `times` copies of `text` joined by commas.
std::string repeated(const std::string& text, int times) {
    std::string list = text;
    for (int k = 1; k < times; ++k)
        list += "," + text;
    return list;
}

TEST(gear_measurement_info, RejectedToothLists) {
    constexpr const char* wrong = "wrong tooth(list) given";
    constexpr const char* tooLarge = "tooth number greater than 9999";
    constexpr const char* tooLong = "tooth list longer than 100000 entries";
    // refused as a whole: the list stays; a 0, missing or too large number or a list too long: it is emptied
    const struct {
        std::string text;
        bool listKept;
        const char* reason;
    } rows[] = {
        {"1 2", true, wrong},
        {"1,2\t3", true, wrong},
        {"1\n\n2", true, wrong},
        {"3-", true, wrong},
        {"1,2,", true, wrong},
        {"1-3a", true, wrong},
        {"0,4", false, wrong},
        {"0000", false, wrong},
        {"-4", false, wrong},
        {"1--3", false, wrong},
        {",1", false, wrong},
        {"1,\n2", false, wrong},
        {"10000", false, tooLarge},
        {"4294967296", false, tooLarge},
        {"1-4294967295", false, tooLarge},
        {"1000000-1", false, tooLarge},
        {"1-3,00000000000000000010000", false, tooLarge},
        {repeated("1-9999", 11), false, tooLong},
        {repeated("1-9999", 10) + ",1-11", false, tooLong},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.substr(0, 40));
        Gear_Measurement_Info i = info({4, 5});
        std::string reason = "stale";
        EXPECT_FALSE(i.setTooth(row.text, &reason));
        EXPECT_EQ(reason, row.reason);
        EXPECT_EQ(i.teeth, row.listKept ? Teeth({4, 5}) : Teeth());
        EXPECT_EQ(i.cyclesCalculated, row.listKept);
        EXPECT_EQ(i.getCycles(), row.listKept ? Cycles({0, 0}) : Cycles());
        EXPECT_THROW_MSG(Gear_Measurement_Info(Measurement_Type::Lead, Side::Right, row.text, 0), row.reason);
    }
}

TEST(gear_measurement_info, ToothListsAtTheBounds) {
    // the largest tooth number, and the longest list: ten passes over the teeth of the largest gear and ten
    // teeth more, descending so that the first cycle is built from its far end
    const struct {
        std::string text;
        std::size_t size;
        unsigned int last;
        long maxCycle;
    } rows[] = {
        {"00009999", 1, 9999, 0},
        {"9999-9998,9999", 3, 9999, 1},
        {repeated("9999-1", 10) + ",9999-9990", 100000, 9990, 10},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.substr(0, 40));
        Gear_Measurement_Info i;
        std::string reason = "stale";
        ASSERT_TRUE(i.setTooth(row.text, &reason));
        EXPECT_EQ(reason, "");
        EXPECT_EQ(i.teeth.size(), row.size);
        EXPECT_EQ(i.teeth.back(), row.last);
        EXPECT_EQ(i.getMaxCycle(), row.maxCycle);
        EXPECT_EQ(i.getCycle(static_cast<unsigned int>(row.size - 1)), row.maxCycle);
    }
}

// Lists taken as given may be empty or start with tooth 0: neither has cycles.
TEST(gear_measurement_info, ListsWithoutCycles) {
    for (const Teeth& teeth : {Teeth{}, Teeth{0, 1}, Teeth{0}}) {
        SCOPED_TRACE(teeth.size());
        const Gear_Measurement_Info i = info(teeth);
        EXPECT_FALSE(i.cyclesCalculated);
        EXPECT_EQ(i.getCycles(), Cycles());
        EXPECT_EQ(i.getCycle(0), -1);
        EXPECT_EQ(i.getMaxCycle(), -1);
        EXPECT_FALSE(i.hasValidCycles());
    }
    // a 0 later in the list is a tooth like any other
    EXPECT_EQ(info({1, 0, 1}).getCycles(), Cycles({0, 0, 1}));
}

TEST(gear_measurement_info, CycleQueries) {
    const Gear_Measurement_Info i = info({3, 2, 1, 3, 2, 1, 3});
    const char* cycleTexts[] = {"", "3-1", "3-1", "3", ""}; // cycles -1 to 3
    for (long cycle = -1; cycle <= 3; ++cycle)
        EXPECT_EQ(i.teeth_2_string(cycle, true), cycleTexts[cycle + 1]) << cycle;
    EXPECT_TRUE(info({1, 2, 3, 1, 2, 3}).hasSameTeethInCycle(1, info({3, 1, 2, 2, 1, 3})));
    EXPECT_FALSE(info({1, 2, 3}).hasSameTeethInCycle(0, info({1, 2, 4})));
    EXPECT_FALSE(info({1, 2, 1, 2}).hasSameTeethInCycle(1, info({1, 2})));
}

// Each edit starts from the list 3, 2, 1, 3, 2, 1; a refused edit changes nothing.
TEST(gear_measurement_info, EditTeeth) {
    const struct {
        char edit; // 's': setTooth(teeth[0], arg), 'p': permutateToothOfCycle(teeth, arg)
        Teeth teeth;
        long arg;
        bool result;
        Teeth after;
        long maxCycle;
    } rows[] = {
        {'s', {5}, -1, true, {5}, 0},
        {'s', {2}, 5, true, {3, 2, 1, 3, 2, 2}, 2},
        {'s', {5}, 6, false, {3, 2, 1, 3, 2, 1}, 1},
        {'s', {0}, 0, false, {3, 2, 1, 3, 2, 1}, 1},
        {'p', {1, 3, 2}, 0, true, {1, 3, 2, 3, 2, 1}, 1},
        {'p', {2, 1, 3}, 1, true, {3, 2, 1, 2, 1, 3}, 1},
        {'p', {1, 1, 2}, 0, false, {3, 2, 1, 3, 2, 1}, 1},
        {'p', {1, 2, 3}, 2, false, {3, 2, 1, 3, 2, 1}, 1},
    };
    for (std::size_t k = 0; k < std::size(rows); ++k) {
        const auto& row = rows[k];
        Gear_Measurement_Info i = info({3, 2, 1, 3, 2, 1});
        EXPECT_EQ(row.edit == 's' ? i.setTooth(row.teeth[0], row.arg)
                                  : i.permutateToothOfCycle(row.teeth, row.arg),
                  row.result)
            << k;
        EXPECT_EQ(i.teeth, row.after) << k;
        Teeth sorted = row.after;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(i.getSortedTeeth(), sorted) << k;
        EXPECT_EQ(i.getMaxCycle(), row.maxCycle) << k;
    }
    // without calculated cycles there is no cycle to reorder
    Gear_Measurement_Info stale = info({3, 2, 1, 3, 2, 1});
    stale.cyclesCalculated = false;
    EXPECT_FALSE(stale.permutateToothOfCycle({1, 3, 2}, 0));
}

TEST(gear_measurement_info, EqualityOrderAndOtherSide) {
    using T = Measurement_Type;
    const struct {
        const char* name;
        Gear_Measurement_Info a, b;
        bool equal, less, greater; // a == b, a < b, b < a
    } rows[] = {
        {"same", info({1, 2}), info({1, 2}), true, false, false},
        {"empty lists", info({}), info({}), false, false, false},
        {"Both on the left", info({1}, Side::Both), info({1}, Side::Left), true, false, true},
        {"Both on the right", info({1}, Side::Left), info({1}, Side::Both), false, true, false},
        {"tooth order", info({1, 2}), info({2, 1}), false, false, false},
        {"more cycles", info({1, 2, 1}), info({1, 2, 1, 2}), false, true, false},
        {"type first", info({5}, Side::Right, 0, T::Profile), info({1}, Side::Left, 0, T::Lead), false, true,
         false},
        {"side before teeth", info({5}, Side::Left), info({1}, Side::Right), false, true, false},
        {"teeth before index", info({1}, Side::Left, 5), info({2}, Side::Left, 0), false, true, false},
        {"index", info({1}, Side::Left, 0), info({1}, Side::Left, 1), false, true, false},
        {"failed cycles", info({1, 10, 1, 19}), info({1, 10, 1, 19}), true, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.a == row.b, row.equal);
        EXPECT_EQ(row.a < row.b, row.less);
        EXPECT_EQ(row.b < row.a, row.greater);
    }

    // the name decides only between equal infos; otherwise the infos' order holds, ties included
    const Gear_Measurement a(info({1, 2}), "B"), b(info({1, 2}), "A"), swapped(info({2, 1}), "A");
    EXPECT_TRUE(b < a && !(a < b));
    EXPECT_FALSE(a < swapped || swapped < a);
    const std::set<Gear_Measurement> keys{a, b, Gear_Measurement(info({1, 2}, Side::Right), "A")};
    EXPECT_EQ(keys.size(), 3u);

    EXPECT_EQ(info({4}, Side::Left).getInfoOtherSide(false).side, Side::Right);
    EXPECT_EQ(info({4}, Side::Right).getInfoOtherSide(false).side, Side::Left);
    EXPECT_EQ(info({4}, Side::Left).getInfoOtherSide(true).side, Side::Both);
    EXPECT_EQ(info({4}, Side::Both).getInfoOtherSide(false).side, Side::Both);
}

} // namespace
