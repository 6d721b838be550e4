#include <kest/gear/cylindrical_gear_geometry.h>

#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/measurement_enums.h>

#include "geometry/angle_units.h"
#include "support/diagnostics_capture.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using kest::gear::AddendumModificationVariant;
using kest::gear::CylindricalGearGeometry;
using kest::gear::isUnset;
using kest::gear::radiansFromDegrees;
using kest::gear::Side;
using kest::gear::unsetValue;
using kest::host::DiagnosticChannel;
using kest::host::MSXMLWrapper;
using kest::host::XMLNode;
using kest::test::DiagnosticsCapture;

namespace {

using FD = CylindricalGearGeometry::FlankDirection;
using MV = CylindricalGearGeometry::ModuleVariant;
using VT = CylindricalGearGeometry::ValueType;
using AMV = AddendumModificationVariant;

constexpr double U = unsetValue;

double deg(double degrees) {
    return radiansFromDegrees(degrees);
}

// The arguments of the full constructor; the defaults are a valid right-hand helical gear.
struct Inputs {
    int z = 23;
    double b = 20.0;
    double module = 2.5;
    double beta = deg(15.0);
    double alphaN = deg(20.0);
    double addmod = 0.2;
    double dA = 65.5;
    double dF = 53.0;
    FD fd = FD::Right;
    MV mv = MV::Normal;
    AMV av = AMV::AddmodFactor;
    double dM = 4.5;

