#include <kest/gear/evaluation_range.h>
#include <kest/gear/reference_conversions.h>

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/host/profile_scan.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <utility>

namespace kest::gear {
namespace {

constexpr const char* kWrongProfileReference = "wrong profile reference";
constexpr const char* kWrongLeadReference = "wrong lead reference";
constexpr const char* kWrongReferenceForRange = "wrong reference for range";
constexpr const char* kNoValidPointsInRange = "no valid points in range";
constexpr const char* kNoReference = "no reference for 2D data in compute2DRegressionElement()";
constexpr const char* kNoValidReference = "no valid reference for 2D data in compute2DRegressionElement()";

using ProfileConversion = double (*)(const CylindricalGearGeometry*, Side, double);
using LeadConversion = double (*)(const CylindricalGearGeometry*, double);

// ---- the basic profile relations -------------------------------------------------------------------------

// A point of the involute at radius r lies on the generating line, the tangent to the base circle that rolls
// off it; the length of that tangent from its foot to the point is the roll path L = sqrt(r^2 - rb^2) (ISO
// 21771, involute geometry). Inside the base circle there is no involute. There the roll path is taken
// negative, L = -sqrt(rb^2 - r^2) for 0 <= r < rb, and continued in steps of db beyond, so that every
// diameter, even a negative one, has a roll path and the two functions below invert each other.
double diameterOfRollPath(double rollPath, double db) {
    if (rollPath >= 0.0) return 2.0 * std::sqrt(0.25 * db * db + rollPath * rollPath);
    const double turns = std::ceil(2.0 * rollPath / db);
    const double e = rollPath - turns * db / 2.0;
    return turns * db + 2.0 * std::sqrt(0.25 * db * db - e * e);
}

double rollPathOfDiameter(double diameter, double db) {
    if (diameter >= db) return std::sqrt(diameter * diameter / 4.0 - 0.25 * db * db);
    const double turns = std::floor(diameter / db);
    const double r = diameter - turns * db;
    return -0.5 * std::sqrt(db * db - r * r) + 0.5 * turns * db;
}

// The geometry seen from one flank for the length of one conversion. The base diameter is asked for once:
// a chain of steps needs it in several of them, and a geometry works it out anew, with its trigonometry, on
// every call.
class Flank {
public:
    Flank(const CylindricalGearGeometry* geometry, Side side)
        : geometry_(geometry)
        , side_(side) {}

