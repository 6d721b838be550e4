#pragma once

// Nominal test dimensions of an involute gear (tooth thicknesses and space widths, dimensions over balls and
// pins, span measurements, tip and root diameters), the ball positions in a tooth space and the flank surface
// they rest on, and the inverse solutions behind them (the addendum modification from a test dimension, the
// flank offset angle from a measured value).

#include <kest/gear/host/export.h>
#include <kest/gear/host/vector3d.h>
#include <kest/gear/nominal_value.h>
#include <kest/gear/root_finding.h>

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class ProfileShiftCalculation;
class FlankSurfaceOffsetCalculation;

namespace kest::gear {

enum class Side : std::int32_t;
class CylindricalGearGeometry;
namespace calc {
struct Result;
}

// A span count that is not given (2^31 - 2, the unsigned form of the unset value).
inline constexpr unsigned int unsetSpanCount = 2147483646u;
// The settings of every secant solve of the library.
inline constexpr double secantTolerance = 1e-8;
inline constexpr unsigned int secantIterationLimit = 300;

// Computes on one geometry, which it reads only through its virtual getters and does not own: the geometry
// must outlive the calculator. The per-side values (base radius, base helix angle, twist rate, hand) are
// taken once, when the calculator is made.
//
// Every model value derives from the polar angle of a flank in the transverse plane: at radius ry and axial
// position zpos, the flank `side` of tooth t (1-based) lies at
//   phi = hand * tan(beta_b) / rb * zpos + phiB(t, side) + sigma(side) * inv(acos(rb / ry)),
// sigma = -1 for Left, +1 for Right. x, xL, xR are addendum modification coefficients (unset: the geometry's
// own, per side), phi0 the nominal flank offset angle (unset: 0), zpos an axial position (unset: 0).
//
// The getNominal_ operations return unsetValue when an input is unset. Where noted they refuse a geometry of
// kind "asymmetrical gear" (logged, unset); a failure deeper in the calculation is logged with the
// operation's name and thrown on as a persistent message text (const char*).
class GEARRECORDS_API GearCalculator {
public:
    using Vector = host::M3DVectorT<double>;

    // Throws "given cylindircal gear geometry pointer is null" for a null geometry.
    explicit GearCalculator(const CylindricalGearGeometry* geometry);
    GearCalculator(const GearCalculator&) = default;
    GearCalculator& operator=(const GearCalculator&) = default;
    ~GearCalculator();

    const CylindricalGearGeometry* getGeometry() const noexcept { return geometry_; }

    // ---- tooth thickness and space width ------------------------------------------------------------------
    // Arcs on the circle of radius ry, between the flanks of tooth 1 (space: tooth 1 and tooth 2).
    double getNominal_Syt(double ry, double zpos, double xL, double xR, double phi0) const;
    double getNominal_Syn(double ry, double zpos, double xL, double xR, double phi0) const; // refuses asym.
    double getNominal_eyt(double ry, double zpos, double xL, double xR, double phi0) const;
    double getNominal_eyn(double ry, double zpos, double xL, double xR, double phi0) const; // refuses asym.
    // On the reference (St, Sn), base (Sbt, Sbn) and V-circle (Svt, Svn); all refuse asymmetrical gears.
    double getNominal_St(double x, double phi0) const;
    double getNominal_Sn(double x, double phi0) const;
    double getNominal_Sbt(double x, double phi0) const;
    double getNominal_Sbn(double x, double phi0) const;
    double getNominal_Svt(double x, double phi0) const;
    double getNominal_Svn(double x, double phi0) const;
    // Space width on the circle named by `feature`: "et", "en" (reference), "ebt", "ebn" (base), "evt", "evn"
    // (V-circle), "eyt", "eyn" (radius ry); the n-forms are normal. Refuses asymmetrical gears. Throws
    // "demand feature is not support! please check the feature type!" for any other name.
    double getNominal_Spacewidth(const std::string& feature, double ry, double x, double phi0) const;

    // ---- dimensions over balls and pins -------------------------------------------------------------------
    // Ball diameter dK unset: the DIN ball diameter. An internal gear subtracts the ball. These two never
    // throw: a failure is logged and gives unset.
    double getNominal_MdK(double xL, double xR, double dK, double zpos, double phi0) const;
    double getNominal_MrK(double xL, double xR, double dK, double zpos, double phi0) const;
    // Over pins at half the face width; refuse asymmetrical gears and internal helical gears (|beta| >= 0.5
    // deg). Pin diameter dR unset: the DIN ball diameter.
    double getNominal_MdR(double x, double dR, double phi0) const;
    double getNominal_MrR(double x, double dR, double phi0) const;

