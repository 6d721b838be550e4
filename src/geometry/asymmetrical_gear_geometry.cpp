#include <kest/gear/asymmetrical_gear_geometry.h>

#include <kest/gear/host/diagnostics.h>
#include <kest/gear/measurement_enums.h>

#include "host/report.h"

#include <array>
#include <cmath>
#include <cstring>
#include <string_view>
#include <utility>

namespace kest::gear {
namespace {

using AsymmetryVariant = AsymmetricalGearGeometry::AsymmetryVariant;
using FlankDirection = CylindricalGearGeometry::FlankDirection;

struct AsymmetryVariantRow {
    AsymmetryVariant value;
    std::string_view text;
};

constexpr std::array kAsymmetryVariants{
    AsymmetryVariantRow{AsymmetryVariant::None, "asym_none"},
    AsymmetryVariantRow{AsymmetryVariant::MdK, "asym_mdk"},
    AsymmetryVariantRow{AsymmetryVariant::MrK, "asym_mrk"},
    AsymmetryVariantRow{AsymmetryVariant::Syt, "asym_syt"},
};

const AsymmetryVariantRow* findVariant(AsymmetryVariant variant) {
    for (const AsymmetryVariantRow& row : kAsymmetryVariants)
        if (row.value == variant) return &row;
    return nullptr;
}

bool measuredOverBalls(AsymmetryVariant variant) {
    switch (variant) {
    case AsymmetryVariant::MdK:
    case AsymmetryVariant::MrK:
        return true;
    case AsymmetryVariant::None:
    case AsymmetryVariant::Syt:
        return false;
    }
    return false;
}

} // namespace

AsymmetricalGearGeometry::AsymmetricalGearGeometry() = default;

AsymmetricalGearGeometry::AsymmetricalGearGeometry(const CylindricalGearGeometry& left, double rightModule,
                                                   double rightBetaRad, double rightAlphaNRad,
                                                   double rightAddendumModification,
                                                   FlankDirection rightFlankDirection,
                                                   ModuleVariant rightModuleVariant,
                                                   AddendumModificationVariant rightAddmodVariant)
    : CylindricalGearGeometry(left)
    , rightMn_(normalModuleOf(rightModule, rightBetaRad, rightModuleVariant))
    , rightModuleVariant_(rightModuleVariant)
    , rightBeta_(rightBetaRad)
    , rightAlphaN_(rightAlphaNRad)
    , rightX_(rightAddendumModification)
    , rightFlankDirection_(rightFlankDirection)
    , rightSideSet_(true) {
    // The right flank takes its shift as x mn or as the coefficient; a test dimension of one flank alone
    // cannot give it, so any other form is read as the coefficient.
    if (rightAddmodVariant == AddendumModificationVariant::AddmodValue)
        rightX_ = isUnset(rightAddendumModification) || isUnset(rightMn_)
                      ? unsetValue
                      : rightAddendumModification / rightMn_;
}

AsymmetricalGearGeometry::AsymmetricalGearGeometry(
    int z, double b, double module, double betaRad, double alphaNRad, double addendumModification, double dA,
    double dF, FlankDirection flankDirection, ModuleVariant moduleVariant,
    AddendumModificationVariant addmodVariant, double rightModule, double rightBetaRad, double rightAlphaNRad,
    double rightAddendumModification, FlankDirection rightFlankDirection, ModuleVariant rightModuleVariant,
    AddendumModificationVariant rightAddmodVariant)
    : AsymmetricalGearGeometry(CylindricalGearGeometry(z, b, module, betaRad, alphaNRad, addendumModification,
                                                       dA, dF, flankDirection, moduleVariant, addmodVariant,
                                                       unsetValue),
                               rightModule, rightBetaRad, rightAlphaNRad, rightAddendumModification,
                               rightFlankDirection, rightModuleVariant, rightAddmodVariant) {}

AsymmetricalGearGeometry::AsymmetricalGearGeometry(const AsymmetricalGearGeometry& other) = default;

AsymmetricalGearGeometry::~AsymmetricalGearGeometry() = default;

const char* AsymmetricalGearGeometry::getKindOf() const noexcept {
    return isKindOf();
}

bool AsymmetricalGearGeometry::testKindOf(const char* kind, bool exact) const {
    return kind && (std::strcmp(kind, isKindOf()) == 0 ||
                    (!exact && CylindricalGearGeometry::testKindOf(kind, false)));
}

// ---- per-side values -------------------------------------------------------------------------------------

double AsymmetricalGearGeometry::getMN(Side side) const {
    return side == Side::Left ? CylindricalGearGeometry::getMN(side) : rightMn_;
}
double AsymmetricalGearGeometry::getAlphaNRad(Side side) const {
    return side == Side::Left ? CylindricalGearGeometry::getAlphaNRad(side) : rightAlphaN_;
}
double AsymmetricalGearGeometry::getX(Side side) const {
    return side == Side::Left ? CylindricalGearGeometry::getX(side) : rightX_;
}
CylindricalGearGeometry::FlankDirection AsymmetricalGearGeometry::getFlankDirection(Side side) const {
    return side == Side::Left ? CylindricalGearGeometry::getFlankDirection(side) : rightFlankDirection_;
}
double AsymmetricalGearGeometry::getBetaRad(Side side, bool isSigned) const {
    return side == Side::Left ? CylindricalGearGeometry::getBetaRad(side, isSigned)
                              : helixAngleOf(rightBeta_, rightFlankDirection_, isSigned);
}

// The gear is spur or helical as a whole; its left flank says which.
double AsymmetricalGearGeometry::getD(Side side, bool isSigned) const {
    return referenceDiameter(side, getFlankDirection(Side::Left) == FlankDirection::Straight, isSigned);
}
double AsymmetricalGearGeometry::getDB(Side side, bool isSigned) const {
    return baseDiameter(side, getFlankDirection(Side::Left) == FlankDirection::Straight, isSigned);
}

// ---- asymmetry definition --------------------------------------------------------------------------------

bool AsymmetricalGearGeometry::getAsymmetryVariant(AsymmetryVariant* variant, double* value, double* height,
                                                   Reference* reference, double* parameter) const {
    if (!variant || !value || !height || !reference || !parameter) return false;
    *variant = asymmetryVariant_;
    *value = asymmetryValue_;
    *height = asymmetryHeight_;
    *reference = heightReference_;
    switch (asymmetryVariant_) {
    case AsymmetryVariant::MdK:
    case AsymmetryVariant::MrK:
        *parameter = asymmetryBallDiameter_;
        return true;
    case AsymmetryVariant::Syt:
        *parameter = asymmetryMeasuringDiameter_;
        return true;
    case AsymmetryVariant::None:
        break;
    }
    *parameter = unsetValue;
    return true;
}

bool AsymmetricalGearGeometry::setAsymmetryVariant(AsymmetryVariant variant, double value, double height,
                                                   Reference reference, double parameter) {
    asymmetryVariant_ = variant;
    asymmetryValue_ = value;
    asymmetryHeight_ = height;
    heightReference_ = reference;
    asymmetryBallDiameter_ = measuredOverBalls(variant) ? parameter : unsetValue;
    asymmetryMeasuringDiameter_ = variant == AsymmetryVariant::Syt ? parameter : unsetValue;
    return validAsymmetryVariant(nullptr);
}

std::string AsymmetricalGearGeometry::getAsymmetryVariantString() const {
    const AsymmetryVariantRow* row = findVariant(asymmetryVariant_);
    return std::string(row ? row->text : kAsymmetryVariants.front().text);
}

bool AsymmetricalGearGeometry::setAsymmetryVariantString(const std::string& text) {
    for (const AsymmetryVariantRow& row : kAsymmetryVariants) {
        if (row.text != text) continue;
        asymmetryVariant_ = row.value;
        return true;
    }
    return false;
}

// ---- validation ------------------------------------------------------------------------------------------

bool AsymmetricalGearGeometry::validAsymmetryVariant(std::string* reason) const {
    const auto fail = [&](const char* message) {
        setErrorReason(reason, message);
        return false;
    };
    if (asymmetryVariant_ == AsymmetryVariant::None) return true;
    if (isUnset(asymmetryHeight_)) return fail("asym_height not inizialized");
    if (!isLeadReference(heightReference_)) return fail("asym_height_reference has unknown reference");
    if (measuredOverBalls(asymmetryVariant_) && isUnset(asymmetryBallDiameter_))
        return fail("asym_dm not inizialized");
    if (asymmetryVariant_ == AsymmetryVariant::Syt && isUnset(asymmetryMeasuringDiameter_))
        return fail("asym_diameter not inizialized");
    // A value that is not finite would make the offset angle NaN, which no check below it could tell.
    const std::pair<double, const char*> values[] = {
        {asymmetryValue_, "asym_value not finite"},
        {asymmetryHeight_, "asym_height not finite"},
        {asymmetryBallDiameter_, "asym_dm not finite"},
        {asymmetryMeasuringDiameter_, "asym_diameter not finite"},
    };
    for (const auto& [value, message] : values)
        if (!std::isfinite(value)) return fail(message);
    if (isUnset(getNominalFlankOffsetAngle())) return fail("nominal flank offset angle cannot be calculated");
    return true;
}

bool AsymmetricalGearGeometry::isValid(std::string* reason) const {
    if (reason) reason->clear();
    const auto fail = [&](const char* message) {
        setErrorReason(reason, message);
        return false;
    };
    if (!rightSideSet_) return fail("gear not initialized");
    if (isUnset(rightMn_)) return fail("right normal module not initialized");
    if (isUnset(rightBeta_)) return fail("right helix angle not initialized");
    if (isUnset(rightAlphaN_)) return fail("right pressure angle not initialized");
    if (isUnset(rightX_)) return fail("right profile shift coefficient not initialized");
    return isValidSide(Side::Right, reason) && validAsymmetryVariant(reason) &&
           CylindricalGearGeometry::isValid(reason);
}

bool AsymmetricalGearGeometry::isSimilar(const CylindricalGearGeometry& other) const {
    // A more derived geometry is never similar to a plain asymmetrical one.
    if (!testKindOf(isKindOf(), true) && other.testKindOf(isKindOf(), true)) return false;
    if (!CylindricalGearGeometry::isSimilar(other)) return false;
    // The right module variant and the asymmetry definition enter only through the flank offset angle.
    const auto near = [&](double a, double b) { return std::fabs(a - b) < getSimilarityEpsilon(); };
    return getFlankDirection(Side::Right) == other.getFlankDirection(Side::Right) &&
           near(getMN(Side::Right), other.getMN(Side::Right)) &&
           near(getBetaRad(Side::Right, false), other.getBetaRad(Side::Right, false)) &&
           near(getAlphaNRad(Side::Right), other.getAlphaNRad(Side::Right)) &&
           near(getX(Side::Right), other.getX(Side::Right)) &&
           near(getNominalFlankOffsetAngle(), other.getNominalFlankOffsetAngle());
}

} // namespace kest::gear
