#pragma once

#include <kest/gear/addendum_modification_variant.h>
#include <kest/gear/host/export.h>
#include <kest/gear/unset_value.h>

#include <cstdint>
#include <map>
#include <string>

namespace kest::host {
class MSXMLWrapper;
}

namespace kest::gear {

enum class Side : std::int32_t;

// Nominal geometry of an involute cylindrical gear, spur or helical, external (z > 0) or internal (z < 0).
// Lengths in mm, angles in radians (degrees in the gear file). Every calculation reads a geometry only
// through its virtual getters, so that derived geometries supply their own per-side values; in this class the
// side is ignored. A getter whose input is unset returns unsetValue.
class GEARRECORDS_API CylindricalGearGeometry {
public:
    enum class FlankDirection : std::int32_t { Straight = 0, Left = 1, Right = 2 };
    enum class ModuleVariant : std::int32_t {
        Normal = 0,
        Transverse = 1,
        DiametralPitchNormal = 2,     // 10 / mn
        DiametralPitchTransverse = 3, // 10 / mt
    };
    // The values that can carry a user string.
    enum class ValueType : std::int32_t {
        NumberOfTeeth = 0,
        FaceWidth = 1,
        NormalModule = 2,
        HelixAngle = 3,
        NormalPressureAngle = 4,
        AddendumModification = 5,
        TipDiameter = 6,
        RootDiameter = 7,
        BallDiameter = 8,
    };

    // Not initialized: isValid reports "gear not initialized".
    CylindricalGearGeometry();
    // `module` is given in `moduleVariant` and `addendumModification` in `addmodVariant`; both are converted
    // to the normal module and the coefficient x. Throws "Unknown AddendumModificationVariant" when x cannot
    // be derived in that variant.
    CylindricalGearGeometry(int z, double b, double module, double betaRad, double alphaNRad,
                            double addendumModification, double dA, double dF, FlankDirection flankDirection,
                            ModuleVariant moduleVariant, AddendumModificationVariant addmodVariant,
                            double dM);
    // Reads `other` through its virtual getters for the left flank: a derived geometry keeps its left values.
    CylindricalGearGeometry(const CylindricalGearGeometry& other);
    CylindricalGearGeometry& operator=(const CylindricalGearGeometry&) = delete;
    virtual ~CylindricalGearGeometry();

    static const char* isKindOf() noexcept { return "cylindrical gear"; }
    virtual const char* getKindOf() const noexcept;
    // With exact false a derived geometry also answers to the kinds of its bases.
    virtual bool testKindOf(const char* kind, bool exact) const;

    // Read and write element "geometry" below the node at `path` (the document element when empty).
    virtual bool loadXML(host::MSXMLWrapper* xml, const std::string& path);
    virtual bool saveXML(host::MSXMLWrapper* xml, const std::string& path) const;

    virtual double getD(Side side, bool isSigned) const;  // reference diameter
    virtual double getDB(Side side, bool isSigned) const; // base diameter
    virtual double getDV(Side side, bool isSigned) const; // V-circle diameter d + 2 x mn
    virtual double getBetaDeg(Side side, bool isSigned) const;
    virtual double getAlphaNDeg(Side side) const;
    virtual double getXValue(Side side) const; // x * mn
    virtual double getLAE(Side side) const;
    virtual double getNominalFlankOffsetAngle() const;
    virtual int getZ() const;
    virtual double getB() const;
    virtual double getMN(Side side) const;
    virtual double getM(Side side, ModuleVariant variant) const;
    // unsigned: the magnitude; signed: negative for a left-hand helix
    virtual double getBetaRad(Side side, bool isSigned) const;
    virtual double getAlphaNRad(Side side) const;
    virtual double getX(Side side) const;
    virtual double getDA() const;
    virtual double getDF() const;
    virtual double getDM() const;
    virtual AddendumModificationVariantClass getAddendumModificationVariant() const;
    virtual FlankDirection getFlankDirection(Side side) const;
    // The first failed check writes its reason (with the kind in parentheses) to `reason`, when given.
    virtual bool isValid(std::string* reason = nullptr) const;
    // Equal tooth count and hand, the other values within the similarity epsilon, and both valid.
    virtual bool isSimilar(const CylindricalGearGeometry& other) const;