    // ---- span measurement ---------------------------------------------------------------------------------
    // Base tangent length over k teeth (an internal gear: across k spaces); k in 1 ... |z|. Refuses
    // asymmetrical gears, and a span whose flanks lie more than half the base circle apart (the jaws would
    // touch the involutes beyond the tip): "the span reaches over more than half the base circle".
    double getNominal_Wk(unsigned int k, double x, double phi0) const;
    // The first unbroken run of span counts whose contact diameter sqrt(db^2 + (Wk / cos(beta_b))^2) lies
    // strictly between tip (or base) and root circle; empty for an asymmetrical gear or when a diameter is
    // unset.
    std::vector<unsigned int> getWkSpanTeethList(double x, double phi0) const;

    // ---- tip and root
    // ---------------------------------------------------------------------------------------- Nominal tip
    // and root diameters from a basic rack of addendum mn and dedendum 1.2 mn, shifted by x mn (x in the
    // geometry's addendum-modification variant, 0 when unset); for an asymmetrical gear the larger tip and
    // smaller root of the two sides (external), the other way round for an internal gear.
    double getNominal_da() const;
    double getNominal_df() const;

    // ---- flank surface and ball positions
    // ------------------------------------------------------------------ Base angle phiB in [0, 2 pi) of the
    // involute of flank `side` of tooth t. Throws "tooth number exceed the range [1,toothnum]" for t outside
    // 1 ... |z|.
    double getBaseAngle(int tooth, Side side, double x, double phi0) const;
    // Point of flank `side` of tooth t at radius r (the base radius when r lies up to 1e-12 inside it) and
    // axial position zpos, with the flank modification when it is on. Outputs, each may be null: the unit
    // normal, pointing out of the material, and the point moved by `offset` along it. Throws "given circle
    // radius is smaller than base radius".
    Vector getPoint(int tooth, Side side, double r, double zpos, double offset, Vector* normal,
                    Vector* offsetPoint, double x, double phi0) const;
    // The radius at which the flank point of tooth t (offset by `offset`) has the x coordinate X; the base
    // radius when even that point lies beyond X. Outputs as getPoint.
    double getRadius(int tooth, Side side, double X, double zpos, double offset, Vector* normal,
                     Vector* offsetPoint) const;
    // Base angle in [0, 2 pi) of the involute of flank `side` through p. Throws "given points located in base
    // circle".
    double getInvoluteOriginAngle(const Vector& p, Side side) const;
    // The start on the base circle (z = 0) of the involute of flank `side` through p.
    Vector getInvoluteOrigin(const Vector& p, Side side) const;
    // The flank point at the radius and axial position of p, on the involute through p, moved by the probe
    // radius into the material.
    Vector probeCompensation(const Vector& p, Side side, double probeRadius) const;
    // Centre of a ball of radius rK touching both flanks of tooth space g (1-based; space 1 lies between
    // tooth |z| and tooth 1) in the transverse plane at zpos, its x and y in the frame of the spaces at the
    // axial position 0 (the helix twist up to zpos taken out). Throws "tooth Space Number exceed the range
    // [1,toothnum]", "evaluation ball radius should be given here", "given angle is too big for calculate
    // ball position in gap", "m-mass can not be calculated".
    Vector getBallInToothSpacePosition(int space, double xL, double xR, double rK, double zpos,
                                       double phi0) const;
    // Centre of a ball of radius rK (0: half the DIN ball diameter) at axial position zpos in the tooth space
    // whose flanks pass through the measured points p1 and p2. Throws as getBallInToothSpacePosition.
    Vector findBallInRealSpacePosition(const Vector& p1, const Vector& p2, double rK, double zpos) const;

    // The nominal flank modification of `side` at axial position zpos and roll path L (zero as constructed).
    double getModification(Side side, double zpos, double rollPath) const;
    bool isModificationOn() const noexcept { return modificationOn_; }
    // returns true
    bool setModificationStatus(bool on) noexcept {
        modificationOn_ = on;
        return true;
    }

    // ---- flank offset angle
    // -------------------------------------------------------------------------------- The flank offset angle
    // phi0 at which the nominal value of `feature` ("MrK", "MdK" with the ball diameter, "MrR", "MdR" with
    // the pin diameter, "Syt" on `diameter` at zpos, "Wk" over k teeth) equals `measured`. returns unset when
    // no pair of start values with defined values is found within the iteration budget, or when the secant
    // fails. Throws "for base tangent length calculation span teeth number must be given." for Wk with k = 0
    // and "%s can not be calculated for given gear or not yet implemented" for other names.
    double getPhiB0_offset(const std::string& feature, double measured, double ballOrPinDiameter, double zpos,
                           double diameter, double xL, double xR, unsigned int k) const;
    // The same with the caller's solver, which afterwards tells the iterations used.
    double getPhiB0_offset(const std::string& feature, double measured, double ballOrPinDiameter, double zpos,
                           double diameter, double xL, double xR, unsigned int k,
                           kest::RootSecantMethod& solver) const;

