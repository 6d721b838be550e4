#pragma once

// The tolerance standards a gear is evaluated against: their names in every form, the quality classes with
// their texts, the sub-qualities (tolerance-field letters) some standards take per feature, and the record
// of the standard a gear uses, stored as attributes of the gear file's element "evaluation".

#include <kest/gear/host/export.h>
#include <kest/gear/process_types.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace kest::host {
class MSXMLWrapper;
}

namespace kest::gear {

// The quality classes 0 to 16 in increasing order, and 17 for a class that is not set.
enum class StandardClass : std::int32_t {
    Class0 = 0,
    Class1 = 1,
    Class2 = 2,
    Class3 = 3,
    Class4 = 4,
    Class5 = 5,
    Class6 = 6,
    Class7 = 7,
    Class8 = 8,
    Class9 = 9,
    Class10 = 10,
    Class11 = 11,
    Class12 = 12,
    Class13 = 13,
    Class14 = 14,
    Class15 = 15,
    Class16 = 16,
    Unknown = 17,
};

// A standard is named everywhere by its internal name ("DIN_3962", "AGMA_2000_A88", ...); the library knows
// eighteen. "unknown standard" stands for no standard; any other name is an unknown name, which the record
// keeps and the conversions treat as each says.

// Whether the standard has quality classes, sub-qualities, process, post-process or fit types, or a custom
// tolerance table; false for every name that is not among the eighteen.
GEARRECORDS_API bool hasQuality(const std::string& standardName);
GEARRECORDS_API bool hasSubquality(const std::string& standardName);
GEARRECORDS_API bool hasProcessType(const std::string& standardName);
GEARRECORDS_API bool hasPostProcessType(const std::string& standardName);
GEARRECORDS_API bool hasFitType(const std::string& standardName);
GEARRECORDS_API bool hasCustomToleranceTable(const std::string& standardName);

// returns -1 for a name not among the eighteen, "unknown standard" included
GEARRECORDS_API long StandardName_2_ConstantValue(const std::string& standardName);
// returns "unknown standard" for a constant without a standard
GEARRECORDS_API std::string constantValue_2_StandardName(long constant);
// The dated designation shown to users; "unknown standard" for a standard without one.
GEARRECORDS_API std::string StandardName_2_InvoluteString(const std::string& standardName);
// returns "unknown standard" for a text that is no designation
GEARRECORDS_API std::string InvoluteString_2_StandardName(const std::string& text);
// The name the suite's tolerance-table files use: a name that is no standard comes back unchanged, a standard
// without a table name gives "unknown standard".
GEARRECORDS_API std::string StandardName_2_KestTableString(const std::string& standardName);
// returns the text unchanged when it is no table name
GEARRECORDS_API std::string KestTableString_2_StandardName(const std::string& text);
// The icon a user interface shows for the standard; the unknown standard's icon for any other name.
GEARRECORDS_API std::string StandardName_2_IconResource(const std::string& standardName);

// The constant name of a sub-quality letter, the same whatever the standard; "" for a letter without one.
GEARRECORDS_API std::string Subquality_2_ConstantName(const std::string& subquality);
// returns "" for a text that is no constant name
GEARRECORDS_API std::string ConstantName_2_Subquality(const std::string& constantName);
// false for a standard without sub-qualities
GEARRECORDS_API bool isSubqualityAllowed(const std::string& subquality, const std::string& standardName);
// The feature the standard grades with a sub-quality and the letters allowed for it; empty for a standard
// without sub-qualities.
GEARRECORDS_API std::map<std::string, std::set<std::string>>
getAllFeaturesSubqualities(const std::string& standardName);

// Finds the longest standard name written loosely in `text` ("din 3962", "ISO 4156-1 (2005)"). returns
// false, with *out "unknown standard", for an empty text or one that names no standard; false for a null out.
GEARRECORDS_API bool fuzzy_string_2_StandardName(const std::string& text, std::string* out);

// returns -1 for the class not set
GEARRECORDS_API long StandardClass_2_int(StandardClass standardClass);
// returns the class not set for a number outside 0 to 16
GEARRECORDS_API StandardClass int_2_StandardClass(long value);
// The class text: the grade prefix of the standard and the number ("Q10", "5"), "CAT" for "CAT_1E2028", the
// bare number for a name that is no standard, "unknown class" for the class not set, the unknown standard and
// a standard without quality.
GEARRECORDS_API std::string StandardClass_2_string(const std::string& standardName,
                                                   StandardClass standardClass);
// Reads a class text of the standard. "unknown class" reads as the class not set. returns false, with *out
// the class not set, for an empty text or one that is no class text of the standard; false for a null out.
GEARRECORDS_API bool string_2_StandardClass(const std::string& text, const std::string& standardName,
                                            StandardClass* out);

// The standard a gear is evaluated against, its quality class and its sub-quality letter per feature.
class GEARRECORDS_API EvaluationStandard {
public:
    using Subqualities = std::map<std::string, std::string>; // feature name -> letter

