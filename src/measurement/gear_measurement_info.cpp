#include <kest/gear/gear_measurement_info.h>

#include <kest/gear/tooth_count.h>

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <utility>

namespace kest::gear {
namespace {

constexpr const char* kWrongToothList = "wrong tooth(list) given";
constexpr const char* kToothNumberTooLarge = "tooth number greater than 9999";
constexpr const char* kToothListTooLong = "tooth list longer than 100000 entries";
static_assert(maxNumberOfTeeth == 9999 && maxToothListLength == 100000, "the messages name the bounds");

constexpr unsigned int kMaxTooth = std::numeric_limits<unsigned int>::max();

bool isDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

// White space as the C locale's isspace sees it.
bool isWhiteSpace(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A digit, white space and another digit in a row: two numbers that only a blank keeps apart, which would
// otherwise run together once the blanks are removed ("1 2" must not read as 12).
bool hasDigitsSplitByWhiteSpace(std::string_view text) noexcept {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isDigit(text[i])) continue;
        std::size_t j = i + 1;
        while (j < text.size() && isWhiteSpace(text[j]))
            ++j;
        if (j > i + 1 && j < text.size() && isDigit(text[j])) return true;
        i = j - 1; // the white space after this digit has been looked at
    }
    return false;
}

// Reads the run of digits at `pos` and moves past it. returns the reason when the run names no tooth: an
// empty run and 0 do not, nor a number beyond the teeth a gear can have.
const char* readToothNumber(std::string_view text, std::size_t& pos, unsigned int& number) noexcept {
    unsigned int value = 0;
    const std::size_t start = pos;
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        value = value * 10 + static_cast<unsigned int>(text[pos] - '0');
        if (value > static_cast<unsigned int>(maxNumberOfTeeth)) return kToothNumberTooLarge;
    }
    if (pos == start || value == 0) return kWrongToothList;
    number = value;
    return nullptr;
}

// Appends from, from +- 1, ..., to; a descending range gives descending teeth. returns the reason when the
// list would grow too long, appending nothing.
const char* appendRange(std::vector<unsigned int>& teeth, unsigned int from, unsigned int to) {
    const std::size_t count = (from <= to ? to - from : from - to) + std::size_t{1};
    if (count > maxToothListLength - teeth.size()) return kToothListTooLong;
    // A range is made room for at once; the room still grows geometrically over many short ranges.
    if (count > teeth.capacity() - teeth.size())
        teeth.reserve(std::max(teeth.size() + count, 2 * teeth.capacity()));
    for (unsigned int tooth = from;; tooth = from <= to ? tooth + 1 : tooth - 1) {
        teeth.push_back(tooth);
        if (tooth == to) break;
    }
    return nullptr;
}

bool ascends(unsigned int a, unsigned int b) noexcept {
    return a != kMaxTooth && b == a + 1;
}
bool descends(unsigned int a, unsigned int b) noexcept {
    return a != 0 && b == a - 1;
}

std::string listText(const std::vector<unsigned int>& teeth, bool compress) {
    std::string text;
    if (teeth.empty()) return text;
    if (!compress) {
        for (std::size_t i = 0; i < teeth.size(); ++i) {
            if (i != 0) text += ',';
            text += std::to_string(teeth[i]);
        }
        return text;
    }
    // Maximal runs of consecutive teeth, rising or else falling, are written as "first-last".
    text = std::to_string(teeth[0]);
    for (std::size_t i = 0; i < teeth.size();) {
        std::size_t j = i;
        while (j + 1 < teeth.size() && ascends(teeth[j], teeth[j + 1]))
            ++j;
        if (j == i)
            while (j + 1 < teeth.size() && descends(teeth[j], teeth[j + 1]))
                ++j;
        if (j > i) {
            if (i != 0) text += ',' + std::to_string(teeth[i]);
            text += '-' + std::to_string(teeth[j]);
        } else if (i != 0) {
            text += ',' + std::to_string(teeth[i]);
        }
        i = j + 1;
    }
    return text;
}

// The position of the first entry whose tooth stands earlier in the list; the list's length when no tooth
// repeats. Sorting the entries by tooth and position puts each later occurrence of a tooth right behind an
// earlier one, so that this takes n log n steps.
std::size_t firstRepeat(const std::vector<unsigned int>& teeth) {
    std::vector<std::pair<unsigned int, std::size_t>> order;
    order.reserve(teeth.size());
    for (std::size_t i = 0; i < teeth.size(); ++i)
        order.emplace_back(teeth[i], i);
    std::sort(order.begin(), order.end());
    std::size_t first = teeth.size();
    for (std::size_t k = 1; k < order.size(); ++k)
        if (order[k].first == order[k - 1].first) first = std::min(first, order[k].second);
    return first;
}

