#include <kest/gear/gear_calculator.h>

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/measurement_enums.h>

#include "calc/gear_references.h"
#include "support/diagnostics_capture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace kest::gear;
using kest::host::DiagnosticChannel;
using kest::test::DiagnosticsCapture;
using kest::test::TestGear;

namespace {

constexpr double U = unsetValue;

// Contact diameter of the jaws over k teeth, from the closed form of W_k: the contact lies W_k / 2 from the
// base helix normal to it, W_k / (2 cos(beta_b)) along the transverse base tangent.
double contactDiameter(const TestGear& t, unsigned int k) {
    const double along = t.wk(k) / std::cos(t.betaB());
    return std::sqrt(t.db() * t.db() + along * along);
}

// z 8, mn 14.9121, alpha_n 15.06 deg, x 0.788: W_k / rb (closed form) is 2.867 for k 4 and 3.653 for k 5, so
// the jaws over 5 and more teeth would reach over more than half the base circle (the folded value of k 5 was
// 2 pi rb - W_5 = 151.512 instead of W_5 = 210.398).
TEST(span_measurement, SpansOverMoreThanHalfTheBaseCircleHaveNoValue) {
    const TestGear t{"spur, z 8, x 0.788", 8, 14.9121, 0.0, 15.06, 0.788};
    const CylindricalGearGeometry g = t.make();
    const GearCalculator c(&g);
    for (unsigned int k = 1; k <= 4; ++k)
        EXPECT_NEAR(c.getNominal_Wk(k, U, U), t.wk(k), 1e-9) << k;
    const std::string reason = "the span reaches over more than half the base circle";
    for (unsigned int k = 5; k <= 8; ++k) {
        DiagnosticsCapture capture;
        EXPECT_EQ(c.getNominal_Wk(k, U, U), U) << k;
        EXPECT_EQ(capture.messages(DiagnosticChannel::ErrorLog), std::vector<std::string>{reason});
        const NominalResult named = c.getNominal(NominalValue::Wk, {.spanCount = k});
        EXPECT_EQ(named.value, U);
        EXPECT_EQ(named.reason, reason);
    }
    // internal: across k spaces, W_k = k p_bn - s_bn; 21 of 40 spaces reach past half the base circle
    const TestGear ring{"internal spur, z -40", -40, 2.0, 0.0, 20.0, 0.0};
    const CylindricalGearGeometry internal = ring.make();
    EXPECT_NEAR(GearCalculator(&internal).getNominal_Wk(20, U, U), ring.wk(20), 1e-9);
    EXPECT_EQ(GearCalculator(&internal).getNominal(NominalValue::Wk, {.spanCount = 21}).reason, reason);
}

// A geometry without its profile shift coefficient has no span measurement, unless the call gives one.
TEST(span_measurement, CoefficientFromTheGeometryOrTheCall) {
    using G = CylindricalGearGeometry;
    const TestGear t{"helical, z 23, x 0.2", 23, 2.5, 15.0, 20.0, 0.2};
    const G g(t.z, 20.0, t.mn, t.beta(), t.alphaN(), U, t.da(), t.df(), G::FlankDirection::Right,
              G::ModuleVariant::Normal, AddendumModificationVariant::AddmodFactor, U);
    const GearCalculator c(&g);
    EXPECT_EQ(c.getNominal_Wk(3, U, U), U);
    EXPECT_NEAR(c.getNominal_Wk(3, t.x, U), t.wk(3), 1e-9);
}

// The first unbroken run of span counts whose contact diameter (contactDiameter above) lies between the
// larger of root and base circle and the tip (external), or between tip and root (internal). With the normal
// span sqrt(db^2 + W_k^2) instead, the helical rows would read {6, 7, 8, 9} and {1, 2, 3, 4, 5}.
TEST(span_measurement, SpanCountsKeepTheContactOnTheFlank) {
    const struct {
        TestGear gear;
        std::vector<unsigned int> spans;
    } rows[]{
        // db 133.064, df 138.088, da 149.338: dW 136.915 (k 4) below, 139.121 ... 148.394 (k 5 ... 8),
        // 152.279
        {{"helical, z 50, beta 30", 50, 2.5, 30.0, 20.0, 0.0}, {5, 6, 7, 8}},
        // db 55.705, da 65.528: dW 55.936 ... 62.301 (k 1 ... 4), 66.060 (k 5) above
        {{"helical, z 23, beta 15, x 0.2", 23, 2.5, 15.0, 20.0, 0.2}, {1, 2, 3, 4}},
        // spur: cos(beta_b) = 1; window (db 37.588, da 44): dW(k) 37.751 ... 43.166 inside, 46.356 above
        {{"spur, z 20", 20, 2.0, 0.0, 20.0, 0.0}, {1, 2, 3, 4}},
        // root above the base circle (df 118.75, da 130): dW 117.588, 118.159 below; 119.186 ... 127.552;
        // 130.606 above
        {{"spur, z 50, mn 2.5", 50, 2.5, 0.0, 20.0, 0.0}, {3, 4, 5, 6, 7}},
        // internal, across k spaces (da 76, df 85): dW 75.286, 75.835 below; 76.835 ... 84.920 inside
        {{"internal spur, z -40", -40, 2.0, 0.0, 20.0, 0.0}, {3, 4, 5, 6, 7}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.gear.name);
        const CylindricalGearGeometry g = row.gear.make();
        const GearCalculator c(&g);
        EXPECT_EQ(c.getWkSpanTeethList(U, U), row.spans);
        for (const unsigned int k : row.spans) {
            const double dW = contactDiameter(row.gear, k);
            EXPECT_GT(dW, row.gear.z > 0 ? std::max(row.gear.db(), row.gear.df()) : -row.gear.da());
            EXPECT_LT(dW, row.gear.z > 0 ? row.gear.da() : -row.gear.df());
        }
        EXPECT_EQ(c.getNominal(NominalValue::FirstSpanCount).value, row.spans.front());
        EXPECT_EQ(c.getNominal(NominalValue::LastSpanCount).value, row.spans.back());
    }
}

// A gear of a million teeth: the run of usable spans starts far out (the contact reaches the root circle near
// k = z tan(alpha) / pi); the search goes straight there, and the run's ends are those of the closed form.
TEST(span_measurement, SpanCountsOfAHugeToothCount) {
    const TestGear t{"spur, z 1000000", 1000000, 1.0, 0.0, 20.0, 0.0};
    const CylindricalGearGeometry g = t.make();
    const std::vector<unsigned int> spans = GearCalculator(&g).getWkSpanTeethList(U, U);
    ASSERT_FALSE(spans.empty());
    const double lower = std::max(t.db(), t.df());
    EXPECT_LE(contactDiameter(t, spans.front() - 1), lower);
    EXPECT_GT(contactDiameter(t, spans.front()), lower);
    EXPECT_LT(contactDiameter(t, spans.back()), t.da());
    EXPECT_GE(contactDiameter(t, spans.back() + 1), t.da());
    EXPECT_EQ(spans.size(), spans.back() - spans.front() + 1);
}

} // namespace