    EvaluationStandard();
    EvaluationStandard(const std::string& standardName, StandardClass standardClass);
    // The class is read from its text with string_2_StandardClass; a text that does not read leaves the class
    // not set.
    EvaluationStandard(const std::string& standardName, const std::string& classText);
    EvaluationStandard(const EvaluationStandard&) = default;
    EvaluationStandard(EvaluationStandard&&) noexcept = default;
    EvaluationStandard& operator=(const EvaluationStandard&) = default;
    EvaluationStandard& operator=(EvaluationStandard&&) noexcept = default;
    virtual ~EvaluationStandard();

    // Reads the attributes "standard", "quality" and "fitType" and the "subquality" children of the element
    // "evaluation". true, nothing changed, when the element is missing. An element without "standard" reads
    // as the unknown standard. false for a fit type or a sub-quality the standard does not know (the
    // sub-qualities read before it stay). `fitType` may be null.
    virtual bool loadXML(host::MSXMLWrapper* xml, EvaluationFitType* fitType);
    // Writes the standard, its class text, the fit type (when not none) and the sub-qualities into the
    // element "evaluation". Writes nothing and returns true when the element is missing and the standard
    // unknown.
    virtual bool saveXML(host::MSXMLWrapper* xml, EvaluationFitType fitType) const;
    // The static check on the record's own fields.
    virtual bool isValid(std::string& message) const;

    // Checks the class and the sub-qualities against the standard. `message` is cleared, then receives the
    // reason of a failure, or a warning when the class could not be checked against the limits of the
    // standard-information callback (the result is then true).
    static bool isValid(const std::string& standardName, StandardClass standardClass,
                        const Subqualities& subqualities, std::string& message);

    const std::string& getStandardName() const noexcept { return standardName_; }
    void setStandardName(const std::string& standardName) { standardName_ = standardName; }
    StandardClass getStandardClass() const noexcept { return standardClass_; }
    void setStandardClass(StandardClass standardClass) noexcept { standardClass_ = standardClass; }
    long standard_2_constant_value() const;
    std::string grade_2_string() const;

    Subqualities getAllSubqualities() const { return subqualities_; }
    // returns "" for a feature without a sub-quality
    std::string getSubquality(const std::string& feature) const;
    // false unless the standard takes this letter for this feature. A feature that has a letter keeps it (and
    // the result is true): replacing takes removeSubquality first.
    bool addSubquality(const std::string& feature, const std::string& subquality);
    // false for an empty feature or one without a sub-quality
    bool removeSubquality(const std::string& feature);
    // returns how many entries there were
    unsigned int removeAllSubqualities();

    static const std::string& unknown_class();
    static const std::string& unknown_standard();

    bool operator==(const EvaluationStandard&) const = default;

private:
    std::string standardName_;
    StandardClass standardClass_ = StandardClass::Unknown;
    Subqualities subqualities_;
};

} // namespace kest::gear