    double db() {
        if (!haveDb_) {
            db_ = geometry_->getDB(side_, false);
            haveDb_ = true;
        }
        return db_;
    }
    double d() const { return geometry_->getD(side_, false); }
    double dV() const { return geometry_->getDV(side_, false); }
    // 100 % is the end of the active involute farthest from the base circle: the tip of an external gear,
    // the root circle of an internal one, whichever diameter is larger.
    double rollPathAtHundredPercent() {
        return rollPathOfDiameter(std::max(geometry_->getDA(), geometry_->getDF()), db());
    }

private:
    const CylindricalGearGeometry* geometry_;
    Side side_;
    double db_ = 0.0;
    bool haveDb_ = false;
};

using ProfileStep = double (*)(Flank&, double);

double rollingPathToDiameter(Flank& flank, double value) {
    return diameterOfRollPath(value, flank.db());
}
double diameterToRollingPath(Flank& flank, double value) {
    return rollPathOfDiameter(value, flank.db());
}
// Roll angle xi = L / rb (the angle through which the generating line has rolled), in degrees.
double rollingPathToRollingAngle(Flank& flank, double value) {
    return 2.0 * value / flank.db() * 180.0 / std::numbers::pi;
}
double rollingAngleToRollingPath(Flank& flank, double value) {
    return flank.db() * (value * std::numbers::pi / 180.0) / 2.0;
}
double rollingPathToPercent(Flank& flank, double value) {
    return value * 100.0 / flank.rollPathAtHundredPercent();
}
double percentToRollingPath(Flank& flank, double value) {
    return flank.rollPathAtHundredPercent() * value / 100.0;
}
double diameterToReferenceDiameter(Flank& flank, double value) {
    return value - flank.d();
}
double referenceDiameterToDiameter(Flank& flank, double value) {
    return value + flank.d();
}
double diameterToVCircleDiameter(Flank& flank, double value) {
    return value - flank.dV();
}
double vCircleDiameterToDiameter(Flank& flank, double value) {
    return value + flank.dV();
}

// ---- compositions ----------------------------------------------------------------------------------------

// The profile references form a tree around the roll path: roll angle, percent and diameter hang on the roll
// path, the V-circle and reference-circle values on the diameter. A conversion climbs from its source to the
// common ancestor and descends to its target, so that no value takes a detour through a scale it does not
// need (the diameter goes to the V-circle value directly, not over the roll path).
struct ProfileNode {
    Reference self;
    Reference parent;
    ProfileStep up;   // this reference to its parent
    ProfileStep down; // the parent to this reference
};

constexpr std::array kProfileTree{
    ProfileNode{Reference::RollingPath, Reference::RollingPath, nullptr, nullptr},
    ProfileNode{Reference::RollingAngle, Reference::RollingPath, rollingAngleToRollingPath,
                rollingPathToRollingAngle},
    ProfileNode{Reference::Diameter, Reference::RollingPath, diameterToRollingPath, rollingPathToDiameter},
    ProfileNode{Reference::Percent, Reference::RollingPath, percentToRollingPath, rollingPathToPercent},
    ProfileNode{Reference::VCircleDiameter, Reference::Diameter, vCircleDiameterToDiameter,
                diameterToVCircleDiameter},
    ProfileNode{Reference::ReferenceDiameter, Reference::Diameter, referenceDiameterToDiameter,
                diameterToReferenceDiameter},
};
constexpr std::size_t kProfileCount = kProfileTree.size();

constexpr const ProfileNode& node(Reference reference) {
    return kProfileTree[static_cast<std::size_t>(reference)];
}

consteval bool treeIsIndexedByReference() {
    for (std::size_t i = 0; i < kProfileCount; ++i)
        if (static_cast<std::size_t>(kProfileTree[i].self) != i) return false;
    return true;
}
static_assert(treeIsIndexedByReference());

constexpr int depth(Reference reference) {
    return reference == Reference::RollingPath ? 0 : 1 + depth(node(reference).parent);
}

struct StepChain {
    std::array<ProfileStep, 4> steps{};
    std::size_t size = 0;
};

constexpr StepChain chainBetween(Reference from, Reference to) {
    StepChain up;
    StepChain down; // collected from the target upwards
    while (from != to) {
        if (depth(from) >= depth(to)) {
            up.steps[up.size++] = node(from).up;
            from = node(from).parent;
        } else {
            down.steps[down.size++] = node(to).down;
            to = node(to).parent;
        }
    }
    while (down.size > 0)
        up.steps[up.size++] = down.steps[--down.size];
    return up;
}

template <Reference From, Reference To, std::size_t... I>
double applyChain(const CylindricalGearGeometry* geometry, Side side, double value,
                  std::index_sequence<I...>) {
    [[maybe_unused]] static constexpr StepChain chain = chainBetween(From, To); // empty for From == To
    [[maybe_unused]] Flank flank(geometry, side);
    ((value = chain.steps[I](flank, value)), ...);
    return value;
}

template <Reference From, Reference To>
double convertProfile(const CylindricalGearGeometry* geometry, Side side, double value) {
    return applyChain<From, To>(geometry, side, value,
                                std::make_index_sequence<chainBetween(From, To).size>{});
}

// A lead position is a length or a percent of the face width b, counted from the datum face or from the
// other one. Counting from the other face takes the value from the whole (b or 100); the unit changes while
// the value counts from the datum face.
struct LeadScale {
    Reference self;
    bool percent;
    bool fromDatum;
};

constexpr std::array kLeadScales{
    LeadScale{Reference::PercentDatumToNonDatum, true, true},
    LeadScale{Reference::PercentNonDatumToDatum, true, false},
    LeadScale{Reference::LengthDatumToNonDatum, false, true},
    LeadScale{Reference::LengthNonDatumToDatum, false, false},
};
constexpr std::size_t kFirstLead = static_cast<std::size_t>(Reference::PercentDatumToNonDatum);
constexpr std::size_t kLeadCount = kLeadScales.size();

consteval bool leadScalesAreIndexedByReference() {
    for (std::size_t i = 0; i < kLeadCount; ++i)
        if (static_cast<std::size_t>(kLeadScales[i].self) != kFirstLead + i) return false;
    return true;
}
static_assert(leadScalesAreIndexedByReference());

template <Reference From, Reference To>
double convertLead(const CylindricalGearGeometry* geometry, double value) {
    constexpr LeadScale from = kLeadScales[static_cast<std::size_t>(From) - kFirstLead];
    constexpr LeadScale to = kLeadScales[static_cast<std::size_t>(To) - kFirstLead];
    if constexpr (From == To) return value;
    const double b = geometry->getB();
    const auto fromOtherFace = [b](double v, bool percent) { return (percent ? 100.0 : b) - v; };
    if constexpr (from.fromDatum != to.fromDatum && !from.fromDatum)
        value = fromOtherFace(value, from.percent);
    if constexpr (from.percent && !to.percent) value = value * b / 100.0;
    if constexpr (!from.percent && to.percent) value = value * 100.0 / b;
    if constexpr (from.fromDatum != to.fromDatum && from.fromDatum) value = fromOtherFace(value, to.percent);
    return value;
}

// Square tables of every ordered pair, the diagonal being the identity; row = from, column = to.
template <std::size_t... I>
constexpr auto profileTable(std::index_sequence<I...>) {
    return std::array<ProfileConversion, sizeof...(I)>{
        &convertProfile<static_cast<Reference>(I / kProfileCount),
                        static_cast<Reference>(I % kProfileCount)>...};
}
template <std::size_t... I>
constexpr auto leadTable(std::index_sequence<I...>) {
    return std::array<LeadConversion, sizeof...(I)>{
        &convertLead<static_cast<Reference>(kFirstLead + I / kLeadCount),
                     static_cast<Reference>(kFirstLead + I % kLeadCount)>...};
}
constexpr auto kProfileConversions = profileTable(std::make_index_sequence<kProfileCount * kProfileCount>{});
constexpr auto kLeadConversions = leadTable(std::make_index_sequence<kLeadCount * kLeadCount>{});

// How each kind of measured line lies on the flank: the coordinate that carries its abscissa (z along the
// face width, y across it) and the scale of its evaluation ranges (only profile and lead lines, alone or
// within a topography, have evaluation ranges).
enum class RangeAxis { Profile, Lead, None };

struct LineKind {
    Measurement_Type type;
    bool alongFaceWidth;
    RangeAxis ranges;
};

constexpr std::array kLineKinds{
    LineKind{Measurement_Type::Profile, false, RangeAxis::Profile},
    LineKind{Measurement_Type::Lead, true, RangeAxis::Lead},
    LineKind{Measurement_Type::Pitch, false, RangeAxis::None},
    LineKind{Measurement_Type::RootCircle, false, RangeAxis::None},
    LineKind{Measurement_Type::TipCircle, false, RangeAxis::None},
    LineKind{Measurement_Type::RoughnessProfile, false, RangeAxis::None},
    LineKind{Measurement_Type::RoughnessLead, true, RangeAxis::None},
    LineKind{Measurement_Type::RootScan, false, RangeAxis::None},
    LineKind{Measurement_Type::FeedMark, true, RangeAxis::None},
    LineKind{Measurement_Type::TopographyProfile, false, RangeAxis::Profile},
    LineKind{Measurement_Type::TopographyLead, true, RangeAxis::Lead},
    LineKind{Measurement_Type::CReference, false, RangeAxis::None},
};

// returns a line across the face width without ranges for a value outside the enumeration
constexpr LineKind lineKind(Measurement_Type type) {
    for (const LineKind& kind : kLineKinds)
        if (kind.type == type) return kind;
    return {type, false, RangeAxis::None};
}

} // namespace

double convertProfileReference(const CylindricalGearGeometry* geometry, Side side, Reference from,
                               double value, Reference to) {
    if (!isProfileReference(from) || !isProfileReference(to)) throw kWrongProfileReference;
    const auto row = static_cast<std::size_t>(from);
    const auto column = static_cast<std::size_t>(to);
    return kProfileConversions[row * kProfileCount + column](geometry, side, value);
}

double convertLeadReference(const CylindricalGearGeometry* geometry, Reference from, double value,
                            Reference to) {
    if (!isLeadReference(from) || !isLeadReference(to)) throw kWrongLeadReference;
    const std::size_t row = static_cast<std::size_t>(from) - kFirstLead;
    const std::size_t column = static_cast<std::size_t>(to) - kFirstLead;
    return kLeadConversions[row * kLeadCount + column](geometry, value);
}

Reference getMeasPathReference(const host::CProfileScanLinear3d* scan, Measurement_Type type) {
    char text[256];
    const char* key = lineKind(type).alongFaceWidth ? "ReferenceZ" : "ReferenceY";
    if (scan == nullptr || !scan->GetParameter(key, text, sizeof text)) throw kNoReference;
    Reference reference{};
    if (!string_2_Reference(text, &reference)) throw kNoValidReference;
    return reference;
}

bool convertRangeToProfileIndex(const CylindricalGearGeometry* geometry, Side side,
                                const EvaluationRange* range, const host::CProfileScanLinear3d* scan,
                                Measurement_Type type, long* first, long* last) {
    if (!range) return false;
    double start = 0.0;
    double end = 0.0;
    range->getRange(nullptr, &start, &end, nullptr);
    return convertRangeToProfileIndex(geometry, side, range->getReference(), start, end, scan, type, first,
                                      last);
}

bool convertRangeToProfileIndex(const CylindricalGearGeometry* geometry, Side side, Reference rangeReference,
                                double start, double end, const host::CProfileScanLinear3d* scan,
                                Measurement_Type type, long* first, long* last) {
    if (start > end) std::swap(start, end);
    const Reference target = getMeasPathReference(scan, type);
    const LineKind kind = lineKind(type);
    switch (kind.ranges) {
    case RangeAxis::Profile:
        start = convertProfileReference(geometry, side, rangeReference, start, target);
        end = convertProfileReference(geometry, side, rangeReference, end, target);
        break;
    case RangeAxis::Lead:
        start = convertLeadReference(geometry, rangeReference, start, target);
        end = convertLeadReference(geometry, rangeReference, end, target);
        break;
    case RangeAxis::None:
        throw kWrongReferenceForRange;
    }
    // Counting from the other face reverses the order.
    if (start > end) std::swap(start, end);

    long firstInside = -1;
    long lastInside = -1;
    for (long i = 0, n = scan->GetNumberOfPoints(); i < n; ++i) {
        const host::CProfileScanLinear3d::Point point = scan->GetPoint(i);
        const double abscissa = kind.alongFaceWidth ? point.z : point.y;
        if (start <= abscissa && abscissa <= end) {
            if (firstInside < 0) firstInside = i;
            lastInside = i;
        }
    }
    if (firstInside < 0) throw kNoValidPointsInRange;
    if (first != nullptr) *first = firstInside;
    if (last != nullptr) *last = lastInside;
    return true;
}

// One exported member per ordered pair of different references, each the composition for its pair.
#define GR_PROFILE_CONVERSION(X, Y)                                                                          \
    double convertFrom##X##To##Y(const CylindricalGearGeometry* geometry, Side side, double value) {         \
        return convertProfile<Reference::X, Reference::Y>(geometry, side, value);                            \
    }