    ModuleVariant getModuleVariant() const noexcept { return moduleVariant_; }
    bool isInternalGear() const noexcept { return z_ < 0; }
    bool isExternalGear() const noexcept { return z_ > 0; }
    // The addendum modification expressed in `variant` (at axial position `zpos` for the ball dimensions).
    // Throws "Unknown AddendumModificationVariant" for a variant it cannot give.
    double getAddendumModification(Side side, AddendumModificationVariant variant, double zpos) const;
    // Nominal value of the feature with the short name `feature` (case-sensitive): "MdK" and "MrK" (a1 the
    // ball diameter, a2 the axial position), "MdR" and "MrR" (a1 the pin diameter), "syt", "syn", "eyt",
    // "eyn" (a1 the diameter, a2 the axial position), the tooth thicknesses "st", "Sv", "sn", "sbt", "sbn",
    // "svt", "svn", the space widths "et", "en", "ebt", "ebn", "evt", "evn", "Ev", the tip and root diameters
    // "da", "df", and 0 for the g- and a-prefixed deviation names. Throws "demand nominal value of feature %s
    // is not yet implemented" for any other name; a failing calculation throws its message text.
    double getNominalFeatureValue(const std::string& feature, double a1, double a2) const;
    // Ball diameter for the dimension over balls after DIN 3960 (coefficient x; unset: the side's own).
    // returns unset when z is 0 or an input is unset.
    double getDINBallDiameter(Side side, double x) const;

    double getSimilarityEpsilon() const noexcept { return similarityEpsilon_; }
    void setSimilarityEpsilon(double epsilon) noexcept { similarityEpsilon_ = epsilon; }

    // Stores `text` under the value's key; a null text is ignored.
    void setUserString(ValueType value, const char* text);
    // returns "" when no text is stored for the value
    std::string getUserString(ValueType value) const;
    // The key of a value's user string; for the helix angle it names the current flank direction.
    std::string get_user_string_key(ValueType value) const;

    // "straight", "left", "right"; "wrong slope" for any other value
    static std::string FlankDirection_2_string(FlankDirection direction);
    // the gear file's keyword of the variant; throws "illegal module variant" for a value outside the table
    static std::string ModuleVariantToString(ModuleVariant variant);

protected:
    virtual bool isValidSide(Side side, std::string* reason) const;

    // "left" and "right"; every other text is straight
    static FlankDirection string_2_FlankDirection(const std::string& text);
    // returns Normal, with a level-3 trace, for a text outside the table
    static ModuleVariant StringToModuleVariant(const std::string& text);

    // Fills x from a value given in the current addendum-modification variant.
    void calcX(double value);
    // Writes `message` followed by " (<kind>)" to `reason`, when given.
    void setErrorReason(std::string* reason, const std::string& message) const;

    bool saveUserString(host::MSXMLWrapper* xml, ValueType value) const;
    bool loadUserString(host::MSXMLWrapper* xml, const std::string& key);
    // The user string stored under `key`, written to or read from the element at `elementPath` (from the
    // document element) for values whose element is not "geometry/<key>". The load returns false when the
    // element is missing; the save returns true when no text is stored.
    bool saveUserString(host::MSXMLWrapper* xml, const std::string& key,
                        const std::string& elementPath) const;
    bool loadUserString(host::MSXMLWrapper* xml, const std::string& key, const std::string& elementPath);

    // The normal module of a module value given in `variant`, as the full constructor converts it; unset when
    // the value, or for a transverse variant the helix angle, is unset.
    static double normalModuleOf(double value, double betaRad, ModuleVariant variant);
    // getBetaRad of a stored helix angle and its hand.
    static double helixAngleOf(double betaRad, FlankDirection direction, bool isSigned);
    // getD and getDB of a side, with the spur-gear branch chosen by the caller.
    double referenceDiameter(Side side, bool straight, bool isSigned) const;
    double baseDiameter(Side side, bool straight, bool isSigned) const;

    int z_ = 0;
    double b_ = unsetValue;
    double mn_ = unsetValue;
    ModuleVariant moduleVariant_ = ModuleVariant::Normal;
    double beta_ = unsetValue;
    FlankDirection flankDirection_ = FlankDirection::Straight;
    double alphaN_ = unsetValue;
    double x_ = unsetValue;
    double dA_ = unsetValue;
    double dF_ = unsetValue;
    double dM_ = unsetValue;
    AddendumModificationVariantClass addmodVariant_;
    std::map<std::string, std::string> userStrings_;
    bool initialized_ = false;
    double similarityEpsilon_ = 1e-5;
};

} // namespace kest::gear