// The teeth sorted; false when one of them occurs twice.
bool sortedOnce(std::vector<unsigned int> teeth, std::vector<unsigned int>& sorted) {
    std::sort(teeth.begin(), teeth.end());
    sorted = std::move(teeth);
    return std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end();
}

} // namespace

static_assert(sizeof(unsigned int) == 4, "tooth numbers and measurement indices are 32-bit");

Gear_Measurement_Info::Gear_Measurement_Info(Measurement_Type measurementType, Side flank,
                                             const std::string& teethText, unsigned int index)
    : type(measurementType)
    , side(flank)
    , measurementIndex(index) {
    if (const char* problem = parseTeeth(teethText)) throw problem;
}

bool Gear_Measurement_Info::setTooth(std::string text) {
    return parseTeeth(text) == nullptr;
}

bool Gear_Measurement_Info::setTooth(std::string text, std::string* reason) {
    const char* problem = parseTeeth(text);
    if (reason) *reason = problem ? problem : "";
    return problem == nullptr;
}

bool Gear_Measurement_Info::setTooth(const char* text) {
    return parseTeeth(text != nullptr ? text : "") == nullptr;
}

const char* Gear_Measurement_Info::parseTeeth(std::string_view text) {
    // The common list of one tooth written in a few digits is read without the general walk below; a longer
    // number may be too large, and 0 is refused there.
    if (const std::size_t n = text.size(); n != 0 && n <= 4 && std::ranges::all_of(text, isDigit)) {
        unsigned int tooth = 0;
        for (const char c : text)
            tooth = tooth * 10 + static_cast<unsigned int>(c - '0');
        if (tooth != 0) {
            // what teethChanged() gives for one tooth: its own sorted form, in cycle 0
            teeth.assign(1, tooth);
            teethSorted_.clear();
            cycles_.clear();
            singleCycle_ = true;
            cyclesCalculated = true;
            return nullptr;
        }
    }
    if (hasDigitsSplitByWhiteSpace(text)) return kWrongToothList;
    // Blanks and tabs are passed over; a text without them is read where it is.
    std::string compact;
    if (text.find_first_of(" \t") != std::string_view::npos) {
        compact.assign(text);
        std::erase_if(compact, [](char c) { return c == ' ' || c == '\t'; });
        text = compact;
    }
    if (!text.empty() && !isDigit(text.back())) return kWrongToothList;

    teeth.clear();
    teethSorted_.clear();
    // A list without ranges has room for all its numbers at once.
    if (text.find('-') == std::string_view::npos) {
        const auto numbers = std::ranges::count_if(text, [](char c) { return !isDigit(c); }) + 1;
        teeth.reserve(std::min(static_cast<std::size_t>(numbers), maxToothListLength));
    }
    unsigned int from = 0;
    unsigned int to = 0;
    bool rangeOpen = false;
    for (std::size_t pos = 0; pos < text.size();) {
        unsigned int number = 0;
        const char* problem = readToothNumber(text, pos, number);
        if (rangeOpen) {
            to = number;
            rangeOpen = false;
        } else {
            from = to = number;
        }
        // "-" opens a range (again, after its end: "1-3-5" runs from 1 to 5); any other character separates.
        if (!problem && pos < text.size()) rangeOpen = text[pos++] == '-';
        if (!problem && !rangeOpen) problem = appendRange(teeth, from, to);
        if (problem) {
            teeth.clear();
            cycles_.clear();
            singleCycle_ = false;
            cyclesCalculated = false;
            return problem;
        }
    }
    // The text ends in a digit, so the last number has closed any range.
    assert(!rangeOpen);
    teethChanged();
    return nullptr;
}

bool Gear_Measurement_Info::setTooth(const std::vector<unsigned int>& newTeeth) {
    teeth = newTeeth;
    teethChanged();
    return true;
}

bool Gear_Measurement_Info::setTooth(unsigned int tooth, long position) {
    if (tooth == 0) return false;
    if (position < 0) {
        teeth.assign(1, tooth);
    } else {
        const auto at = static_cast<unsigned long>(position);
        if (at >= teeth.size() || teeth[at] == 0) return false;
        teeth[at] = tooth;
    }
    teethChanged();
    return true;
}

