#pragma once

// Evaluation ranges: which part of a measured profile or lead line is evaluated and how the line is
// approximated there (a straight line, a parabola, a continuous parabola). A range has a main interval and an
// extended interval around it, both in one reference.

#include <kest/gear/host/export.h>
#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/measurement_enums.h>

#include <string>

namespace kest::gear {

class Gear;

class GEARRECORDS_API EvaluationRange {
public:
    // Regression type 0 (no class of its own), limits 10 and 90 for both intervals.
    EvaluationRange(const std::string& name, Reference reference);
    EvaluationRange(const EvaluationRange&) = default;
    // copies name, reference, regression type and the four limits
    EvaluationRange& operator=(const EvaluationRange&) = default;
    virtual ~EvaluationRange();

    // a new heap copy of the same dynamic class; the caller owns it
    virtual EvaluationRange* createCopy() const;
    // Reads name, reference and limits from `node`; the regression type stays the class's own. false for a
    // null wrapper or node, or when name, reference, main/lower or main/upper do not read (what read is
    // applied).
    virtual bool loadXML(host::MSXMLWrapper* xml, host::XMLNode node);
    // Appends a "range" element under the element at `parentPath` (the document element for an empty path),
    // created when missing, and hands it back through `node`. false for a null wrapper or a failed write.
    virtual bool saveXML(host::MSXMLWrapper* xml, const std::string& parentPath, host::XMLNode& node) const;
    // Writes the range into an existing range element, in place: attributes name and regression, reference,
    // main and extended limits and, for a parabola with one, the asymmetric parabola; limits the range does
    // not have are removed, everything else in the element stays. false when a write failed.
    bool writeElement(host::MSXMLWrapper& xml, host::XMLNode node) const;
    // Regression type 1, 2 or 3, and extended lower <= main lower < main upper <= extended upper.
    virtual bool isValid() const;

    // Sorts the four values and assigns them to extended lower, main lower, main upper, extended upper.
    void setRange(double a, double b, double c, double d);
    // extended lower, main lower, main upper, extended upper; a null pointer is skipped
    void getRange(double* extendedLower, double* mainLower, double* mainUpper, double* extendedUpper) const;
    std::string getName() const { return name_; }
    Reference getReference() const noexcept { return reference_; }
    // the scale of all four limits; the limits are not converted
    void setReference(Reference reference) noexcept { reference_ = reference; }
    // RegressionType{0} for a bare EvaluationRange
    RegressionType getRegressionType() const noexcept { return regressionType_; }

    // name, reference, regression type and the four limits compared exactly; the asymmetric parabola does not
    // take part
    bool operator==(const EvaluationRange& other) const;

protected:
    explicit EvaluationRange(RegressionType regressionType);
    EvaluationRange(const std::string& name, Reference reference, RegressionType regressionType);
    // the part of loadXML and saveXML that every class shares
    bool loadBase(host::MSXMLWrapper* xml, host::XMLNode node);
    bool saveBase(host::MSXMLWrapper* xml, const std::string& parentPath, host::XMLNode& node) const;

private:
    std::string name_;
    Reference reference_ = Reference::Diameter;
    RegressionType regressionType_{};
    double mainLower_ = 10.0;
    double mainUpper_ = 90.0;
    double extendedLower_ = 10.0;
    double extendedUpper_ = 90.0;
};

// A range approximated by a straight line; reference Diameter.
class GEARRECORDS_API EvaluationRangeLine : public EvaluationRange {
public:
    explicit EvaluationRangeLine(const std::string& name);
    EvaluationRangeLine(const EvaluationRangeLine&) = default;
    EvaluationRangeLine& operator=(const EvaluationRangeLine&) = default;
    ~EvaluationRangeLine() override;

