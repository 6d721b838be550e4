#pragma once

// The nominal, modified shape of a profile or lead line, against which a measurement is evaluated.

#include <kest/gear/gear_parameters.h>
#include <kest/gear/host/export.h>
#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/measurement_enums.h>
#include <kest/gear/measurement_path.h>

#include <map>
#include <string>
#include <vector>

namespace kest::gear {

// A regression element of a design profile: a straight line or a parabola through numbered points, each a
// position with its variation in one reference. Stored as element "part" with "point" children.
class GEARRECORDS_API DesignProfilePart {
public:
    DesignProfilePart() = default;
    DesignProfilePart(const DesignProfilePart&) = default;
    DesignProfilePart& operator=(const DesignProfilePart&) = default;
    virtual ~DesignProfilePart();

    // Reads the regression type, for a parabola the crowning, and every "point" child with its "id". A
    // point that does not read is left out and the walk goes on. returns false for a null wrapper or node,
    // and when anything failed to read, including a second point of an id in use (the first stays).
    virtual bool loadXML(host::MSXMLWrapper* xml, host::XMLNode node);
    // Appends element "part" below `parent`. returns false for a null wrapper, an empty parent or a failed
    // write.
    virtual bool saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent) const;
    // A line needs two or more points and no crowning; a parabola two points with a crowning or three
    // without; any other regression type is invalid.
    virtual bool isValid() const;

    // returns false, keeping the stored point, when the index is in use
    bool addPoint(unsigned int index, const PointDefinition& point);
    // Replaces *points by the points in ascending index. returns false for a null pointer
    bool getPoints(std::vector<PointDefinition>* points) const;
    // removes the points; regression type and crowning stay
    void clear() noexcept { points_.clear(); }

    double getCrowning() const noexcept { return crowning_; }
    void setCrowning(double crowning) noexcept { crowning_ = crowning; }
    RegressionType getRegressionType() const noexcept { return regressionType_; }
    void setRegressionType(RegressionType type) noexcept { regressionType_ = type; }

private:
    RegressionType regressionType_ = RegressionType::Line;
    std::map<unsigned int, PointDefinition> points_;
    double crowning_ = 0.0;
};

// A design profile: an enabled flag, its parts in order and a name. Stored as element "design_profile"
// with attributes "enabled", "name" (when not empty) and "measurement_index".
class GEARRECORDS_API DesignProfile {
public:
    // Copies the parts, when given; the profile is enabled when at least one part was copied.
    explicit DesignProfile(const std::vector<DesignProfilePart>* parts = nullptr);
    DesignProfile(const DesignProfile&) = default;
    DesignProfile& operator=(const DesignProfile&) = default;
    virtual ~DesignProfile();

    // Reads the flag, the name (empty without the attribute) and the "part" children in document order,
    // which replace the parts held. The measurement index is read by the gear. returns false for a null
    // wrapper or node and when the flag or a part does not read; the other parts are still read.
    virtual bool loadXML(host::MSXMLWrapper* xml, host::XMLNode node);
    // Appends element "design_profile" below `parent` with the measurement index. returns false for a null
    // wrapper, an empty parent or a failed write.
    virtual bool saveXML(host::MSXMLWrapper* xml, const host::XMLNode& parent,
                         unsigned int measurementIndex) const;
    // Valid when it has exactly one part, every part is valid, and the points run strictly in one direction
    // in one reference, the parts joining at common points.
    virtual bool isValid() const;

    bool isEnabled() const noexcept { return enabled_.is_enabled(); }
    void setEnabled(bool enabled) noexcept;
    const std::vector<DesignProfilePart>& getParts() const noexcept { return parts_; }
    const std::string& getName() const noexcept { return name_; }
    void setName(const std::string& name) { name_ = name; }

private:
    EnableDisable enabled_;
    std::vector<DesignProfilePart> parts_;
    std::string name_;
};

} // namespace kest::gear