#define GR_PROFILE_CONVERSIONS_FROM(X, A, B, C, D, E)                                                        \
    GR_PROFILE_CONVERSION(X, A)                                                                              \
    GR_PROFILE_CONVERSION(X, B)                                                                              \
    GR_PROFILE_CONVERSION(X, C)                                                                              \
    GR_PROFILE_CONVERSION(X, D)                                                                              \
    GR_PROFILE_CONVERSION(X, E)

GR_PROFILE_CONVERSIONS_FROM(RollingPath, RollingAngle, Diameter, Percent, VCircleDiameter, ReferenceDiameter)
GR_PROFILE_CONVERSIONS_FROM(RollingAngle, RollingPath, Diameter, Percent, VCircleDiameter, ReferenceDiameter)
GR_PROFILE_CONVERSIONS_FROM(Diameter, RollingPath, RollingAngle, Percent, VCircleDiameter, ReferenceDiameter)
GR_PROFILE_CONVERSIONS_FROM(Percent, RollingPath, RollingAngle, Diameter, VCircleDiameter, ReferenceDiameter)
GR_PROFILE_CONVERSIONS_FROM(VCircleDiameter, RollingPath, RollingAngle, Diameter, Percent, ReferenceDiameter)
GR_PROFILE_CONVERSIONS_FROM(ReferenceDiameter, RollingPath, RollingAngle, Diameter, Percent, VCircleDiameter)