    // ---- values by name
    // ------------------------------------------------------------------------------------ The named value,
    // or the reason the gear has none (the texts the getNominal_ operations refuse, log or throw with; "a
    // value it needs is not set in the file" when an input is unset). Nothing is thrown, and this call logs
    // nothing of its own. The values that depend on the flank offset angle have none when the geometry's
    // cannot be computed: "the flank offset angle is not available".
    NominalResult getNominal(NominalValue value, const NominalInputs& inputs = {}) const;
    // Several named values, in the order asked; the flank offset angle is computed once for all of them.
    std::vector<NominalResult> getNominal(std::span<const NominalValue> values,
                                          const NominalInputs& inputs = {}) const;

private:
    friend class ::ProfileShiftCalculation;
    friend class ::FlankSurfaceOffsetCalculation;

    // Values of one flank side, taken once from the geometry (unset where the geometry's are).
    struct SideData {
        double rb;          // base radius
        double betaB;       // base helix angle
        double tb;          // twist rate tan(beta_b) / rb
        double hand;        // -1 left-hand, +1 right-hand, 0 spur
        double sigma;       // -1 Left, +1 Right
        double alphaN;      // normal pressure angle
        double tanAlphaN;   // tan(alpha_n)
        double d;           // signed reference diameter
        double x;           // the geometry's coefficient
        double normalScale; // e sigma cos(beta_b), of the flank normal
        double normalAxial; // hand tan(beta_b), of the flank normal
        double refAngle;    // referenceAngle for the geometry's coefficient
    };
    // Knots x1, y1, ..., x4, y4 and the crowning c of a modification curve.
    using ModificationCurve = std::array<double, 9>;

    const SideData& sideData(Side side) const;
    bool isAsymmetrical() const;
    bool isInternalHelical() const;
    double rollPath(Side side, double diameter) const;
    double involuteOriginAngle(const Vector& p, double rb, double sigma, double twist) const;
    double referenceAngle(Side side, double x) const;
    double baseAngle(int tooth, Side side, double x, double phi0) const;
    // The base angles of the Left flank of one tooth and the Right flank of another, in [0, 2 pi), and the
    // angle from the first to the second, not wrapped (the tooth numbers taken as they are); false when an
    // input is unset.
    bool flankPairAngles(int leftTooth, int rightTooth, double x, double phi0, double& left, double& right,
                         double& between) const;
    double flankAngle(int tooth, Side side, double ry, double zpos, double x, double phi0) const;
    Vector surfacePoint(Side side, double r, double zpos, double phi, double offset, Vector* normal,
                        Vector* offsetPoint) const;

    // The public operations as results, refusals included.
    calc::Result thicknessResult(NominalValue thickness, double x, double phi0) const;
    calc::Result wkResult(unsigned int k, double x, double phi0) const;
    calc::Result spanCountsResult(double x, double phi0, std::vector<unsigned int>& spans) const;
    calc::Result mdrResult(double x, double dR, double phi0) const;
    calc::Result mrrResult(double x, double dR, double phi0) const;
    NominalResult named(NominalValue value, const NominalInputs& inputs, const calc::Result& offset) const;

    // The calculations behind the public operations: they throw their failures and refuse nothing.
    double syt(double ry, double zpos, double xL, double xR, double phi0) const;
    double eyt(double ry, double zpos, double xL, double xR, double phi0) const;
    double helixFactor(double ry) const;
    double circleRadius(int circle, double x) const;
    double toothThickness(int circle, double x, double phi0, bool normal) const;
    double spaceWidth(const std::string& feature, double ry, double x, double phi0) const;
    calc::Result wk(unsigned int k, double x, double phi0) const;
    double tipOrRootDiameter(Side side, bool tip) const;
    double nominalTipOrRoot(bool tip) const;
    double mdk(double xL, double xR, double dK, double zpos, double phi0) const;
    double mrk(double xL, double xR, double dK, double zpos, double phi0) const;
    double mdr(double x, double dR, double phi0) const;
    double mrr(double x, double dR, double phi0) const;
    // The base-angle width of tooth space g (positive when the space is open) and its centre; false when an
    // input is unset.
    bool spaceAngles(int space, double xL, double xR, double phi0, double& delta, double& centre) const;
    Vector matchBallInGap(double delta, double rK, double zpos) const;

    const CylindricalGearGeometry* geometry_;
    std::array<SideData, 2> sides_{};
    int z_ = 0;
    double e_ = 1.0; // +1 external, -1 internal
    std::array<ModificationCurve, 2> profileModification_{};
    std::array<ModificationCurve, 2> helixModification_{};
    double twistCoefficient_ = 0.0;
    bool modificationOn_ = false;
};

} // namespace kest::gear
