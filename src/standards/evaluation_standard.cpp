#include <kest/gear/evaluation_standard.h>
#include <kest/gear/host/msxml_wrapper.h>

#include "host/child_sync.h"
#include "record/gear_file_xml.h"
#include "record/library_callbacks.h"

#include <algorithm>
#include <cstring>

namespace kest::gear {
namespace {

using namespace gear_file_xml;

constexpr const char* kUnknownWithClass =
    "unknown standard with set standard class (standard class must be set to unknown)";
constexpr const char* kUnknownWithSubquality =
    "unknown standard with non-empty sub-quality (sub-quality must be empty)";
constexpr const char* kNoQualityWithClass = "standard does not support quality but standard class was given";
constexpr const char* kNoQualityWithSubquality = "standard without quality does not support sub-quality";
constexpr const char* kNoSubquality = "standard does not support sub-quality";
constexpr const char* kSubqualityMissing = "standard must have sub-quality";
constexpr const char* kUnknownSubquality = "standard with unknown sub-quality";
constexpr const char* kClassNotSet = "standard class was not set";
constexpr const char* kCustomToleranceWarning = "warning: custom tolerance not set at this moment";
constexpr const char* kNoInfoFunctionWarning = "warning: f_ptr is a null pointer";
constexpr const char* kNoClassLimits = "couldn't get minimum/maximum standard class for given standard";
constexpr const char* kClassBelowMinimum = "given standard class smaller than allowed minimum";
constexpr const char* kClassAboveMaximum = "given standard class larger than allowed maximum";

bool fail(std::string& message, const char* text) {
    message = text;
    return false;
}

bool isKnownStandard(const std::string& standardName) {
    return StandardName_2_ConstantValue(standardName) != -1;
}

// The class against the limits the host program gives for the standard.
bool checkClassRange(const std::string& standardName, StandardClass standardClass, std::string& message) {
    if (standardClass == StandardClass::Unknown) return fail(message, kClassNotSet);
    if (hasCustomToleranceTable(standardName)) {
        message = kCustomToleranceWarning;
        return true;
    }
    const GetInfoStandardFunction info = registeredInfoStandardFunction();
    if (info == nullptr) {
        message = kNoInfoFunctionWarning;
        return true;
    }
    StandardClass first = StandardClass::Unknown;
    StandardClass second = StandardClass::Unknown;
    if (!info(standardName, first, second)) return fail(message, kNoClassLimits);
    const long a = StandardClass_2_int(first);
    const long b = StandardClass_2_int(second);
    const long value = StandardClass_2_int(standardClass);
    if (value < std::min(a, b)) return fail(message, kClassBelowMinimum);
    if (value > std::max(a, b)) return fail(message, kClassAboveMaximum);
    return true;
}

} // namespace

EvaluationStandard::EvaluationStandard()
    : standardName_(unknown_standard()) {}

EvaluationStandard::EvaluationStandard(const std::string& standardName, StandardClass standardClass)
    : standardName_(standardName)
    , standardClass_(standardClass) {}

EvaluationStandard::EvaluationStandard(const std::string& standardName, const std::string& classText)
    : standardName_(standardName) {
    string_2_StandardClass(classText, standardName, &standardClass_);
}

EvaluationStandard::~EvaluationStandard() = default;

const std::string& EvaluationStandard::unknown_class() {
    static const std::string text = "unknown class";
    return text;
}

const std::string& EvaluationStandard::unknown_standard() {
    static const std::string text = "unknown standard";
    return text;
}

long EvaluationStandard::standard_2_constant_value() const {
    return StandardName_2_ConstantValue(standardName_);
}

std::string EvaluationStandard::grade_2_string() const {
    return StandardClass_2_string(standardName_, standardClass_);
}

std::string EvaluationStandard::getSubquality(const std::string& feature) const {
    const auto it = subqualities_.find(feature);
    return it != subqualities_.end() ? it->second : std::string();
}

bool EvaluationStandard::addSubquality(const std::string& feature, const std::string& subquality) {
    if (!hasSubquality(standardName_) || feature.empty() || subquality.empty()) return false;
    const auto allowed = getAllFeaturesSubqualities(standardName_);
    const auto letters = allowed.find(feature);
    if (letters == allowed.end() || !letters->second.contains(subquality)) return false;
    subqualities_.emplace(feature, subquality);
    return true;
}

bool EvaluationStandard::removeSubquality(const std::string& feature) {
    return !feature.empty() && subqualities_.erase(feature) > 0;
}

unsigned int EvaluationStandard::removeAllSubqualities() {
    const auto count = static_cast<unsigned int>(subqualities_.size());
    subqualities_.clear();
    return count;
}

bool EvaluationStandard::isValid(std::string& message) const {
    return isValid(standardName_, standardClass_, subqualities_, message);
}

bool EvaluationStandard::isValid(const std::string& standardName, StandardClass standardClass,
                                 const Subqualities& subqualities, std::string& message) {
    message.clear();
    if (standardName == unknown_standard()) {
        if (standardClass != StandardClass::Unknown) return fail(message, kUnknownWithClass);
        if (!subqualities.empty()) return fail(message, kUnknownWithSubquality);
        return true;
    }
    if (isKnownStandard(standardName)) {
        if (!hasQuality(standardName)) {
            if (standardClass != StandardClass::Unknown) return fail(message, kNoQualityWithClass);
            if (!subqualities.empty()) return fail(message, kNoQualityWithSubquality);
            return true;
        }
        if (!hasSubquality(standardName)) {
            if (!subqualities.empty()) return fail(message, kNoSubquality);
        } else {
            if (subqualities.empty()) return fail(message, kSubqualityMissing);
            for (const auto& [feature, letter] : subqualities)
                if (!isSubqualityAllowed(letter, standardName)) return fail(message, kUnknownSubquality);
        }
    }
    return checkClassRange(standardName, standardClass, message);
}

// The attributes are written into the element as it is; the sub-qualities go into the existing elements of
// their letter, so that what the library does not know stays.
bool EvaluationStandard::saveXML(host::MSXMLWrapper* xml, EvaluationFitType fitType) const {
    if (xml == nullptr) return false;
    // a class whose text names another one for this standard (or none) would read back as that
    StandardClass written = StandardClass::Unknown;
    string_2_StandardClass(grade_2_string(), standardName_, &written);
    if (written != standardClass_) return false;
    host::XMLNode node = xml->getNode(kEvaluationElement);
    const bool unknown =
        standardName_ == unknown_standard() && fitType == EvaluationFitType::None && subqualities_.empty();
    if (!node) {
        if (standardName_ == unknown_standard()) return true;
        node = xml->createNode(kEvaluationElement);
    } else if (std::string name; unknown && !xml->getAttributeValue(node, kStandardAttribute, name)) {
        // The element was written for other sections alone, and reads back as this record: nothing to add.
        return true;
    }
    bool result = xml->addAttributeValue(node, kStandardAttribute, standardName_);
    result = xml->addAttributeValue(node, kQualityAttribute, grade_2_string()) && result;
    if (fitType != EvaluationFitType::None)
        result =
            xml->addAttributeValue(node, kFitTypeAttribute, EvaluationFitType_2_string(fitType)) && result;
    else
        xml->removeAttributeValue(node, kFitTypeAttribute);
    host::ChildSync elements(
        node, [](host::XMLNode child) { return std::strcmp(child.name(), kSubqualityElement) == 0; },
        {kQualityAttribute});
    for (const auto& [feature, letter] : subqualities_) {
        const host::XMLNode element = elements.take(kSubqualityElement, {letter});
        result = xml->addAttributeValue(element, kQualityAttribute, letter) && result;
        result = xml->setStringValue("", feature, element) && result;
    }
    return result;
}

bool EvaluationStandard::loadXML(host::MSXMLWrapper* xml, EvaluationFitType* fitType) {
    if (xml == nullptr) return false;
    const host::XMLNode node = xml->getNode(kEvaluationElement);
    if (!node) return true;
    // The element is also written for ranges, features or K-charts alone; it then names no standard.
    if (!xml->getAttributeValue(node, kStandardAttribute, standardName_)) standardName_ = unknown_standard();
    std::string classText;
    xml->getAttributeValue(node, kQualityAttribute, classText);
    string_2_StandardClass(classText, standardName_, &standardClass_);
    if (fitType != nullptr) {
        std::string fitText;
        if (!xml->getAttributeValue(node, kFitTypeAttribute, fitText))
            *fitType = EvaluationFitType::None;
        else if (!string_2_EvaluationFitType(fitText, fitType))
            return false;
    }
    subqualities_.clear();
    const auto allowed = getAllFeaturesSubqualities(standardName_);
    bool result = true;
    for (const host::XMLNode child : xml->getNodes(kSubqualityElement, node)) {
        std::string letter, feature;
        result = xml->getAttributeValue(child, kQualityAttribute, letter) && result;
        result = xml->getStringValue("", feature, child) && result;
        const auto letters = allowed.find(feature);
        if (letters == allowed.end() || !letters->second.contains(letter)) return false;
        result = addSubquality(feature, letter) && result;
    }
    return result;
}

} // namespace kest::gear