    CylindricalGearGeometry make() const {
        return {z, b, module, beta, alphaN, addmod, dA, dF, fd, mv, av, dM};
    }
};

// Opens the protected conversions and the per-side check.
class Probe : public CylindricalGearGeometry {
public:
    explicit Probe(const Inputs& in)
        : CylindricalGearGeometry(in.z, in.b, in.module, in.beta, in.alphaN, in.addmod, in.dA, in.dF, in.fd,
                                  in.mv, in.av, in.dM) {}
    using CylindricalGearGeometry::isValidSide;
    using CylindricalGearGeometry::ModuleVariantToString;
    using CylindricalGearGeometry::string_2_FlankDirection;
    using CylindricalGearGeometry::StringToModuleVariant;
};

// A derived geometry of its own kind whose right flank has another module.
class OtherKind : public CylindricalGearGeometry {
public:
    OtherKind() = default;
    explicit OtherKind(const Inputs& in)
        : CylindricalGearGeometry(in.z, in.b, in.module, in.beta, in.alphaN, in.addmod, in.dA, in.dF, in.fd,
                                  in.mv, in.av, in.dM) {}
    const char* getKindOf() const noexcept override { return "other gear"; }
    bool testKindOf(const char* kind, bool exact) const override {
        return std::strcmp(kind, "other gear") == 0 ||
               (!exact && CylindricalGearGeometry::testKindOf(kind, true));
    }
    double getMN(Side side) const override {
        return side == Side::Right ? 7.0 : CylindricalGearGeometry::getMN(side);
    }
};

std::uint64_t bits(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

std::string reasonOf(const CylindricalGearGeometry& geometry) {
    std::string reason = "stale text";
    const bool valid = geometry.isValid(&reason);
    EXPECT_EQ(valid, reason.empty()) << reason;
    EXPECT_EQ(geometry.isValid(), valid); // also without a reason to write
    return reason;
}

// ---- validation ------------------------------------------------------------------------------------------

struct ReasonRow {
    const char* name;
    Inputs inputs;
    const char* reason; // "" for a valid geometry
};

TEST(cylindrical_gear_geometry, ValidationReasons) {
    const std::vector<ReasonRow> rows{
        {"valid helical gear", {}, ""},
        {"valid spur gear", {.beta = 0.0, .fd = FD::Straight}, ""},
        {"valid left-hand gear", {.fd = FD::Left}, ""},
        {"valid internal gear", {.z = -20, .dA = 10.0, .dF = 20.0}, ""},
        {"valid without ball diameter", {.dM = U}, ""},
        // only the coefficient form requires the coefficient
        {"shift as value, unset", {.addmod = U, .av = AMV::AddmodValue}, ""},
        {"no teeth", {.z = 0}, "number of teeth not set (cylindrical gear)"},
        {"two teeth", {.z = 2}, "number of teeth smaller than 3 (cylindrical gear)"},
        {"two internal teeth", {.z = -2}, "number of teeth smaller than 3 (cylindrical gear)"},
        {"first failing check wins", {.z = 2, .b = U}, "number of teeth smaller than 3 (cylindrical gear)"},
        {"face width unset", {.b = U}, "facewidth not initialized (cylindrical gear)"},
        {"module unset", {.module = U}, "normal module not initialized (cylindrical gear)"},
        {"transverse module without helix angle",
         {.beta = U, .mv = MV::Transverse},
         "normal module not initialized (cylindrical gear)"},
        {"helix angle unset", {.beta = U}, "helix angle not initialized (cylindrical gear)"},
        {"pressure angle unset", {.alphaN = U}, "pressure angle not initialized (cylindrical gear)"},
        {"coefficient unset", {.addmod = U}, "profile shift coefficient not initialized (cylindrical gear)"},
        {"tip diameter unset", {.dA = U}, "tip diameter not initialized (cylindrical gear)"},
        {"root diameter unset", {.dF = U}, "root diameter not initialized (cylindrical gear)"},
        {"tip diameter zero", {.dA = 0.0}, "tip diameter not set (cylindrical gear)"},
        {"root diameter zero", {.dF = 0.0}, "root diameter not set (cylindrical gear)"},
        {"face width zero", {.b = 0.0}, "facewidth not set (cylindrical gear)"},
        {"negative face width", {.b = -20.0}, "negative facewidth (cylindrical gear)"},
        {"external root on tip",
         {.dA = 53.0, .dF = 53.0},
         "tip diameter smaller equal than root diameter (cylindrical gear)"},
        {"external root above tip",
         {.dA = 50.0},
         "tip diameter smaller equal than root diameter (cylindrical gear)"},
        {"internal tip on root",
         {.z = -40, .dA = 110.0, .dF = 110.0},
         "tip diameter greater equal than root diameter (cylindrical gear)"},
        {"negative helix angle", {.beta = -deg(15.0)}, "negative helix angle (cylindrical gear)"},
        {"left hand, no helix angle",
         {.beta = 0.0, .fd = FD::Left},
         "slope set, but helix angle is zero (cylindrical gear)"},
        {"right hand, no helix angle",
         {.beta = 0.0, .fd = FD::Right},
         "slope set, but helix angle is zero (cylindrical gear)"},
        {"spur gear with helix angle",
         {.beta = 0.1, .fd = FD::Straight},
         "slope not set, but helix angle is not zero (cylindrical gear)"},
        {"unknown flank direction", {.fd = static_cast<FD>(3)}, "flank direction unknown (cylindrical gear)"},
        {"module zero", {.module = 0.0}, "normal module not set (cylindrical gear)"},
        {"negative module", {.module = -2.5}, "negative normal module (cylindrical gear)"},
        {"pressure angle zero", {.alphaN = 0.0}, "pressure angle not set (cylindrical gear)"},
        {"negative pressure angle", {.alphaN = -deg(20.0)}, "negative pressure angle (cylindrical gear)"},
    };
    for (const ReasonRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(reasonOf(row.inputs.make()), row.reason);
    }
}

TEST(cylindrical_gear_geometry, DefaultConstructedIsNotInitialized) {
    EXPECT_EQ(reasonOf(CylindricalGearGeometry()), "gear not initialized (cylindrical gear)");
    // the kind in the reason is the geometry's own
    EXPECT_EQ(reasonOf(OtherKind()), "gear not initialized (other gear)");
    EXPECT_EQ(reasonOf(OtherKind(Inputs{.z = 2})), "number of teeth smaller than 3 (other gear)");
}

// The checks of one flank name the right flank; a derived geometry runs them for it.
TEST(cylindrical_gear_geometry, RightFlankReasonsNameTheFlank) {
    const std::vector<ReasonRow> rows{
        {"negative helix angle", {.beta = -0.2}, "negative right helix angle (cylindrical gear)"},
        {"left hand, no helix angle",
         {.beta = 0.0, .fd = FD::Left},
         "slope set, but right helix angle is zero (cylindrical gear)"},
        {"spur gear with helix angle",
         {.beta = 0.1, .fd = FD::Straight},
         "slope not set, but right helix angle is not zero (cylindrical gear)"},
        {"module zero", {.module = 0.0}, "right normal module not set (cylindrical gear)"},
        {"negative module", {.module = -1.0}, "negative right normal module (cylindrical gear)"},
        {"pressure angle zero", {.alphaN = 0.0}, "right pressure angle not set (cylindrical gear)"},
        {"negative pressure angle", {.alphaN = -0.3}, "negative right pressure angle (cylindrical gear)"},
        {"unknown flank direction",
         {.fd = static_cast<FD>(-1)},
         "flank direction unknown (cylindrical gear)"},
    };
    for (const ReasonRow& row : rows) {
        SCOPED_TRACE(row.name);
        std::string reason;
        EXPECT_FALSE(Probe(row.inputs).isValidSide(Side::Right, &reason));
        EXPECT_EQ(reason, row.reason);
    }
    EXPECT_TRUE(Probe(Inputs{}).isValidSide(Side::Right, nullptr));
}

// ---- derived values --------------------------------------------------------------------------------------

struct DiameterRow {
    const char* name;
    Inputs inputs;
    // signed; evaluated to 20 digits from the ISO 21771 relations d = z mn / cos(beta),
    // tan(alpha_t) = tan(alpha_n) / cos(beta), db = d cos(alpha_t), dV = d + 2 x mn
    double d;
    double db;
    double dv;
};

TEST(cylindrical_gear_geometry, DiametersMatchIso21771) {
    const std::vector<DiameterRow> rows{
        {"spur, z 20, mn 2, alpha 20",
         {.z = 20, .module = 2.0, .beta = 0.0, .addmod = 0.0, .dA = 44.0, .dF = 35.0, .fd = FD::Straight},
         40.0,
         37.587704831436335362,
         40.0},
        {"helical right, z 23, mn 2.5, beta 15, alpha 20, x 0.2",
         {},
         59.52838037357977534,
         55.704946346940916874,
         60.52838037357977534},
        {"helical left, z 17, mn 4, beta 30, alpha 25, x -0.3",
         {.z = 17, .module = 4.0, .beta = deg(30.0), .alphaN = deg(25.0), .addmod = -0.3, .fd = FD::Left},
         78.519636609789103973,
         69.134727774951067076,
         76.119636609789103973},
        {"internal spur, z -40, mn 3, alpha 20",
         {.z = -40, .module = 3.0, .beta = 0.0, .addmod = 0.0, .fd = FD::Straight},
         -120.0,
         -112.76311449430900609,
         -120.0},
        {"internal helical left, z -60, mn 1.5, beta 12.5, alpha 17.5, x 0.4",
         {.z = -60, .module = 1.5, .beta = deg(12.5), .alphaN = deg(17.5), .addmod = 0.4, .fd = FD::Left},
         -92.185156288305831321,
         -87.723830914527074178,
         -90.985156288305831321},
    };
    for (const DiameterRow& row : rows) {
        SCOPED_TRACE(row.name);
        const CylindricalGearGeometry g = row.inputs.make();
        for (const Side side : {Side::Left, Side::Right}) {
            EXPECT_NEAR(g.getD(side, true), row.d, 1e-12 * std::fabs(row.d));
            EXPECT_NEAR(g.getDB(side, true), row.db, 1e-12 * std::fabs(row.db));
            EXPECT_NEAR(g.getDV(side, true), row.dv, 1e-12 * std::fabs(row.dv));
            EXPECT_EQ(g.getD(side, false), std::fabs(g.getD(side, true)));
            EXPECT_EQ(g.getDB(side, false), std::fabs(g.getDB(side, true)));
            EXPECT_EQ(g.getDV(side, false), std::fabs(g.getDV(side, true)));
        }
    }
}

// Evaluation length of the profile of a spur gear z 20, mn 2, alpha 20, x 0, dA 44: roll length
// sqrt(ra^2 - rb^2) - rb tan(alpha) from the reference circle to the tip plus the rack's addendum path
// mn / sin(alpha), evaluated to 20 digits.
TEST(cylindrical_gear_geometry, ProfileEvaluationLength) {
    const Inputs spur{
        .z = 20, .module = 2.0, .beta = 0.0, .addmod = 0.0, .dA = 44.0, .dF = 35.0, .fd = FD::Straight};
    EXPECT_NEAR(spur.make().getLAE(Side::Left), 10.443600093520849752, 1e-12);
}

struct UnsetRow {
    const char* name;
    Inputs inputs;
    bool d, db, dv, xValue, lae; // whether each is unset
};

TEST(cylindrical_gear_geometry, UnsetInputsGiveUnsetValues) {
    const std::vector<UnsetRow> rows{
        {"everything set", {}, false, false, false, false, false},
        {"no teeth", {.z = 0}, true, true, true, false, true},
        {"module", {.module = U}, true, true, true, true, true},
        {"helix angle of a helical gear", {.beta = U}, true, true, true, false, true},
        // a spur gear does not need the helix angle
        {"helix angle of a spur gear", {.beta = U, .fd = FD::Straight}, false, false, false, false, false},
        {"pressure angle", {.alphaN = U}, false, true, false, false, true},
        {"coefficient", {.addmod = U}, false, false, true, true, true},
        {"tip diameter", {.dA = U}, false, false, false, false, true},
    };
    for (const UnsetRow& row : rows) {
        SCOPED_TRACE(row.name);
        const CylindricalGearGeometry g = row.inputs.make();
        EXPECT_EQ(isUnset(g.getD(Side::Left, false)), row.d);
        EXPECT_EQ(isUnset(g.getDB(Side::Left, true)), row.db);
        EXPECT_EQ(isUnset(g.getDV(Side::Left, false)), row.dv);
        EXPECT_EQ(isUnset(g.getXValue(Side::Left)), row.xValue);
        EXPECT_EQ(isUnset(g.getLAE(Side::Left)), row.lae);
    }
    const CylindricalGearGeometry angles = Inputs{.beta = U, .alphaN = U}.make();
    EXPECT_TRUE(isUnset(angles.getBetaRad(Side::Left, true)));
    EXPECT_TRUE(isUnset(angles.getBetaDeg(Side::Left, false)));
    EXPECT_TRUE(isUnset(angles.getAlphaNDeg(Side::Left)));
}

struct HandRow {
    FD fd;
    double beta;
    double signedDeg;
};

TEST(cylindrical_gear_geometry, SignedHelixAngleFollowsTheHand) {
    const std::vector<HandRow> rows{
        {FD::Right, 15.0, 15.0},
        {FD::Left, 15.0, -15.0},
        {FD::Straight, 0.0, 0.0},
    };
    for (const HandRow& row : rows) {
        SCOPED_TRACE(CylindricalGearGeometry::FlankDirection_2_string(row.fd));
        const CylindricalGearGeometry g = Inputs{.beta = deg(row.beta), .fd = row.fd}.make();
        EXPECT_EQ(g.getBetaRad(Side::Right, false), deg(row.beta));
        EXPECT_EQ(g.getBetaRad(Side::Right, true), deg(row.signedDeg));
        EXPECT_EQ(g.getBetaDeg(Side::Left, false), row.beta);
        EXPECT_EQ(g.getBetaDeg(Side::Left, true), row.signedDeg);
        EXPECT_EQ(g.getAlphaNDeg(Side::Left), 20.0);
    }
}

struct ModuleRow {
    const char* name;
    MV variant;
    double value;
    double beta;
    double mn; // expected normal module
};

// Transverse and normal module: mn = mt cos(beta) (ISO 21771); diametral pitch here is 10 / m.
TEST(cylindrical_gear_geometry, ModuleVariantsGiveTheNormalModule) {
    const std::vector<ModuleRow> rows{
        {"normal", MV::Normal, 2.0, 0.3, 2.0},
        {"transverse", MV::Transverse, 2.0, 0.3, 2.0 * std::cos(0.3)},
        {"diametral pitch, normal", MV::DiametralPitchNormal, 5.0, 0.3, 2.0},
        {"diametral pitch, transverse", MV::DiametralPitchTransverse, 2.0, 0.3, 5.0 * std::cos(0.3)},
        {"transverse without helix angle", MV::Transverse, 2.0, U, U},
        {"unset diametral pitch", MV::DiametralPitchNormal, U, 0.3, U},
        {"unset transverse diametral pitch", MV::DiametralPitchTransverse, U, 0.3, U},
    };
    for (const ModuleRow& row : rows) {
        SCOPED_TRACE(row.name);
        const CylindricalGearGeometry g =
            Inputs{.module = row.value, .beta = row.beta, .mv = row.variant}.make();
        EXPECT_EQ(g.getModuleVariant(), row.variant);
        EXPECT_NEAR(g.getMN(Side::Left), row.mn, 1e-14);
        // the module comes back in the form it was entered
        if (isUnset(row.mn)) {
            EXPECT_TRUE(isUnset(g.getM(Side::Left, row.variant)));
        } else {
            EXPECT_NEAR(g.getM(Side::Left, row.variant), row.value, 1e-14);
        }
    }
}

TEST(cylindrical_gear_geometry, ModuleInEveryForm) {
    const CylindricalGearGeometry g = Inputs{.module = 2.0, .beta = 0.3}.make();
    EXPECT_EQ(g.getM(Side::Left, MV::Normal), 2.0);
    EXPECT_NEAR(g.getM(Side::Left, MV::Transverse), 2.0 / std::cos(0.3), 1e-14);
    EXPECT_EQ(g.getM(Side::Left, MV::DiametralPitchNormal), 5.0);
    EXPECT_NEAR(g.getM(Side::Left, MV::DiametralPitchTransverse), 5.0 * std::cos(0.3), 1e-14);
    EXPECT_TRUE(isUnset(Inputs{.beta = U}.make().getM(Side::Left, MV::Transverse)));
    EXPECT_EQ(Inputs{.beta = U}.make().getM(Side::Left, MV::Normal), 2.5);
}

// ---- addendum modification -------------------------------------------------------------------------------

struct AddmodRow {
    const char* name;
    Inputs inputs;
    double x;
};

TEST(cylindrical_gear_geometry, CoefficientFromTheEnteredForm) {
    const std::vector<AddmodRow> rows{
        {"coefficient", {.addmod = 0.25}, 0.25},
        {"shift x mn", {.module = 2.0, .addmod = 0.5, .av = AMV::AddmodValue}, 0.25},
        // the shift is divided by the normal module, after the module was converted
        {"shift with diametral pitch",
         {.module = 5.0, .addmod = 0.5, .mv = MV::DiametralPitchNormal, .av = AMV::AddmodValue},
         0.25},
        {"unset coefficient", {.addmod = U}, U},
        {"unset shift", {.addmod = U, .av = AMV::AddmodValue}, U},
        {"shift without module", {.module = U, .addmod = 0.5, .av = AMV::AddmodValue}, U},
    };
    for (const AddmodRow& row : rows) {
        SCOPED_TRACE(row.name);
        const CylindricalGearGeometry g = row.inputs.make();
        EXPECT_EQ(g.getX(Side::Left), row.x);
        EXPECT_EQ(g.getAddendumModificationVariant().get(), row.inputs.av);
        EXPECT_EQ(g.getAddendumModification(Side::Left, AMV::AddmodFactor, 0.0), row.x);
        if (!isUnset(row.x)) {
            EXPECT_NEAR(g.getAddendumModification(Side::Left, AMV::AddmodValue, 0.0),
                        row.x * g.getMN(Side::Left), 1e-15);
        }
    }
}

// The test-dimension forms are refused until the nominal-value calculator converts them.
TEST(cylindrical_gear_geometry, FormsWithoutConversionThrow) {
    const CylindricalGearGeometry g = Inputs{}.make();
    for (const AMV variant : {AMV::AddmodMrk, AMV::AddmodMdk, AMV::AddmodMdr, AMV::AddmodSt, AMV::AddmodSbt,
                              AMV::AddmodSn, AMV::AddmodSbn}) {
        SCOPED_TRACE(static_cast<int>(variant));
        EXPECT_THROW_MSG(Inputs{.av = variant}.make(), "Unknown AddendumModificationVariant");
        EXPECT_THROW_MSG(g.getAddendumModification(Side::Left, variant, 0.0),
                         "Unknown AddendumModificationVariant");
    }
    EXPECT_THROW_MSG(Inputs{.av = static_cast<AMV>(9)}.make(), "Unknown AddendumModificationVariant");
    EXPECT_THROW_MSG(g.getAddendumModification(Side::Left, static_cast<AMV>(-1), 0.0),
                     "Unknown AddendumModificationVariant");
    // an unset value needs no conversion
    EXPECT_TRUE(isUnset(Inputs{.addmod = U, .av = AMV::AddmodMdk}.make().getX(Side::Left)));
}

// ---- copy, texts, user strings ---------------------------------------------------------------------------

TEST(cylindrical_gear_geometry, CopyKeepsTheLeftFlank) {
    OtherKind source(Inputs{.mv = MV::Transverse, .dM = 3.25});
    source.setUserString(VT::TipDiameter, "tip");
    source.setSimilarityEpsilon(0.5);
    ASSERT_EQ(source.getMN(Side::Right), 7.0);

    const CylindricalGearGeometry copy(source);
    EXPECT_STREQ(copy.getKindOf(), "cylindrical gear");
    EXPECT_EQ(copy.getMN(Side::Right), source.getMN(Side::Left));
    EXPECT_EQ(copy.getModuleVariant(), MV::Transverse);
    EXPECT_EQ(copy.getDM(), 3.25);
    EXPECT_EQ(copy.getUserString(VT::TipDiameter), "tip");
    EXPECT_EQ(copy.getSimilarityEpsilon(), 0.5);
    EXPECT_TRUE(copy.isValid());
    EXPECT_TRUE(copy.isSimilar(source));
    const CylindricalGearGeometry uninitialized;
    const CylindricalGearGeometry uninitializedCopy(uninitialized);
    EXPECT_EQ(reasonOf(uninitializedCopy), "gear not initialized (cylindrical gear)");
}

TEST(cylindrical_gear_geometry, FlankDirectionTexts) {
    struct Row {
        FD value;
        const char* text;
    };
    for (const Row& row : std::vector<Row>{{FD::Straight, "straight"},
                                           {FD::Left, "left"},
                                           {FD::Right, "right"},
                                           {static_cast<FD>(3), "wrong slope"}}) {
        EXPECT_EQ(CylindricalGearGeometry::FlankDirection_2_string(row.value), row.text);
    }
    for (const Row& row : std::vector<Row>{{FD::Left, "left"},
                                           {FD::Right, "right"},
                                           {FD::Straight, "straight"},
                                           {FD::Straight, "spur"},
                                           {FD::Straight, "Left"},
                                           {FD::Straight, ""}}) {
        EXPECT_EQ(Probe::string_2_FlankDirection(row.text), row.value) << row.text;
    }
}

TEST(cylindrical_gear_geometry, ModuleVariantTexts) {
    struct Row {
        MV value;
        const char* text;
    };
    const std::vector<Row> rows{{MV::Normal, "normal"},
                                {MV::Transverse, "transverse"},
                                {MV::DiametralPitchNormal, "diametral_pitch_normal"},
                                {MV::DiametralPitchTransverse, "diametral_pitch_transverse"}};
    DiagnosticsCapture capture(4);
    for (const Row& row : rows) {
        EXPECT_EQ(Probe::ModuleVariantToString(row.value), row.text);
        EXPECT_EQ(Probe::StringToModuleVariant(row.text), row.value);
    }
    EXPECT_TRUE(capture.messages(DiagnosticChannel::Trace).empty());
    EXPECT_THROW_MSG(Probe::ModuleVariantToString(static_cast<MV>(4)), "illegal module variant");

    EXPECT_EQ(Probe::StringToModuleVariant("Transverse"), MV::Normal);
    EXPECT_EQ(capture.messages(DiagnosticChannel::Trace),
              std::vector<std::string>{"illegal module variant string found: <Transverse>"});
    ASSERT_EQ(capture.reports.size(), 1u);
    EXPECT_EQ(capture.reports[0].level, 3);
}

TEST(cylindrical_gear_geometry, ModuleVariantTraceNeedsLevelThree) {
    DiagnosticsCapture capture(2);
    EXPECT_EQ(Probe::StringToModuleVariant("pitch"), MV::Normal);
    EXPECT_TRUE(capture.reports.empty());
}

TEST(cylindrical_gear_geometry, UserStringsByValue) {
    CylindricalGearGeometry g = Inputs{.fd = FD::Left}.make();
    EXPECT_EQ(g.getUserString(VT::FaceWidth), "");
    g.setUserString(VT::FaceWidth, "width");
    g.setUserString(VT::FaceWidth, nullptr); // ignored
    g.setUserString(static_cast<VT>(9), "no key");
    g.setUserString(VT::HelixAngle, "hand");
    EXPECT_EQ(g.getUserString(VT::FaceWidth), "width");
    EXPECT_EQ(g.getUserString(VT::HelixAngle), "hand");
    EXPECT_EQ(g.getUserString(static_cast<VT>(9)), "");
    EXPECT_EQ(g.get_user_string_key(VT::HelixAngle), "helix_angle[@direction='left']");
    EXPECT_EQ(g.get_user_string_key(static_cast<VT>(9)), "");
}

// ---- similarity ------------------------------------------------------------------------------------------

struct SimilarRow {
    const char* name;
    Inputs other;
    bool similar;
};

TEST(cylindrical_gear_geometry, SimilarWithinEpsilon) {
    const double e = 1e-5;
    const std::vector<SimilarRow> rows{
        {"same", {}, true},
        {"ball diameter", {.dM = 9.0}, true},
        {"module form", {.module = 2.5 / std::cos(deg(15.0)), .mv = MV::Transverse}, true},
        {"addendum modification form", {.addmod = 0.5, .av = AMV::AddmodValue}, true},
        {"face width just inside", {.b = 20.0 + 0.9 * e}, true},
        {"face width at epsilon", {.b = 20.0 + 1.0000001 * e}, false},
        {"face width beyond", {.b = 20.0 - 2 * e}, false},
        {"teeth", {.z = 24}, false},
        {"hand", {.fd = FD::Left}, false},
        {"module", {.module = 2.5 + 2 * e}, false},
        {"helix angle", {.beta = deg(15.0) + 2 * e}, false},
        {"pressure angle", {.alphaN = deg(20.0) - 2 * e}, false},
        {"tip diameter", {.dA = 65.5 + 2 * e}, false},
        {"root diameter", {.dF = 53.0 - 2 * e}, false},
        {"coefficient", {.addmod = 0.2 + 2 * e}, false},
        {"other invalid", {.dA = 0.0}, false},
    };
    const CylindricalGearGeometry base = Inputs{}.make();
    for (const SimilarRow& row : rows) {
        SCOPED_TRACE(row.name);
        const CylindricalGearGeometry other = row.other.make();
        EXPECT_EQ(base.isSimilar(other), row.similar);
        EXPECT_EQ(other.isSimilar(base), row.similar);
    }
}

TEST(cylindrical_gear_geometry, SimilarityNeedsValidityAndKind) {
    CylindricalGearGeometry g = Inputs{}.make();
    g.setUserString(VT::FaceWidth, "only here");
    EXPECT_TRUE(g.isSimilar(Inputs{}.make()));
    EXPECT_FALSE(CylindricalGearGeometry().isSimilar(CylindricalGearGeometry()));

    g.setSimilarityEpsilon(1e-3);
    EXPECT_TRUE(g.isSimilar(Inputs{.b = 20.0005}.make()));

    // A derived geometry is not similar to a plain one of the same values; the plain one compares values
    // only.
    const OtherKind derived(Inputs{});
    EXPECT_FALSE(derived.isSimilar(Inputs{}.make()));
    EXPECT_TRUE(Inputs{}.make().isSimilar(derived));
}

// ---- gear file -------------------------------------------------------------------------------------------

// Constructed as the gear loader does before the geometry reads itself.
CylindricalGearGeometry placeholder() {
    return {1, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, FD::Straight, MV::Normal, AMV::AddmodFactor, U};
}

std::string saved(const CylindricalGearGeometry& g) {
    MSXMLWrapper xml;
    xml.reset("gear");
    EXPECT_TRUE(g.saveXML(&xml, ""));
    std::string document;
    xml.serialize(document);
    return document;
}

std::string geometryFile(const std::string& inside) {
    return "<gear><geometry>" + inside + "</geometry></gear>";
}

TEST(cylindrical_gear_geometry, SavesElementsInOrder) {
    CylindricalGearGeometry g =
        Inputs{.fd = FD::Left, .mv = MV::DiametralPitchNormal}.make(); // mn = 10 / 2.5
    g.setUserString(VT::FaceWidth, "Breite");
    g.setUserString(VT::HelixAngle, "Gr\xFC\xDF"); // Latin-1: stored base64
    EXPECT_EQ(saved(g),
              "<?xml version=\"1.0\"?>\n"
              "<gear>\n"
              "  <geometry>\n"
              "    <type>cylindrical gear</type>\n"
              "    <number_of_teeth>23</number_of_teeth>\n"
              "    <face_width user_string=\"Breite\">20</face_width>\n"
              "    <tip_diameter>65.5</tip_diameter>\n"
              "    <root_diameter>53</root_diameter>\n"
              "    <normal_module module_variant=\"diametral_pitch_normal\">4</normal_module>\n"
              "    <helix_angle direction=\"left\" user_string=\"R3L83w==\" base_64=\"on\">15</helix_angle>\n"
              "    <normal_pressure_angle>20</normal_pressure_angle>\n"
              "    <addendum_modification>0.2</addendum_modification>\n"
              "    <addendum_modification_variant>addmod_factor</addendum_modification_variant>\n"
              "    <ball_diameter>4.5</ball_diameter>\n"
              "  </geometry>\n"
              "</gear>\n");
}

TEST(cylindrical_gear_geometry, SaveReplacesAnEarlierGeometry) {
    MSXMLWrapper xml;
    ASSERT_TRUE(xml.parse("<gear><version>9.02-44</version><geometry><type>beveloid gear</type><beveloid/>"
                          "<ball_diameter>3</ball_diameter></geometry></gear>"));
    ASSERT_TRUE(Inputs{.dM = U}.make().saveXML(&xml, ""));
    EXPECT_EQ(xml.getNodes("geometry").size(), 1u);
    EXPECT_TRUE(xml.getNode("geometry/beveloid").empty());
    EXPECT_TRUE(xml.getNode("geometry/ball_diameter").empty()); // unset: not written
    std::string text;
    EXPECT_TRUE(xml.getStringValue("geometry/type", text));
    EXPECT_EQ(text, "cylindrical gear");
    EXPECT_TRUE(xml.getStringValue("version", text)); // other sections stay
}

// Every persisted double comes back bit for bit, and a second save equals the first.
TEST(cylindrical_gear_geometry, RoundTripIsExact) {
    const std::vector<Inputs> rows{
        {},
        {.z = -97,
         .b = 0.1 + 0.2,
         .module = 1.0 / 3.0,
         .beta = 0.123456789,
         .alphaN = 0.3490658503988659,
         .addmod = -0.30000000000000004,
         .dA = 1e-300,
         .dF = 123456.789e10,
         .fd = FD::Left,
         .mv = MV::Transverse,
         .dM = 5e-324},
        {.beta = 0.0,
         .alphaN = deg(14.5),
         .addmod = U,
         .dA = U,
         .fd = FD::Straight,
         .mv = MV::DiametralPitchNormal,
         .av = AMV::AddmodValue,
         .dM = U},
    };
    for (const Inputs& row : rows) {
        SCOPED_TRACE(row.z);
        const CylindricalGearGeometry g = row.make();
        const std::string first = saved(g);
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(first));
        CylindricalGearGeometry loaded = placeholder();
        ASSERT_TRUE(loaded.loadXML(&xml, ""));
        EXPECT_EQ(loaded.getZ(), g.getZ());
        EXPECT_EQ(bits(loaded.getB()), bits(g.getB()));
        EXPECT_EQ(bits(loaded.getMN(Side::Left)), bits(g.getMN(Side::Left)));
        EXPECT_EQ(bits(loaded.getX(Side::Left)), bits(g.getX(Side::Left)));
        EXPECT_EQ(bits(loaded.getDA()), bits(g.getDA()));
        EXPECT_EQ(bits(loaded.getDF()), bits(g.getDF()));
        EXPECT_EQ(bits(loaded.getDM()), bits(g.getDM()));
        // the file holds the angles in degrees
        EXPECT_EQ(bits(loaded.getBetaDeg(Side::Left, true)), bits(g.getBetaDeg(Side::Left, true)));
        EXPECT_EQ(bits(loaded.getAlphaNDeg(Side::Left)), bits(g.getAlphaNDeg(Side::Left)));
        EXPECT_EQ(loaded.getFlankDirection(Side::Left), g.getFlankDirection(Side::Left));
        EXPECT_EQ(loaded.getModuleVariant(), g.getModuleVariant());
        EXPECT_EQ(loaded.getAddendumModificationVariant().get(), g.getAddendumModificationVariant().get());
        EXPECT_EQ(saved(loaded), first);
    }
}

// Values as a person wrote them into a file are written back unchanged.
TEST(cylindrical_gear_geometry, FileValuesSurviveALoadAndSave) {
    const std::string file =
        "<?xml version=\"1.0\"?>\n"
        "<gear>\n"
        "  <geometry>\n"
        "    <type>cylindrical gear</type>\n"
        "    <number_of_teeth>-41</number_of_teeth>\n"
        "    <face_width>12.345</face_width>\n"
        "    <tip_diameter>118.7</tip_diameter>\n"
        "    <root_diameter>131.05</root_diameter>\n"
        "    <normal_module module_variant=\"transverse\">2.875</normal_module>\n"
        "    <helix_angle direction=\"right\">20.123</helix_angle>\n"
        "    <normal_pressure_angle>17.75</normal_pressure_angle>\n"
        "    <addendum_modification>-0.1234</addendum_modification>\n"
        "    <addendum_modification_variant>addmod_value</addendum_modification_variant>\n"
        "  </geometry>\n"
        "</gear>\n";
    MSXMLWrapper xml;
    ASSERT_TRUE(xml.parse(file));
    CylindricalGearGeometry g = placeholder();
    ASSERT_TRUE(g.loadXML(&xml, ""));
    EXPECT_EQ(reasonOf(g), "");
    EXPECT_EQ(g.getZ(), -41);
    EXPECT_EQ(g.getBetaRad(Side::Left, true), deg(20.123));
    EXPECT_TRUE(isUnset(g.getDM()));
    EXPECT_EQ(saved(g), file);
}

TEST(cylindrical_gear_geometry, UserStringsRoundTrip) {
    CylindricalGearGeometry g = Inputs{}.make();
    const std::vector<std::pair<VT, std::string>> texts{
        {VT::NumberOfTeeth, "Z\xC3\xA4hne"}, // UTF-8
        {VT::FaceWidth, "<b> & 'c'"},
        {VT::NormalModule, "m"},
        {VT::HelixAngle, "\xE9\xE8"}, // Latin-1: not UTF-8
        {VT::NormalPressureAngle, "alpha"},
        {VT::AddendumModification, "x"},
        {VT::TipDiameter, "da"},
        {VT::RootDiameter, "df"},
        {VT::BallDiameter, "\xFF"},
    };
    for (const auto& [value, text] : texts)
        g.setUserString(value, text.c_str());

    MSXMLWrapper xml;
    ASSERT_TRUE(xml.parse(saved(g)));
    std::string stored, flag;
    const XMLNode helix = xml.getNode("geometry/helix_angle[@direction='right']");
    EXPECT_TRUE(xml.getAttributeValue(helix, "user_string", stored));
    EXPECT_EQ(stored, "6eg=");
    EXPECT_TRUE(xml.getAttributeValue(helix, "base_64", flag));
    EXPECT_EQ(flag, "on");
    EXPECT_FALSE(xml.getAttributeValue(xml.getNode("geometry/face_width"), "base_64", flag));

    CylindricalGearGeometry loaded = placeholder();
    ASSERT_TRUE(loaded.loadXML(&xml, ""));
    for (const auto& [value, text] : texts)
        EXPECT_EQ(loaded.getUserString(value), text) << static_cast<int>(value);
}

TEST(cylindrical_gear_geometry, SpurDirectionLoadsAsStraight) {
    MSXMLWrapper xml;
    ASSERT_TRUE(xml.parse(geometryFile(
        "<number_of_teeth>20</number_of_teeth><face_width>10</face_width><tip_diameter>44</tip_diameter>"
        "<root_diameter>35</root_diameter><normal_module>2</normal_module>"
        "<helix_angle direction=\"spur\" user_string=\"gerade\">0</helix_angle>"
        "<normal_pressure_angle>20</normal_pressure_angle><addendum_modification>0</"
        "addendum_modification>")));
    CylindricalGearGeometry g = placeholder();
    ASSERT_TRUE(g.loadXML(&xml, ""));
    EXPECT_EQ(g.getFlankDirection(Side::Left), FD::Straight);
    EXPECT_EQ(g.getUserString(VT::HelixAngle), "gerade");
    EXPECT_EQ(reasonOf(g), "");

    ASSERT_TRUE(g.saveXML(&xml, ""));
    std::string text;
    EXPECT_TRUE(xml.getAttributeValue(xml.getNode("geometry/helix_angle[@direction='straight']"),
                                      "user_string", text));
    EXPECT_EQ(text, "gerade");
}

const char* const kCompleteGeometry =
    "<number_of_teeth>20</number_of_teeth><face_width>10</face_width><tip_diameter>44</tip_diameter>"
    "<root_diameter>35</root_diameter><normal_module>2</normal_module>"
    "<helix_angle direction=\"left\">10</helix_angle><normal_pressure_angle>20</normal_pressure_angle>"
    "<addendum_modification>0.1</addendum_modification>";

struct FileRow {
    const char* name;
    const char* remove; // text taken out of the complete geometry
    const char* insert; // and put in its place
    bool result;
};

TEST(cylindrical_gear_geometry, LoadNeedsEveryRequiredElement) {
    const std::vector<FileRow> rows{
        {"complete", "", "", true},
        {"number of teeth", "<number_of_teeth>20</number_of_teeth>", "", false},
        {"face width", "<face_width>10</face_width>", "", false},
        {"tip diameter", "<tip_diameter>44</tip_diameter>", "", false},
        {"root diameter", "<root_diameter>35</root_diameter>", "", false},
        {"normal module", "<normal_module>2</normal_module>", "", false},
        {"helix angle", "<helix_angle direction=\"left\">10</helix_angle>", "", false},
        {"helix direction", "<helix_angle direction=\"left\">", "<helix_angle>", false},
        {"pressure angle", "<normal_pressure_angle>20</normal_pressure_angle>", "", false},
        {"coefficient", "<addendum_modification>0.1</addendum_modification>", "", false},
        {"text that is no number", "<face_width>10</face_width>", "<face_width>ten</face_width>", false},
        {"number of teeth beyond int", "<number_of_teeth>20</number_of_teeth>",
         "<number_of_teeth>3e9</number_of_teeth>", false},
        {"unknown variant", "<addendum_modification>0.1</addendum_modification>",
         "<addendum_modification>0.1</addendum_modification>"
         "<addendum_modification_variant>addmod_x</addendum_modification_variant>",
         false},
        {"ball diameter is optional", "<addendum_modification>0.1</addendum_modification>",
         "<addendum_modification>0.1</addendum_modification><ball_diameter>3.5</ball_diameter>", true},
    };
    for (const FileRow& row : rows) {
        SCOPED_TRACE(row.name);
        std::string inside = kCompleteGeometry;
        if (*row.remove) {
            const auto at = inside.find(row.remove);
            ASSERT_NE(at, std::string::npos);
            inside.replace(at, std::strlen(row.remove), row.insert);
        }
        MSXMLWrapper xml;
        ASSERT_TRUE(xml.parse(geometryFile(inside)));
        CylindricalGearGeometry g = placeholder();
        EXPECT_EQ(g.loadXML(&xml, ""), row.result);
    }
}

TEST(cylindrical_gear_geometry, LoadedValues) {
    MSXMLWrapper xml;
    ASSERT_TRUE(
        xml.parse(geometryFile(std::string(kCompleteGeometry) +
                               "<addendum_modification_variant>addmod_sn</addendum_modification_variant>")));
    ASSERT_TRUE(xml.setStringValue("geometry/number_of_teeth", "-20.9"));
    ASSERT_TRUE(xml.addAttributeValue(xml.getNode("geometry/normal_module"), "module_variant", "metric"));
    DiagnosticsCapture capture(3);
    CylindricalGearGeometry g = Inputs{.mv = MV::Transverse}.make();
    ASSERT_TRUE(g.loadXML(&xml, ""));
    EXPECT_EQ(g.getZ(), -20); // truncated towards zero
    EXPECT_EQ(g.getB(), 10.0);
    EXPECT_EQ(g.getDA(), 44.0);
    EXPECT_EQ(g.getDF(), 35.0);
    EXPECT_EQ(g.getMN(Side::Left), 2.0);
    EXPECT_EQ(g.getModuleVariant(), MV::Normal);
    EXPECT_EQ(capture.messages(DiagnosticChannel::Trace),
              std::vector<std::string>{"illegal module variant string found: <metric>"});
    EXPECT_EQ(g.getFlankDirection(Side::Left), FD::Left);
    EXPECT_EQ(g.getBetaRad(Side::Left, false), deg(10.0));
    EXPECT_EQ(g.getAlphaNRad(Side::Left), deg(20.0));
    EXPECT_EQ(g.getX(Side::Left), 0.1); // the coefficient, whatever the variant
    EXPECT_EQ(g.getAddendumModificationVariant().get(), AMV::AddmodSn);
    EXPECT_TRUE(isUnset(g.getDM())); // missing: unset, also when it was set before
}

TEST(cylindrical_gear_geometry, UnsetAnglesStayUnset) {
    MSXMLWrapper xml;
    ASSERT_TRUE(xml.parse(saved(Inputs{.beta = U, .alphaN = U}.make())));
    std::string text;
    EXPECT_TRUE(xml.getStringValue("geometry/helix_angle", text));
    EXPECT_EQ(text, "2147483646");
    CylindricalGearGeometry g = placeholder();
    ASSERT_TRUE(g.loadXML(&xml, ""));
    EXPECT_TRUE(isUnset(g.getBetaRad(Side::Left, false)));
    EXPECT_TRUE(isUnset(g.getAlphaNRad(Side::Left)));
}

TEST(cylindrical_gear_geometry, MissingNodeChangesNothing) {
    MSXMLWrapper xml;
    ASSERT_TRUE(xml.parse(geometryFile(kCompleteGeometry)));
    const std::string before = saved(Inputs{}.make());
    CylindricalGearGeometry g = Inputs{}.make();
    EXPECT_FALSE(g.loadXML(&xml, "no/such/node"));
    EXPECT_FALSE(g.saveXML(&xml, "no/such/node"));
    EXPECT_FALSE(g.loadXML(nullptr, ""));
    EXPECT_FALSE(g.saveXML(nullptr, ""));
    EXPECT_EQ(saved(g), before);
    std::string document;
    xml.serialize(document);
    MSXMLWrapper unchanged;
    ASSERT_TRUE(unchanged.parse(geometryFile(kCompleteGeometry)));
    std::string expected;
    unchanged.serialize(expected);
    EXPECT_EQ(document, expected);
}

} // namespace
