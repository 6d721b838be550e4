#pragma once

// The points along which a measurement runs over a flank, and the positions with an allowed variation that
// K-charts and design profiles use. Each value is given in a Reference: a position along the profile in a
// profile reference, a height along the face width in a lead reference.

#include <kest/gear/host/export.h>
#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/measurement_enums.h>

#include <map>
#include <vector>

namespace kest::gear {

// One point of a measurement path.
class GEARRECORDS_API MeasurementPathPoint {
public:
    double position;
    double height;
    // a profile reference
    Reference positionReference;
    // a lead reference
    Reference heightReference;

    MeasurementPathPoint(double pointPosition, Reference pointPositionReference, double pointHeight,
                         Reference pointHeightReference)
        : position(pointPosition)
        , height(pointHeight)
        , positionReference(pointPositionReference)
        , heightReference(pointHeightReference) {}
    MeasurementPathPoint(const MeasurementPathPoint&) = default;
    MeasurementPathPoint& operator=(const MeasurementPathPoint&) = default;
    virtual ~MeasurementPathPoint();

    // Reads the child elements "position" and "height" of `node`, each a number with a "reference"
    // attribute. returns false at the first missing or malformed item, or when the position is not in a
    // profile reference or the height not in a lead reference; what was read before the failure stays.
    virtual bool loadXML(host::MSXMLWrapper* xml, host::XMLNode node);
    // Appends element "point" with attribute "id" under `parent`. returns false at the first failed step.
    virtual bool saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent, unsigned int id) const;

    // the doubles compared exactly
    bool operator==(const MeasurementPathPoint& other) const = default;
};

// The points of a path by identifier (from 1), in identifier order.
class GEARRECORDS_API MeasurementPath {
public:
    MeasurementPath() = default;
    MeasurementPath(const MeasurementPath&) = default;
    MeasurementPath& operator=(const MeasurementPath&) = default;
    MeasurementPath(MeasurementPath&&) noexcept = default;
    MeasurementPath& operator=(MeasurementPath&&) noexcept = default;
    virtual ~MeasurementPath();

    // Adds the "point" elements below `node` to the path, which is not emptied first. A point with a missing,
    // non-numeric, non-positive or repeated "id", or that does not read, is left out and makes the result
    // false; the other points are still read and stored.
    virtual bool loadXML(host::MSXMLWrapper* xml, host::XMLNode node);
    // Appends one "point" element per point under `node`, in identifier order. An empty path writes nothing.
    virtual bool saveXML(host::MSXMLWrapper* xml, const host::XMLNode& node) const;

    // Replaces the path by the points, numbered 1, 2, ... in their order. returns true
    bool setPoints(const std::vector<MeasurementPathPoint>& points);
    // The points in identifier order; `points` is cleared first. returns false for a null pointer
    bool getPoints(std::vector<MeasurementPathPoint>* points) const;
    void clear() noexcept { points_.clear(); }

protected:
    // returns false, storing nothing, when the identifier is in use
    bool addPoint(unsigned int id, const MeasurementPathPoint& point);

private:
    std::map<unsigned int, MeasurementPathPoint> points_;
};

// A position with the variation allowed around it, both in one reference.
class GEARRECORDS_API PointDefinition {
public:
    double position;
    double variation;
    Reference reference;

    PointDefinition(double pointPosition, double pointVariation, Reference pointReference)
        : position(pointPosition)
        , variation(pointVariation)
        , reference(pointReference) {}
    PointDefinition(const PointDefinition&) = default;
    PointDefinition& operator=(const PointDefinition&) = default;
    virtual ~PointDefinition();

    void setReference(Reference pointReference) noexcept { reference = pointReference; }

    // Reads the attributes "position", "variation" (numbers, read leniently: "2.5mm" is 2.5) and
    // "reference" of `node`. returns false when one is missing or does not convert; the others are still
    // read, and a field keeps its value when its attribute fails.
    virtual bool loadXML(host::MSXMLWrapper* xml, host::XMLNode node);
    // Appends element "point" under `parent`, hands it back through `written` and sets its attributes.
    // returns false for a null wrapper or an empty parent (leaving `written` alone) or a failed write.
    virtual bool saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent, host::XMLNode& written) const;
};

} // namespace kest::gear
