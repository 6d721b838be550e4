#pragma once

// The evaluation ranges a gear holds: for every measurement type and the flanks Left and Right one slot per
// range type, each empty or owning a range; and their part of the gear file.

#include <kest/gear/evaluation_range.h>
#include <kest/gear/host/msxml_wrapper.h>

#include <array>
#include <memory>
#include <vector>

namespace kest::host {
class ChildSync;
}

namespace kest::gear {

class GearEvaluationRanges {
public:
    GearEvaluationRanges() = default;
    GearEvaluationRanges(const GearEvaluationRanges& other);
    GearEvaluationRanges& operator=(const GearEvaluationRanges& other);

    // Stores a copy for the flank, or one for each flank with side Both. false for a range the slot cannot
    // hold (see isEvaluationRangeSlot) or that is not valid; an overwrite by a different range is traced.
    bool add(Measurement_Type type, Side side, RangeType rangeType, const EvaluationRange& range);
    // false for a side other than Left or Right or an empty slot; otherwise assigns the base fields to *out
    // when out is given
    bool get(Measurement_Type type, Side side, RangeType rangeType, EvaluationRange* out) const;
    // appends the filled slots in range-type order; returns their number, 0 for a side other than Left or
    // Right
    unsigned int getAll(Measurement_Type type, Side side, std::vector<Gear_EvaluationRange>* out) const;
    // empties the slots of both flanks of the type; always true
    bool clear(Measurement_Type type);

    // Reads the "range" elements of every "evaluation/<type>[@side = '<side>']". false at the first element
    // without regression or type, with an unknown type or regression, or whose range does not read. An
    // element that reads but that the gear cannot hold is skipped with a warning and stays in the file.
    bool load(host::MSXMLWrapper& xml);
    // Writes the held ranges in place of the elements of ranges the gear can hold; those it no longer holds
    // go, other content stays.
    bool save(host::MSXMLWrapper& xml) const;

private:
    static constexpr std::size_t kTypes = 12;
    static constexpr std::size_t kFlanks = 2;
    static constexpr std::size_t kRangeTypes = 7;
    using Slots = std::array<std::unique_ptr<EvaluationRange>, kRangeTypes>;

    // null for a side other than Left or Right or a value outside the enumerations
    const std::unique_ptr<EvaluationRange>* slot(Measurement_Type type, Side side, RangeType rangeType) const;
    std::unique_ptr<EvaluationRange>* slot(Measurement_Type type, Side side, RangeType rangeType);
    // the held ranges of (type, side) in range-type order, each in the element `elements` gives for its type
    bool writeRanges(host::MSXMLWrapper& xml, Measurement_Type type, Side side,
                     host::ChildSync& elements) const;

    std::array<std::array<Slots, kFlanks>, kTypes> slots_;
};

} // namespace kest::gear
