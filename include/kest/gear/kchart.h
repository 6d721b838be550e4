#pragma once

// K-charts: tolerance charts drawn over a profile or lead measurement. A chart is a polyline of points
// (position along the flank, permitted variation) bounding the deviation on the material side, away from it,
// or symmetrically on both; a gear keeps one chart per measurement kind, flank side and measurement index.

#include <kest/gear/gear_parameters.h>
#include <kest/gear/host/export.h>
#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/measurement_enums.h>
#include <kest/gear/measurement_path.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kest::gear {

// One stretch of a chart: its points by index, for one material side or for both (with a band width).
class GEARRECORDS_API KChartPart {
public:
    KChartPart() = default;
    KChartPart(const KChartPart&) = default;
    KChartPart(KChartPart&&) noexcept = default;
    KChartPart& operator=(const KChartPart&) = default;
    KChartPart& operator=(KChartPart&&) noexcept = default;
    virtual ~KChartPart();

    // Reads attributes "material" and "regression", the children "tolerance", "crowning" and every "point".
    // false for a missing or unknown attribute, a continuous parabola (which cannot be saved), a missing
    // "tolerance" of a both-side part or "crowning" of a parabola part (reading stops there), or a point that
    // does not read or repeats an id.
    virtual bool loadXML(host::MSXMLWrapper* xml, host::XMLNode node);
    // Appends element "part" under `parent`. Throws "internal error: ContinuousParabola not implemented" for
    // a part of that regression type.
    virtual bool saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent) const;
    // false for a both-side part without a band width above 0, a crowning on a part whose regression type
    // does not take one, or fewer than two points
    virtual bool isValid() const;

    // Empties the points; tolerance and crowning 0, both sides, no regression type.
    void clear();
    double getTolerance() const noexcept { return tolerance_; }
    void setTolerance(double tolerance) noexcept { tolerance_ = tolerance; }
    Material getMaterial() const noexcept { return material_; }
    void setMaterial(Material material) noexcept { material_ = material; }
    RegressionType getRegressionType() const noexcept { return regressionType_; }
    void setRegressionType(RegressionType type) noexcept { regressionType_ = type; }
    double getCrowning() const noexcept { return crowning_; }
    // Only a continuous parabola takes a crowning: false, value unchanged, for every other regression type.
    bool setCrowning(double crowning);

    // false when the index was in use: the point there is replaced
    bool addPoint(unsigned int index, const PointDefinition& point);
    // The points in ascending index; false for a null pointer.
    bool getPoints(std::vector<PointDefinition>* out) const;
    const std::map<unsigned int, PointDefinition>& getIndexedPoints() const noexcept { return points_; }
    // The reference of the point with the lowest index; Reference(-1) without points.
    Reference getPositionReference() const;
    // Largest and smallest position, largest and smallest variation, each through a pointer that may be null.
    // false for an invalid part.
    bool getMinMax(double* maxPosition, double* minPosition, double* maxVariation,
                   double* minVariation) const;
    // Gives each point whose position lies on a segment of the part the variation of the segment's straight
    // line there; other points keep theirs. false for an invalid part or a null pointer.
    bool getPointsLimitation(std::vector<PointDefinition>* points) const;

    bool operator==(const KChartPart&) const;

private:
    std::map<unsigned int, PointDefinition> points_;
    double tolerance_ = 0.0;
    double crowning_ = 0.0;
    Material material_ = Material::BothSides;
    RegressionType regressionType_ = RegressionType::Line;
};

// A chart of one measurement: its parts in order, how it lies against the measured line, what the evaluation
// does beyond the defined range per material side, and a name. Disabled on construction.
class GEARRECORDS_API KChart : public EnableDisable {
public:
    // A null `parts` gives a chart without parts.
    explicit KChart(const std::vector<KChartPart>* parts = nullptr);
    explicit KChart(std::vector<KChartPart>&& parts) noexcept;
    KChart(const KChart&) = default;
    KChart(KChart&&) noexcept = default;
    KChart& operator=(const KChart&) = default;
    KChart& operator=(KChart&&) noexcept = default;
    // Resets the chart (disabled, centred, no name, evaluation on beyond the range) and takes the parts.
    KChart& operator=(const std::vector<KChartPart>& parts);
    virtual ~KChart();

