#pragma once

// The identity of one measurement on a gear: what is measured, on which flank, which of the measurements of
// that kind on the flank, and on which teeth in which order. A tooth list that returns to teeth already
// measured runs in further passes (cycles): 1, 10, 19, 1, 10, 19 measures three teeth in cycles 0 and 1.

#include <kest/gear/host/export.h>
#include <kest/gear/measurement_enums.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kest::gear {

// A value type used as the key of ordered containers. The tooth-setting operations keep the sorted teeth and
// the cycles in step with `teeth`; code that assigns the list directly takes that duty over.
//
// Most lists are ascending and measure each tooth once (a single tooth above all): such a list is its own
// sorted form and lies in cycle 0 throughout, so neither is stored and a copy costs the list alone.
class GEARRECORDS_API Gear_Measurement_Info {
public:
    Measurement_Type type = Measurement_Type::Profile;
    // Both matches any side when it stands on the left of ==.
    Side side = Side::Left;
    // 0 is the main measurement of its kind on the flank
    unsigned int measurementIndex = 0;
    // tooth numbers (from 1) in measuring order; a repeated tooth starts a further cycle
    std::vector<unsigned int> teeth;
    // the cycles belong to the current `teeth`
    bool cyclesCalculated = false;

    Gear_Measurement_Info() = default;
    // Throws the reason setTooth(teethText, reason) gives when it refuses the text.
    Gear_Measurement_Info(Measurement_Type type, Side side, const std::string& teethText,
                          unsigned int measurementIndex);

    // Parses a tooth list such as "1-3,7" (ascending and descending ranges, separated by commas; blanks and
    // tabs are ignored but may not stand between two digits). Tooth numbers run from 1 to maxNumberOfTeeth,
    // and the list holds at most maxToothListLength entries (kest/gear/tooth_count.h). returns false for a
    // malformed text: the list is unchanged when the text is refused as a whole, and empty when a number is
    // 0, missing or too large or the list too long. An empty text gives an empty list and true.
    bool setTooth(std::string text);
    // The same; `reason`, if given, receives why the text was refused ("wrong tooth(list) given", "tooth
    // number greater than 9999", "tooth list longer than 100000 entries"), or "" when it was taken.
    bool setTooth(std::string text, std::string* reason);
    // The same for a text that ends at its first NUL, read in place; null reads as "".
    bool setTooth(const char* text);
    // Takes the list as given, zeros and repetitions included. returns true
    bool setTooth(const std::vector<unsigned int>& newTeeth);
    // With a negative position the list becomes the single tooth; otherwise the existing, non-zero entry at
    // the position is replaced. returns false for tooth 0 or a position without such an entry
    bool setTooth(unsigned int tooth, long position);

    const std::vector<unsigned int>& getAllTeeth() const noexcept { return teeth; }
    // `teeth` in ascending order, duplicates kept
    const std::vector<unsigned int>& getSortedTeeth() const noexcept {
        return teethSorted_.empty() ? teeth : teethSorted_;
    }
    // The cycle of each entry of `teeth`, -1 where none could be given. returns an empty list when the
    // cycles are not calculated
    std::vector<std::int32_t> getCycles() const;
    bool isToothlistEmpty() const noexcept { return teeth.empty(); }
    // The list as "1,2,3,7" or, compressed into runs, as "1-3,7". returns "" for an empty list
    std::string teeth_2_string(bool compress) const;
    // The teeth of one cycle in the same forms. returns "" when there is no such cycle
    std::string teeth_2_string(long cycle, bool compress) const;
    std::string type_2_string() const;
    std::string side_2_string() const;

    // returns -1 when the cycles are not calculated or the position is past the end
    long getCycle(unsigned int position) const;
    // returns -1 unless hasValidCycles()
    long getMaxCycle() const;
    // Every entry has a cycle, starting from 0.
    bool hasValidCycles() const;
    // The list positions of the first and last entry of the cycle. returns false for a cycle outside
    // 0..getMaxCycle() or when the cycles are not valid.
    bool calculateFirstLastIndexOfCycle(long cycle, unsigned int& first, unsigned int& last) const;
    // The list positions from the first to the last entry of the cycle; `positions` is cleared first.
    bool calculateIndexVectorOfCycle(long cycle, std::vector<unsigned int>& positions) const;
    // The teeth of the cycle in measuring order; `cycleTeeth` is cleared first.
    bool getTeethOfCycle(long cycle, std::vector<unsigned int>& cycleTeeth) const;
    // Both infos measure the same teeth, each once, in the cycle; the order does not matter.
    bool hasSameTeethInCycle(long cycle, const Gear_Measurement_Info& other) const;
    // Measures the teeth of the cycle in the new order. returns false, changing nothing, unless `newOrder`
    // holds exactly the teeth of the cycle, each once.
    bool permutateToothOfCycle(const std::vector<unsigned int>& newOrder, long cycle);

    // A copy for the other flank, or for both flanks when `both`. An info for both flanks is returned as is.
    Gear_Measurement_Info getInfoOtherSide(bool both) const;

    // Not symmetric: a Both side on the left matches any side on the right. Infos whose cycles are not
    // calculated (an empty list among them) are never equal, not even to themselves. The tooth order counts.
    bool operator==(const Gear_Measurement_Info& other) const;
    bool operator!=(const Gear_Measurement_Info& other) const { return !(*this == other); }
    // Strict weak order by type, side, sorted teeth and measurement index; the tooth order and the cycles do
    // not take part.
    bool operator<(const Gear_Measurement_Info& other) const;

private:
    // `teeth` sorted, or empty when `teeth` is ascending and so its own sorted form
    std::vector<unsigned int> teethSorted_;
    // the cycle of each entry of `teeth`, -1 where none could be given; empty when `singleCycle_` stands for
    // a list that measures no tooth twice, all of whose entries lie in cycle 0
    std::vector<std::int32_t> cycles_;
    bool singleCycle_ = false;

    // The number of cycle entries, and the cycle of one of them (position below cycleCount()).
    std::size_t cycleCount() const noexcept { return singleCycle_ ? teeth.size() : cycles_.size(); }
    std::int32_t cycleAt(std::size_t position) const noexcept { return singleCycle_ ? 0 : cycles_[position]; }
    // setTooth(text); returns the reason for a refusal, nullptr when the text was taken
    const char* parseTeeth(std::string_view text);
    bool calculateCycle();
    void updateTeethSorted();
    // returns 0 past the end
    unsigned int getTooth(unsigned int position) const noexcept;
    // Rebuilds everything derived from `teeth`.
    void teethChanged();
};

// A measurement identity with the measurement's name (a default name from getDefaultMeasName or the user's).
class GEARRECORDS_API Gear_Measurement : public Gear_Measurement_Info {
public:
    std::string name;

    Gear_Measurement() = default;
    Gear_Measurement(const Gear_Measurement_Info& info, const std::string& measurementName)
        : Gear_Measurement_Info(info)
        , name(measurementName) {}

    // Orders by the info, and by the name only when the infos are equal by ==.
    bool operator<(const Gear_Measurement& other) const;
};

} // namespace kest::gear
