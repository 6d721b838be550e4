// Twist settings: a view on the profile and lead path settings, one tooth per entry.
//
// A twist compares measurements of one tooth and flank taken side by side: profiles at several heights of the
// face width, or leads at several positions of the profile. Measurement index 0 is the reference; the odd and
// the even indices lie on either side of it, as the default measurement names UP_n / DOWN_n and OUT_n / IN_n
// say.

#include "record/measurement_settings.h"

#include "util/string_format.h"

#include <algorithm>
#include <cstddef>

namespace kest::gear {
namespace {

constexpr const char* kNoMeasurements = "no measurements defined";
constexpr const char* kTooFewMeasurements = "at least 3 measurements required";
constexpr const char* kNoReference = "reference measurement missing";
constexpr const char* kEvenCount = "odd number of measurements required incl. reference measurement";
constexpr const char* kUnbalanced =
    "same number of measurements on each side of reference measurement required";
constexpr const char* kNoRange = "no range for measurement %d:'%s' defined";
constexpr const char* kNotTwoPoints = "only 2 points for range for measurement %d:'%s' allowed";
constexpr const char* kHeightReferences =
    "different height references for range for measurement %d:'%s' not allowed";
constexpr const char* kPositionReferences =
    "different position references for range for measurement %d:'%s' not allowed";
constexpr const char* kHeights = "different heights for range for measurement %d:'%s' not allowed";
constexpr const char* kPositions = "different positions for range for measurement %d:'%s' not allowed";
constexpr const char* kPositionReference =
    "different position reference for range for measurement %d:'%s' not allowed";
constexpr const char* kHeightReference =
    "different height reference for range for measurement %d:'%s' not allowed";
constexpr const char* kHeightsReference =
    "different heights reference for range for measurement %d:'%s' not allowed";

// Values closer than this are one value: the ranges of a twist are entered in the units of their reference
// (mm, degrees, percent), where 1e-6 lies far below any measuring resolution.
constexpr double kTolerance = 1e-6;

bool sameValue(double a, double b) noexcept {
    return b > a - kTolerance && a + kTolerance > b;
}

// What a twist asks of its ranges. Each range runs along one coordinate (the profile position for a profile,
// the face-width height for a lead) and sits at one value of the other; all ranges run over the same
// interval.
struct TwistRule {
    Measurement_Type type;
    double MeasurementPathPoint::*along;
    Reference MeasurementPathPoint::*alongReference;
    double MeasurementPathPoint::*at;
    Reference MeasurementPathPoint::*atReference;
    const char* atReferencesDiffer;    // the two points of a range in different references
    const char* atValuesDiffer;        // the two points of a range at different values
    const char* alongReferenceDiffers; // a range's interval in another reference than the previous one's
    const char* alongStartDiffers;     // a range's interval starting elsewhere than the previous one's
    const char* alongEndDiffers;       // ... or ending elsewhere
};

constexpr TwistRule kTwistRules[] = {
    {Measurement_Type::Profile, &MeasurementPathPoint::position, &MeasurementPathPoint::positionReference,
     &MeasurementPathPoint::height, &MeasurementPathPoint::heightReference, kHeightReferences, kHeights,
     kPositionReference, kPositions, kPositions},
    {Measurement_Type::Lead, &MeasurementPathPoint::height, &MeasurementPathPoint::heightReference,
     &MeasurementPathPoint::position, &MeasurementPathPoint::positionReference, kPositionReferences,
     kPositions, kHeightReference, kHeights, kHeightsReference},
};

bool isTwistKind(Measurement_Type type) {
    return type == Measurement_Type::Profile || type == Measurement_Type::Lead;
}

void sortByInfo(std::vector<Gear_Measurement_Path>& settings) {
    std::ranges::stable_sort(
        settings, [](const Gear_Measurement_Info& a, const Gear_Measurement_Info& b) { return a < b; });
}

// The profile and lead settings split into one entry per tooth and sorted, so that the measurements of one
// tooth and flank stand together, reference first. A reference without any other measurement of its tooth and
// flank is left out: it is no twist.
std::vector<Gear_Measurement_Path> twistView(std::vector<Gear_Measurement_Path> settings) {
    sortByInfo(settings);
    // Profile and lead are the lowest kinds, so everything after the first other kind is of another kind.
    settings.erase(std::ranges::find_if_not(
                       settings, [](const Gear_Measurement_Path& s) { return isTwistKind(s.type); }),
                   settings.end());
    std::vector<Gear_Measurement_Path> single;
    for (const Gear_Measurement_Path& s : settings) {
        if (s.getAllTeeth().size() < 2) {
            single.push_back(s);
            continue;
        }
        // Each entry copies the setting without its tooth list, which may be long.
        Gear_Measurement_Path pattern = s;
        pattern.setTooth(std::vector<unsigned int>{});
        for (const unsigned int tooth : s.getAllTeeth()) {
            Gear_Measurement_Path& one = single.emplace_back(pattern);
            one.setTooth(std::vector<unsigned int>{tooth});
        }
    }
    sortByInfo(single);

    std::vector<Gear_Measurement_Path> view;
    const auto dropLoneReference = [&view] {
        if (!view.empty() && view.back().measurementIndex == 0) view.pop_back();
    };
    for (Gear_Measurement_Path& s : single) {
        if (s.isToothlistEmpty()) continue;
        if (s.measurementIndex == 0) dropLoneReference();
        view.push_back(std::move(s));
    }
    dropLoneReference();
    return view;
}

// The entries of one tooth and flank in the order of the twist view, without its references that stand
// alone, each a setting of `settings`. The view itself copies every setting once per tooth, too much for a
// question about one tooth. A group of references only gives no entry here, where the view may keep its last
// one; either way there are too few for a twist.
std::vector<const Gear_Measurement_Path*> twistOfTooth(const std::vector<Gear_Measurement_Path>& settings,
                                                       Measurement_Type type, Side side, unsigned int tooth) {
    std::vector<const Gear_Measurement_Path*> measuring;
    if (!isTwistKind(type)) return measuring;
    for (const Gear_Measurement_Path& s : settings)
        if (s.type == type && s.side == side && std::ranges::binary_search(s.getSortedTeeth(), tooth))
            measuring.push_back(&s);
    // The view orders the entries of a tooth by index, and those of equal index as its first sort ordered
    // their settings: by their sorted teeth, in list order where these are equal too.
    std::ranges::stable_sort(measuring, [](const auto* a, const auto* b) {
        if (a->measurementIndex != b->measurementIndex) return a->measurementIndex < b->measurementIndex;
        return a->getSortedTeeth() < b->getSortedTeeth();
    });
    std::vector<const Gear_Measurement_Path*> entries;
    for (const Gear_Measurement_Path* s : measuring) {
        const auto [first, last] =
            std::equal_range(s->getSortedTeeth().begin(), s->getSortedTeeth().end(), tooth);
        const auto repeats = static_cast<std::size_t>(last - first); // once per cycle
        entries.insert(entries.end(), s->getAllTeeth().size() < 2 ? 1 : repeats, s);
    }
    // Of the references only the last one counts, and only when other measurements follow it.
    std::vector<const Gear_Measurement_Path*> twist;
    for (const Gear_Measurement_Path* s : entries) {
        if (s->measurementIndex == 0 && !twist.empty() && twist.back()->measurementIndex == 0)
            twist.pop_back();
        twist.push_back(s);
    }
    if (!twist.empty() && twist.back()->measurementIndex == 0) twist.pop_back();
    return twist;
}

bool fail(std::string* message, const char* text) {
    if (message) *message = text;
    return false;
}

// `format` is one of the range messages above, each taking the measurement index (%d) and the label (%s).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
bool failFor(std::string* message, const char* format, const Gear_Measurement_Path& s) {
    if (message)
        util::stl_string_format(*message, format, static_cast<int>(s.measurementIndex), s.label.c_str());
    return false;
}
#pragma GCC diagnostic pop

// Checks the ranges of the selected settings in order, each against itself and against the one before.
bool rangesFormTwist(const TwistRule& rule, const std::vector<const Gear_Measurement_Path*>& selected,
                     std::string* message) {
    std::vector<MeasurementPathPoint> previous, points;
    for (const Gear_Measurement_Path* entry : selected) {
        const Gear_Measurement_Path& s = *entry;
        s.path.getPoints(&points);
        if (points.empty()) return failFor(message, kNoRange, s);
        if (points.size() != 2) return failFor(message, kNotTwoPoints, s);
        const MeasurementPathPoint &first = points[0], &second = points[1];
        if (first.*rule.atReference != second.*rule.atReference)
            return failFor(message, rule.atReferencesDiffer, s);
        if (!sameValue(first.*rule.at, second.*rule.at)) return failFor(message, rule.atValuesDiffer, s);
        if (!previous.empty()) {
            if (previous[0].*rule.alongReference != first.*rule.alongReference ||
                previous[1].*rule.alongReference != second.*rule.alongReference)
                return failFor(message, rule.alongReferenceDiffers, s);
            if (!sameValue(previous[0].*rule.along, first.*rule.along))
                return failFor(message, rule.alongStartDiffers, s);
            if (!sameValue(previous[1].*rule.along, second.*rule.along))
                return failFor(message, rule.alongEndDiffers, s);
        }
        previous.swap(points);
    }
    return true;
}

} // namespace

unsigned int MeasurementSettings::getAllTwistSettings(std::vector<Gear_Measurement_Path>* out) const {
    if (!out || settings_.empty()) return 0;
    *out = twistView(settings_);
    return static_cast<unsigned int>(out->size());
}

unsigned int MeasurementSettings::getTwistSettings(std::vector<Gear_Measurement_Path>* out,
                                                   Measurement_Type type, Side side,
                                                   unsigned int tooth) const {
    std::vector<Gear_Measurement_Path> view;
    if (!out || getAllTwistSettings(&view) == 0) return 0;
    out->clear();
    std::ranges::copy_if(view, std::back_inserter(*out), [&](const Gear_Measurement_Path& s) {
        return s.type == type && s.side == side && s.getAllTeeth().front() == tooth;
    });
    return static_cast<unsigned int>(out->size());
}

bool MeasurementSettings::setAllTwistSettings(std::vector<Gear_Measurement_Path>& settings) {
    clearPathSettings(Measurement_Type::Profile);
    clearPathSettings(Measurement_Type::Lead);
    for (const Gear_Measurement_Path& s : settings)
        addPathSetting(s);
    return true;
}

// Removes the twist of one tooth and flank: the measurements beside the reference. The references stay, and
// so do the measurements of other teeth; a setting for several teeth loses only this tooth. The settings of
// the first five kinds are then merged in anew, which also joins what the removal left side by side.
bool MeasurementSettings::clearTwistSettings(Measurement_Type type, Side side, unsigned int tooth) {
    if (settings_.empty()) return false;
    const auto isMerged = [](const Gear_Measurement_Path& s) {
        return static_cast<int>(s.type) <= static_cast<int>(Measurement_Type::TipCircle);
    };
    std::vector<Gear_Measurement_Path> kept;
    for (const Gear_Measurement_Path& s : settings_) {
        if (!isMerged(s)) continue; // never removed below
        const std::vector<unsigned int>& teeth = s.getAllTeeth();
        const bool ofTwist =
            s.type == type && s.measurementIndex != 0 && (side == Side::Both || s.side == side);
        if (!ofTwist || std::ranges::find(teeth, tooth) == teeth.end()) {
            kept.push_back(s);
            continue;
        }
        std::vector<unsigned int> others;
        std::ranges::copy_if(teeth, std::back_inserter(others),
                             [tooth](unsigned int t) { return t != tooth; });
        if (others.empty()) continue;
        Gear_Measurement_Path& reduced = kept.emplace_back(s);
        reduced.setTooth(others);
    }
    std::erase_if(settings_, isMerged);
    bool result = true;
    for (const Gear_Measurement_Path& s : kept)
        result = addPathSetting(s) && result;
    return result;
}

bool MeasurementSettings::isTwistValid(Measurement_Type type, Side side, unsigned int tooth,
                                       std::string* message, bool enabledOnly) const {
    if (message) message->clear();
    if (settings_.empty()) return fail(message, kNoMeasurements);
    std::vector<const Gear_Measurement_Path*> selected = twistOfTooth(settings_, type, side, tooth);
    if (enabledOnly) std::erase_if(selected, [](const auto* s) { return !s->enabled.is_enabled(); });

    if (selected.size() < 3) return fail(message, kTooFewMeasurements);
    if (selected.front()->measurementIndex != 0) return fail(message, kNoReference);
    if (selected.size() % 2 == 0) return fail(message, kEvenCount);
    const auto odd =
        std::ranges::count_if(selected, [](const auto* s) { return s->measurementIndex % 2 == 1; });
    const auto even = static_cast<std::ptrdiff_t>(selected.size()) - odd;
    if (odd + 1 != even) return fail(message, kUnbalanced);

    for (const TwistRule& rule : kTwistRules)
        if (rule.type == type) return rangesFormTwist(rule, selected, message);
    return true;
}

} // namespace kest::gear
