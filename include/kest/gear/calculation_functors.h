#pragma once

// The function objects that the calculator's secant solves run on: the addendum modification from a test
// dimension, and the flank offset angle from a measured value.

#include <kest/gear/gear_calculator.h>
#include <kest/gear/host/export.h>
#include <kest/gear/root_finding.h>

#include <string>

// f(x) = nominal test dimension for coefficient x minus the target, on one geometry: the inverse behind an
// addendum modification given as a dimension over balls or pins. The geometry is read, not copied, and must
// outlive the object.
class GEARRECORDS_API ProfileShiftCalculation : public kest::RootSecantMethod::Functor {
public:
    // `diameter` is the ball or pin diameter (unset: the DIN ball diameter), phi0 the flank offset angle.
    ProfileShiftCalculation(const kest::gear::CylindricalGearGeometry& geometry, double target,
                            double diameter, double phi0);

    // "MrK", "MdK" (at half the face width), "MrR", "MdR"; throws "%s can not be calculated for given gear or
    // not yet implemented" for any other name.
    void setDimension(const std::string& name);
    // returns "not initialized" before a dimension is set
    const std::string& getDimension() const noexcept { return name_; }

    // The dimension for coefficient x; throws a message text where it is not defined.
    double dimension(double x) const;
    double operator()(double x) const override;

    // Scans x from -3 to 3 in steps of 0.06 and solves from the first and last coefficient of the first
    // unbroken run where the dimension is defined. returns unset when it is nowhere defined or the solve
    // fails.
    double solve(kest::RootSecantMethod& solver) const;

private:
    enum class Dimension { None, MrK, MdK, MrR, MdR };

    kest::gear::GearCalculator calculator_;
    double target_;
    double diameter_;
    double phi0_;
    std::string name_ = "not initialized";
    Dimension dimension_ = Dimension::None;
};

// f(phi0) = nominal value of a feature with flank offset angle phi0 minus the measured value: the search of
// the flank offset angle of an asymmetrical gear. The calculator must outlive the object.
class GEARRECORDS_API FlankSurfaceOffsetCalculation : public kest::RootSecantMethod::Functor {
public:
    struct Parameters {
        double xL;
        double xR;
        double ballOrPinDiameter;
        double zpos;
        double diameter; // measuring diameter of "Syt"
        unsigned int k;  // span count of "Wk"
    };

    // Throws as GearCalculator::getPhiB0_offset for an unknown feature or a missing span count.
    FlankSurfaceOffsetCalculation(const kest::gear::GearCalculator& calculator, const std::string& feature,
                                  double measured, const Parameters& parameters);

    // The nominal value at phi0; unset where it is not defined.
    double value(double phi0) const;
    // value(phi0) - measured; throws a message text where the value is not defined.
    double operator()(double phi0) const override;

private:
    enum class Feature { MrK, MdK, MrR, MdR, Syt, Wk };

    double nominal(double phi0) const; // throws

    const kest::gear::GearCalculator& calculator_;
    std::string feature_;
    Feature kind_;
    double measured_;
    Parameters parameters_;
};