std::string Gear_Measurement_Info::teeth_2_string(bool compress) const {
    return listText(teeth, compress);
}

std::string Gear_Measurement_Info::teeth_2_string(long cycle, bool compress) const {
    std::vector<unsigned int> cycleTeeth;
    if (!getTeethOfCycle(cycle, cycleTeeth)) return {};
    return listText(cycleTeeth, compress);
}

std::string Gear_Measurement_Info::type_2_string() const {
    return Measurement_Type_2_string(type);
}

std::string Gear_Measurement_Info::side_2_string() const {
    return Side_2_string(side);
}

std::vector<std::int32_t> Gear_Measurement_Info::getCycles() const {
    return singleCycle_ ? std::vector<std::int32_t>(teeth.size(), 0) : cycles_;
}

long Gear_Measurement_Info::getCycle(unsigned int position) const {
    if (!cyclesCalculated || position >= cycleCount()) return -1;
    return cycleAt(position);
}

long Gear_Measurement_Info::getMaxCycle() const {
    return hasValidCycles() ? cycleAt(cycleCount() - 1) : -1;
}

bool Gear_Measurement_Info::hasValidCycles() const {
    const std::size_t count = cycleCount();
    return count != 0 && cycleAt(0) == 0 && cycleAt(count - 1) != -1;
}

bool Gear_Measurement_Info::calculateFirstLastIndexOfCycle(long cycle, unsigned int& first,
                                                           unsigned int& last) const {
    if (cycle < 0 || cycle < getCycle(0) || cycle > getMaxCycle()) return false;
    const std::size_t count = cycleCount();
    std::size_t lo = 0;
    for (; lo < count && cycleAt(lo) != cycle; ++lo)
        if (cycleAt(lo) == -1) return false;
    std::size_t hi = count;
    for (; hi > 0 && cycleAt(hi - 1) != cycle; --hi)
        if (cycleAt(hi - 1) == -1) return false;
    if (lo == count || hi == 0) return false;
    first = static_cast<unsigned int>(lo);
    last = static_cast<unsigned int>(hi - 1);
    return last >= first;
}

bool Gear_Measurement_Info::calculateIndexVectorOfCycle(long cycle,
                                                        std::vector<unsigned int>& positions) const {
    positions.clear();
    unsigned int first = 0;
    unsigned int last = 0;
    if (!calculateFirstLastIndexOfCycle(cycle, first, last)) return false;
    for (unsigned int p = first; p <= last; ++p)
        positions.push_back(p);
    return true;
}

bool Gear_Measurement_Info::getTeethOfCycle(long cycle, std::vector<unsigned int>& cycleTeeth) const {
    cycleTeeth.clear();
    if (cycle < 0 || cycle > getMaxCycle()) return false;
    std::vector<unsigned int> positions;
    if (!calculateIndexVectorOfCycle(cycle, positions)) return false;
    for (const unsigned int p : positions)
        cycleTeeth.push_back(getTooth(p));
    return true;
}

bool Gear_Measurement_Info::hasSameTeethInCycle(long cycle, const Gear_Measurement_Info& other) const {
    std::vector<unsigned int> mine;
    std::vector<unsigned int> theirs;
    if (!getTeethOfCycle(cycle, mine) || !other.getTeethOfCycle(cycle, theirs)) return false;
    if (mine.size() != theirs.size()) return false;
    std::vector<unsigned int> mineSorted;
    std::vector<unsigned int> theirsSorted;
    if (!sortedOnce(std::move(mine), mineSorted) || !sortedOnce(std::move(theirs), theirsSorted))
        return false;
    return mineSorted == theirsSorted;
}

bool Gear_Measurement_Info::permutateToothOfCycle(const std::vector<unsigned int>& newOrder, long cycle) {
    if (!cyclesCalculated) return false;
    std::vector<unsigned int> positions;
    if (!calculateIndexVectorOfCycle(cycle, positions)) return false;
    if (positions.size() != newOrder.size()) return false;
    std::vector<unsigned int> current;
    for (const unsigned int p : positions)
        current.push_back(getTooth(p));
    std::sort(current.begin(), current.end());
    std::vector<unsigned int> wanted;
    if (!sortedOnce(newOrder, wanted) || wanted != current) return false;
    // A reordering within a cycle leaves the sorted teeth and the cycle of every position as they were; an
    // ascending list that stood for its own sorted form may not stay ascending.
    if (teethSorted_.empty()) teethSorted_ = teeth;
    for (std::size_t k = 0; k < positions.size(); ++k)
        teeth[positions[k]] = newOrder[k];
    return true;
}