    // Reads the flag, name, alignment and outside-range attributes and every "part" child; a part is kept
    // only while everything before it read. The measurement index is the collection's business.
    virtual bool loadXML(host::MSXMLWrapper* xml, host::XMLNode node);
    // Appends element "kchart" under `parent` with the measurement index as an attribute.
    virtual bool saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent,
                         unsigned int measurementIndex) const;
    // One reason per invalid chart in `message` when it is not null.
    virtual bool isValid(std::string* message = nullptr) const;

    const std::vector<KChartPart>& getParts() const noexcept { return parts_; }
    const std::string& getName() const noexcept { return name_; }
    void setName(const std::string& name) { name_ = name; }
    Alignment getAlignment() const noexcept { return alignment_; }
    void setAlignment(Alignment alignment) noexcept { alignment_ = alignment; }
    // One value for Inside, one for every other material.
    EvaluationOutsideRange getEvaluationOutsideRange(Material material) const noexcept;
    void setEvaluationOutsideRange(EvaluationOutsideRange value, Material material) noexcept;

    // That of the first part; Reference(-1) without parts.
    Reference getPositionReference() const;
    // The extremes over all parts; false for an invalid chart.
    bool getMinMax(double* maxPosition, double* minPosition, double* maxVariation,
                   double* minVariation) const;
    // Applies the parts of this material in order (a both-side part only when both sides are asked for).
    // false for an invalid chart or a null pointer.
    bool getPointsLimitation(std::vector<PointDefinition>* points, Material material) const;

    bool operator==(const KChart&) const;

protected:
    // Whether the part's points continue the polyline that ended at `last` in the chart's direction; `last`
    // moves on to the part's end.
    static bool test_points(PointDefinition& last, const KChartPart& part, bool ascending,
                            std::string* message);

private:
    std::vector<KChartPart> parts_;
    Alignment alignment_ = Alignment::Centered;
    EvaluationOutsideRange outsideMaterial_ = EvaluationOutsideRange::On;
    EvaluationOutsideRange outsideNonMaterial_ = EvaluationOutsideRange::On;
    std::string name_;
};

// The K-charts of one gear: for profile and lead, per side (left, right, both), one chart per measurement
// index. A left or right chart that is missing falls back to the both-side chart of that index. Only Profile
// and Lead are accepted as measurement type: any other makes an operation do nothing and return false, 0 or
// null.
class GEARRECORDS_API GearKCharts {
public:
    GearKCharts();
    GearKCharts(const GearKCharts& other);
    GearKCharts& operator=(const GearKCharts& other);
    GearKCharts(GearKCharts&&) noexcept;
    GearKCharts& operator=(GearKCharts&&) noexcept;
    ~GearKCharts();

    // returns null when the index is beyond the side's charts; the collection keeps the chart, and a later
    // set, clear, load or import of that side invalidates the pointer
    const KChart* get(Measurement_Type type, Side side, unsigned int index) const;
    // Stores a copy of the chart (a null chart empties the slot).
    bool set(Measurement_Type type, Side side, const KChart* chart, unsigned int index);
    bool clear(Measurement_Type type, Side side);
    // The index of the last chart of that side plus one; 0 without charts.
    unsigned int getNumberOfMeasurements(Measurement_Type type, Side side) const;

    // Writes every chart below "evaluation/<type>[@side='<side>']" into the "kchart" element of its
    // measurement index there (what the library does not know in it stays) and deletes the other charts; a
    // side element left without content is deleted.
    bool saveXML(host::MSXMLWrapper* xml) const;
    // Replaces the charts by those of the file. false at the first chart that does not read or whose
    // "measurement_index" is outside 0 to 999.
    bool loadXML(host::MSXMLWrapper* xml);

    // Replaces the charts by those of a chart file. blockIndex -1 takes every block in turn (the last wins),
    // n >= 0 the block n. `ids`, when given, receives the id of every block read. false, charts unchanged,
    // when the file cannot be opened; false, without charts, when no measurement of the block made a chart.
    bool importZF(const char* fileName, int blockIndex, std::vector<std::string>* ids);

private:
    struct ZF_ENTRY;
    using Charts = std::vector<std::unique_ptr<KChart>>; // by measurement index; null for an empty slot

    Charts* charts(Measurement_Type type, Side side);
    const Charts* charts(Measurement_Type type, Side side) const;
    void clearAll();
    // Keeps `chart` (null empties the slot); false for a type or side without charts.
    bool store(Measurement_Type type, Side side, std::unique_ptr<KChart> chart, unsigned int index);
    bool insert_measurement(const ZF_ENTRY& entry);

    std::array<std::array<Charts, 3>, 2> charts_; // [profile, lead][left, right, both]
};

} // namespace kest::gear
