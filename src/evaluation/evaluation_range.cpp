#include <kest/gear/evaluation_range.h>

#include "evaluation/evaluation_xml.h"
#include "host/child_sync.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

namespace kest::gear {
namespace {

using namespace evaluation_xml;

// An extended limit closer than this to its main limit is not written; it reads back as the main limit.
constexpr double kExtendedTolerance = 1e-6;

bool readDouble(const host::MSXMLWrapper& xml, const char* path, double& value, host::XMLNode node) {
    return xml.getDoubleValue(path, value, node);
}

} // namespace

EvaluationRange::EvaluationRange(const std::string& name, Reference reference)
    : name_(name)
    , reference_(reference) {}

EvaluationRange::EvaluationRange(const std::string& name, Reference reference, RegressionType regressionType)
    : name_(name)
    , reference_(reference)
    , regressionType_(regressionType) {}

EvaluationRange::EvaluationRange(RegressionType regressionType)
    : regressionType_(regressionType) {}

EvaluationRange::~EvaluationRange() = default;

EvaluationRange* EvaluationRange::createCopy() const {
    return new EvaluationRange(*this);
}

bool EvaluationRange::operator==(const EvaluationRange& other) const {
    return name_ == other.name_ && reference_ == other.reference_ &&
           regressionType_ == other.regressionType_ && mainLower_ == other.mainLower_ &&
           mainUpper_ == other.mainUpper_ && extendedLower_ == other.extendedLower_ &&
           extendedUpper_ == other.extendedUpper_;
}

void EvaluationRange::setRange(double a, double b, double c, double d) {
    std::array values{a, b, c, d};
    std::ranges::sort(values);
    extendedLower_ = values[0];
    mainLower_ = values[1];
    mainUpper_ = values[2];
    extendedUpper_ = values[3];
}

void EvaluationRange::getRange(double* extendedLower, double* mainLower, double* mainUpper,
                               double* extendedUpper) const {
    if (extendedLower) *extendedLower = extendedLower_;
    if (mainLower) *mainLower = mainLower_;
    if (mainUpper) *mainUpper = mainUpper_;
    if (extendedUpper) *extendedUpper = extendedUpper_;
}

bool EvaluationRange::isValid() const {
    const int regression = static_cast<int>(regressionType_);
    return regression >= 1 && regression <= 3 && extendedLower_ <= mainLower_ && mainLower_ < mainUpper_ &&
           mainUpper_ <= extendedUpper_;
}

bool EvaluationRange::loadXML(host::MSXMLWrapper* xml, host::XMLNode node) {
    return loadBase(xml, node);
}

bool EvaluationRange::loadBase(host::MSXMLWrapper* xml, host::XMLNode node) {
    if (!xml || !node) return false;
    bool result = xml->getAttributeValue(node, kNameAttribute, name_);
    std::string text;
    result =
        xml->getStringValue(kReferenceElement, text, node) && string_2_Reference(text, &reference_) && result;
    double mainLower = mainLower_;
    double mainUpper = mainUpper_;
    result = readDouble(*xml, kMainLower, mainLower, node) && result;
    result = readDouble(*xml, kMainUpper, mainUpper, node) && result;
    double extendedLower = mainLower;
    double extendedUpper = mainUpper;
    readDouble(*xml, kExtendedLower, extendedLower, node);
    readDouble(*xml, kExtendedUpper, extendedUpper, node);
    setRange(extendedLower, mainLower, mainUpper, extendedUpper);
    return result;
}

bool EvaluationRange::saveXML(host::MSXMLWrapper* xml, const std::string& parentPath,
                              host::XMLNode& node) const {
    return saveBase(xml, parentPath, node);
}

// The element is appended rather than replaced by name: two slots may hold ranges of one name.
bool EvaluationRange::saveBase(host::MSXMLWrapper* xml, const std::string& parentPath,
                               host::XMLNode& node) const {
    if (!xml) return false;
    const host::XMLNode parent = parentPath.empty() ? xml->getRootNode() : xml->createNode(parentPath);
    if (!parent) return false;
    node = xml->createNode(kRangeElement, parent, true);
    return node && writeElement(*xml, node);
}

bool EvaluationRange::writeElement(host::MSXMLWrapper& xml, host::XMLNode node) const {
    bool result = xml.addAttributeValue(node, kNameAttribute, name_);
    result =
        xml.addAttributeValue(node, kRegressionAttribute, regressionType_2_string(regressionType_)) && result;
    result = xml.setStringValue(kReferenceElement, Reference_2_string(reference_), node) && result;
    result = xml.setDoubleValue(kMainLower, mainLower_, node) && result;
    result = xml.setDoubleValue(kMainUpper, mainUpper_, node) && result;
    const auto writeOrRemove = [&](bool written, const char* path, double value) {
        if (written) return xml.setDoubleValue(path, value, node);
        return xml.deleteNodes(path, node);
    };
    result = writeOrRemove(std::fabs(mainLower_ - extendedLower_) > kExtendedTolerance, kExtendedLower,
                           extendedLower_) &&
             result;
    result = writeOrRemove(std::fabs(mainUpper_ - extendedUpper_) > kExtendedTolerance, kExtendedUpper,
                           extendedUpper_) &&
             result;
    double lower = 0.0;
    double upper = 0.0;
    const auto* parabola = dynamic_cast<const EvaluationRangeParabola*>(this);
    const bool asymmetric = parabola && parabola->getAsymmetricParabola(&lower, &upper);
    result = writeOrRemove(asymmetric, kParabolaLower, lower) && result;
    result = writeOrRemove(asymmetric, kParabolaUpper, upper) && result;
    for (const char* group : {kExtendedElement, kParabolaElement})
        host::deleteIfEmpty(xml.getNode(group, node));
    return result;
}

EvaluationRangeLine::EvaluationRangeLine(const std::string& name)
    : EvaluationRangeLine(name, RegressionType::Line) {}

EvaluationRangeLine::EvaluationRangeLine(const std::string& name, RegressionType regressionType)
    : EvaluationRange(name, Reference::Diameter, regressionType) {}

EvaluationRangeLine::EvaluationRangeLine(RegressionType regressionType)
    : EvaluationRange(regressionType) {}

EvaluationRangeLine::~EvaluationRangeLine() = default;

EvaluationRange* EvaluationRangeLine::createCopy() const {
    return new EvaluationRangeLine(*this);
}

bool EvaluationRangeLine::loadXML(host::MSXMLWrapper* xml, host::XMLNode node) {
    return loadBase(xml, node);
}

bool EvaluationRangeLine::saveXML(host::MSXMLWrapper* xml, const std::string& parentPath,
                                  host::XMLNode& node) const {
    return saveBase(xml, parentPath, node) && node;
}

bool EvaluationRangeLine::isValid() const {
    return EvaluationRange::isValid();
}

EvaluationRangeParabola::EvaluationRangeParabola(const std::string& name)
    : EvaluationRangeLine(name, RegressionType::Parabola) {}

EvaluationRangeParabola::EvaluationRangeParabola(const std::string& name, RegressionType regressionType)
    : EvaluationRangeLine(name, regressionType) {}

EvaluationRangeParabola::EvaluationRangeParabola(RegressionType regressionType)
    : EvaluationRangeLine(regressionType) {}

EvaluationRangeParabola::~EvaluationRangeParabola() = default;

EvaluationRange* EvaluationRangeParabola::createCopy() const {
    return new EvaluationRangeParabola(*this);
}

void EvaluationRangeParabola::setAsymmetricParabola(double lower, double upper) {
    asymmetricLower_ = lower;
    asymmetricUpper_ = upper;
    hasAsymmetricParabola_ = true;
}

bool EvaluationRangeParabola::getAsymmetricParabola(double* lower, double* upper) const {
    if (!hasAsymmetricParabola_) return false;
    if (lower) *lower = asymmetricLower_;
    if (upper) *upper = asymmetricUpper_;
    return true;
}

bool EvaluationRangeParabola::loadXML(host::MSXMLWrapper* xml, host::XMLNode node) {
    if (!loadBase(xml, node)) return false;
    hasAsymmetricParabola_ = false;
    double lower = 0.0;
    double upper = 0.0;
    if (!readDouble(*xml, kParabolaLower, lower, node)) return true;
    if (!readDouble(*xml, kParabolaUpper, upper, node)) return false;
    setAsymmetricParabola(lower, upper);
    return true;
}

// The line's element already holds the asymmetric parabola (see writeElement).
bool EvaluationRangeParabola::saveXML(host::MSXMLWrapper* xml, const std::string& parentPath,
                                      host::XMLNode& node) const {
    return EvaluationRangeLine::saveXML(xml, parentPath, node);
}

bool EvaluationRangeParabola::isValid() const {
    return EvaluationRangeLine::isValid() && (!hasAsymmetricParabola_ || asymmetricLower_ < asymmetricUpper_);
}

EvaluationRangeContinuousParabola::EvaluationRangeContinuousParabola(const std::string& name)
    : EvaluationRangeParabola(name, RegressionType::ContinuousParabola) {}

EvaluationRangeContinuousParabola::EvaluationRangeContinuousParabola()
    : EvaluationRangeParabola(RegressionType::ContinuousParabola) {}

EvaluationRangeContinuousParabola::~EvaluationRangeContinuousParabola() = default;

EvaluationRange* EvaluationRangeContinuousParabola::createCopy() const {
    return new EvaluationRangeContinuousParabola(*this);
}

bool EvaluationRangeContinuousParabola::loadXML(host::MSXMLWrapper* xml, host::XMLNode node) {
    return EvaluationRangeParabola::loadXML(xml, node);
}

bool EvaluationRangeContinuousParabola::saveXML(host::MSXMLWrapper* xml, const std::string& parentPath,
                                                host::XMLNode& node) const {
    return EvaluationRangeParabola::saveXML(xml, parentPath, node) && node;
}

bool EvaluationRangeContinuousParabola::isValid() const {
    return EvaluationRangeParabola::isValid();
}

bool isEvaluationRangeSlot(Measurement_Type type, RangeType rangeType, Reference reference) {
    const auto holds = [rangeType](std::span<const RangeType> ranges) {
        return std::ranges::find(ranges, rangeType) != ranges.end();
    };
    switch (type) {
    case Measurement_Type::Profile:
    case Measurement_Type::TopographyProfile:
        return isProfileReference(reference) && holds(profileRangeTypes());
    case Measurement_Type::Lead:
    case Measurement_Type::TopographyLead:
        return isLeadReference(reference) && holds(leadRangeTypes());
    case Measurement_Type::Pitch:
    case Measurement_Type::RootCircle:
    case Measurement_Type::TipCircle:
    case Measurement_Type::RoughnessProfile:
    case Measurement_Type::RoughnessLead:
    case Measurement_Type::RootScan:
    case Measurement_Type::FeedMark:
    case Measurement_Type::CReference:
        return false;
    }
    return false;
}

EvaluationRange* createEvaluationRange(const std::string& regression, const std::string& name) {
    RegressionType type{};
    if (!string_2_regressionType(regression, &type)) return nullptr;
    switch (type) {
    case RegressionType::Line:
        return new EvaluationRangeLine(name);
    case RegressionType::Parabola:
        return new EvaluationRangeParabola(name);
    case RegressionType::ContinuousParabola:
        return new EvaluationRangeContinuousParabola(name);
    }
    return nullptr;
}

} // namespace kest::gear
