#include "nominal_values.h"

#include <kest/gear/asymmetrical_gear_geometry.h>
#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/gear_calculator.h>
#include <kest/gear/measurement_enums.h>

#include <cmath>
#include <numbers>

namespace kest::gearfile {
namespace {

using gear::CylindricalGearGeometry;
using gear::GearCalculator;
using gear::Side;
using gear::unsetValue;

// A value the geometry holds or derives without the calculator.
NominalValues::Value held(double number) {
    if (gear::isUnset(number)) return {unsetValue, gear::nominalInputNotSet};
    if (!std::isfinite(number)) return {unsetValue, gear::nominalNotFinite};
    return {number, {}};
}

} // namespace

NominalValues computeNominal(const CylindricalGearGeometry& g) {
    using gear::NominalValue;
    NominalValues v;
    v.kind = g.getKindOf();
    v.perFlank = g.testKindOf(gear::AsymmetricalGearGeometry::isKindOf(), false);
    for (const Side side : {Side::Left, Side::Right}) {
        NominalValues::Flank& f = v.flanks[side == Side::Left ? 0 : 1];
        f.x = held(g.getX(side));
        f.d = held(g.getD(side, false));
        f.db = held(g.getDB(side, false));
        f.dv = held(g.getDV(side, false));
    }

    // The symmetrical values take the left flank's coefficient; the ball dimensions take each flank's own.
    const GearCalculator calculator(&g);
    static constexpr std::array asked{
        NominalValue::FlankOffsetAngle,
        NominalValue::TipDiameter,
        NominalValue::RootDiameter,
        NominalValue::St,
        NominalValue::Sn,
        NominalValue::Sbt,
        NominalValue::Sbn,
        NominalValue::FirstSpanCount,
        NominalValue::LastSpanCount,
        NominalValue::BallDiameter,
        NominalValue::MdK,
        NominalValue::MrK,
        NominalValue::MdR,
    };
    std::vector<NominalValues::Value> values = calculator.getNominal(asked);
    NominalValues::Value* next = values.data();
    for (NominalValues::Value* value :
         {&v.flankOffsetAngle, &v.da, &v.df, &v.st, &v.sn, &v.sbt, &v.sbn, &v.spanCounts})
        *value = std::move(*next++);
    const NominalValues::Value last = std::move(*next++);
    for (NominalValues::Value* value : {&v.ballDiameter, &v.mdk, &v.mrk, &v.mdr})
        *value = std::move(*next++);
    v.ballDiameterFromFile = !gear::isUnset(g.getDM());

    if (v.spanCounts.available()) {
        gear::NominalInputs inputs;
        inputs.flankOffsetAngle = v.flankOffsetAngle.value;
        const auto first = static_cast<unsigned int>(v.spanCounts.value);
        for (inputs.spanCount = first; inputs.spanCount <= static_cast<unsigned int>(last.value);
             ++inputs.spanCount)
            v.spans.push_back({inputs.spanCount, calculator.getNominal(NominalValue::Wk, inputs)});
    }
    return v;
}

double degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

std::vector<std::pair<std::string, gear::NominalResult>> namedNominalValues(const NominalValues& v) {
    std::vector<std::pair<std::string, gear::NominalResult>> named;
    named.reserve(24);
    NominalValues::Value angle = v.flankOffsetAngle;
    if (angle.available()) angle.value = degrees(angle.value);
    named.emplace_back("flank_offset_angle", std::move(angle));
    for (const auto& [name, member] :
         {std::pair{"x", &NominalValues::Flank::x}, std::pair{"d", &NominalValues::Flank::d},
          std::pair{"db", &NominalValues::Flank::db}, std::pair{"dv", &NominalValues::Flank::dv}}) {
        named.emplace_back(std::string(name) + "_left", v.flanks[0].*member);
        named.emplace_back(std::string(name) + "_right", v.flanks[1].*member);
    }
    named.emplace_back("da", v.da);
    named.emplace_back("df", v.df);
    named.emplace_back("st", v.st);
    named.emplace_back("sn", v.sn);
    named.emplace_back("sbt", v.sbt);
    named.emplace_back("sbn", v.sbn);
    if (!v.spanCounts.available()) named.emplace_back("Wk", v.spanCounts);
    for (const NominalValues::Span& span : v.spans) {
        std::string name = "W";
        name += std::to_string(span.k);
        named.emplace_back(std::move(name), span.wk);
    }
    named.emplace_back("ball_diameter", v.ballDiameter);
    named.emplace_back("MdK", v.mdk);
    named.emplace_back("MrK", v.mrk);
    named.emplace_back("MdR", v.mdr);
    return named;
}

} // namespace kest::gearfile