#define GR_LEAD_CONVERSION(X, Y)                                                                             \
    double convert_From_##X##_To_##Y(const CylindricalGearGeometry* geometry, double value) {                \
        return convertLead<Reference::X, Reference::Y>(geometry, value);                                     \
    }
#define GR_LEAD_CONVERSIONS_FROM(X, A, B, C)                                                                 \
    GR_LEAD_CONVERSION(X, A)                                                                                 \
    GR_LEAD_CONVERSION(X, B)                                                                                 \
    GR_LEAD_CONVERSION(X, C)

GR_LEAD_CONVERSIONS_FROM(PercentDatumToNonDatum, PercentNonDatumToDatum, LengthDatumToNonDatum,
                         LengthNonDatumToDatum)
GR_LEAD_CONVERSIONS_FROM(PercentNonDatumToDatum, PercentDatumToNonDatum, LengthDatumToNonDatum,
                         LengthNonDatumToDatum)
GR_LEAD_CONVERSIONS_FROM(LengthDatumToNonDatum, PercentDatumToNonDatum, PercentNonDatumToDatum,
                         LengthNonDatumToDatum)
GR_LEAD_CONVERSIONS_FROM(LengthNonDatumToDatum, PercentDatumToNonDatum, PercentNonDatumToDatum,
                         LengthDatumToNonDatum)

#undef GR_PROFILE_CONVERSION
#undef GR_PROFILE_CONVERSIONS_FROM
#undef GR_LEAD_CONVERSION
#undef GR_LEAD_CONVERSIONS_FROM

} // namespace kest::gear