Gear_Measurement_Info Gear_Measurement_Info::getInfoOtherSide(bool both) const {
    Gear_Measurement_Info other(*this);
    if (side == Side::Both) return other;
    other.side = both ? Side::Both : side == Side::Left ? Side::Right : Side::Left;
    return other;
}

bool Gear_Measurement_Info::operator==(const Gear_Measurement_Info& other) const {
    if (type != other.type) return false;
    if (side != Side::Both && side != other.side) return false;
    if (measurementIndex != other.measurementIndex) return false;
    if (cyclesCalculated != other.cyclesCalculated || !cyclesCalculated) return false;
    const long highest = cycleCount() == 0 ? -1 : cycleAt(cycleCount() - 1);
    const long otherHighest = other.cycleCount() == 0 ? -1 : other.cycleAt(other.cycleCount() - 1);
    if (highest != otherHighest) return false;
    return teeth == other.teeth;
}

bool Gear_Measurement_Info::operator<(const Gear_Measurement_Info& other) const {
    if (type != other.type) return type < other.type;
    if (side != other.side) return side < other.side;
    const std::vector<unsigned int>& sorted = getSortedTeeth();
    const std::vector<unsigned int>& otherSorted = other.getSortedTeeth();
    if (const auto order = std::lexicographical_compare_three_way(sorted.begin(), sorted.end(),
                                                                  otherSorted.begin(), otherSorted.end());
        order != 0)
        return order < 0;
    return measurementIndex < other.measurementIndex;
}

bool Gear_Measurement_Info::calculateCycle() {
    if (cyclesCalculated) return true;
    cycles_.clear();
    singleCycle_ = false;
    if (teeth.empty() || teeth.front() == 0) return false;
    cyclesCalculated = true;
    // A list that measures no tooth twice is one cycle, the common case: nothing is stored for it.
    const std::vector<unsigned int>& sorted = getSortedTeeth();
    if (std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end()) {
        singleCycle_ = true;
        return true;
    }
    cycles_.assign(teeth.size(), -1);

    // The first cycle is the prefix of the list up to the first tooth met again.
    std::vector<unsigned int> firstCycle(teeth.begin(),
                                         teeth.begin() + static_cast<std::ptrdiff_t>(firstRepeat(teeth)));
    std::sort(firstCycle.begin(), firstCycle.end());
    // A later cycle may only measure teeth of the first; a tooth met again within the current cycle starts
    // the next one. seenIn[k] is the last cycle that measured firstCycle[k].
    std::vector<std::int32_t> seenIn(firstCycle.size(), -1);
    std::int32_t cycle = 0;
    for (std::size_t i = 0; i < teeth.size(); ++i) {
        const auto at = std::lower_bound(firstCycle.begin(), firstCycle.end(), teeth[i]);
        if (at == firstCycle.end() || *at != teeth[i]) return false;
        std::int32_t& seen = seenIn[static_cast<std::size_t>(at - firstCycle.begin())];
        if (seen == cycle) ++cycle;
        seen = cycle;
        cycles_[i] = cycle;
    }
    return true;
}

// An ascending list is its own sorted form: nothing is copied.
void Gear_Measurement_Info::updateTeethSorted() {
    if (std::is_sorted(teeth.begin(), teeth.end())) {
        teethSorted_.clear();
        return;
    }
    teethSorted_ = teeth;
    std::sort(teethSorted_.begin(), teethSorted_.end());
}

unsigned int Gear_Measurement_Info::getTooth(unsigned int position) const noexcept {
    return position < teeth.size() ? teeth[position] : 0;
}

void Gear_Measurement_Info::teethChanged() {
    updateTeethSorted();
    cyclesCalculated = false;
    calculateCycle();
}

bool Gear_Measurement::operator<(const Gear_Measurement& other) const {
    const Gear_Measurement_Info& info = *this;
    const Gear_Measurement_Info& otherInfo = other;
    if (!(info == otherInfo)) return info < otherInfo;
    return name < other.name;
}

} // namespace kest::gear