    EvaluationRange* createCopy() const override;
    bool loadXML(host::MSXMLWrapper* xml, host::XMLNode node) override;
    bool saveXML(host::MSXMLWrapper* xml, const std::string& parentPath, host::XMLNode& node) const override;
    bool isValid() const override;

protected:
    explicit EvaluationRangeLine(RegressionType regressionType);
    EvaluationRangeLine(const std::string& name, RegressionType regressionType);
};

// A range approximated by a parabola, optionally with the limits of an asymmetric parabola.
class GEARRECORDS_API EvaluationRangeParabola : public EvaluationRangeLine {
public:
    explicit EvaluationRangeParabola(const std::string& name);
    EvaluationRangeParabola(const EvaluationRangeParabola&) = default;
    EvaluationRangeParabola& operator=(const EvaluationRangeParabola&) = default;
    ~EvaluationRangeParabola() override;

    EvaluationRange* createCopy() const override;
    // A "parabola/lower" without "parabola/upper" is false; neither gives a symmetric parabola.
    bool loadXML(host::MSXMLWrapper* xml, host::XMLNode node) override;
    bool saveXML(host::MSXMLWrapper* xml, const std::string& parentPath, host::XMLNode& node) const override;
    // also asymmetric lower < asymmetric upper when an asymmetric parabola is defined
    bool isValid() const override;

    void setAsymmetricParabola(double lower, double upper);
    // returns false, writing nothing, when no asymmetric parabola is defined
    bool getAsymmetricParabola(double* lower, double* upper) const;

protected:
    explicit EvaluationRangeParabola(RegressionType regressionType);
    EvaluationRangeParabola(const std::string& name, RegressionType regressionType);

private:
    bool hasAsymmetricParabola_ = false;
    double asymmetricLower_ = 0.0;
    double asymmetricUpper_ = 0.0;
};

// A parabola that joins the neighbouring range continuously.
class GEARRECORDS_API EvaluationRangeContinuousParabola : public EvaluationRangeParabola {
public:
    explicit EvaluationRangeContinuousParabola(const std::string& name);
    EvaluationRangeContinuousParabola(const EvaluationRangeContinuousParabola&) = default;
    EvaluationRangeContinuousParabola& operator=(const EvaluationRangeContinuousParabola&) = default;
    ~EvaluationRangeContinuousParabola() override;

    EvaluationRange* createCopy() const override;
    bool loadXML(host::MSXMLWrapper* xml, host::XMLNode node) override;
    bool saveXML(host::MSXMLWrapper* xml, const std::string& parentPath, host::XMLNode& node) const override;
    bool isValid() const override;

protected:
    EvaluationRangeContinuousParabola();
};

// A range held by a gear, handed out with its range type; the gear keeps ownership of the range.
struct GEARRECORDS_API Gear_EvaluationRange {
    RangeType rangeType = RangeType::Unspecified;
    EvaluationRange* range = nullptr;
};

// Whether a gear can hold a range of this reference as `rangeType` of a measurement `type`: profile and
// topography-profile ranges are Root, Main or Tip in a profile reference, lead and topography-lead ranges
// NonDatumSide, Middle or DatumSide in a lead reference; no other measurement type has ranges.
GEARRECORDS_API bool isEvaluationRangeSlot(Measurement_Type type, RangeType rangeType, Reference reference);

// The range class of a regression text ("line", "parabola", "continuous parabola") with `name`; returns
// nullptr for any other text. The caller owns the range.
GEARRECORDS_API EvaluationRange* createEvaluationRange(const std::string& regression,
                                                       const std::string& name);

// Whether both extended limits of `range` lie strictly inside the span of every measurement path of the gear
// on `side` (paths on Both count for either flank) of the same kind: the positions of profile paths and the
// heights of lead paths, converted into the range's reference with the path's own flank. Only Profile and
// Lead are examined; Pitch gives false, other types true. false for a null gear or range, and when a
// conversion fails (no geometry, a reference of the other kind). Settings without points are skipped.
GEARRECORDS_API bool checkInsideMeasurements(const Gear* gear, Side side, Measurement_Type type,
                                             const EvaluationRange* range);
// false as soon as one of the gear's ranges of (type, side) is not inside; true when there is none.
GEARRECORDS_API bool checkEvaluationRangesInsideMeasurements(const Gear* gear, Side side,
                                                             Measurement_Type type);

} // namespace kest::gear
