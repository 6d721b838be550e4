#pragma once

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/host/export.h>

#include <cstdint>
#include <string>

namespace kest::gear {

enum class Reference : std::int32_t;

// An involute cylindrical gear whose two flanks may differ: the right flank has its own normal module, helix
// angle and hand, normal pressure angle and addendum modification, while the number of teeth, face width,
// tip, root and ball diameters are shared. The base class holds the shared values and the left flank.
//
// An optional asymmetry definition places the right flank relative to the left one by a measured value (a
// dimension over balls or a tooth thickness at an axial position); from it follows the nominal flank offset
// angle that every flank-angle calculation adds.
class GEARRECORDS_API AsymmetricalGearGeometry : public CylindricalGearGeometry {
public:
    enum class AsymmetryVariant : std::int32_t {
        None = 0, // flank offset angle 0
        MdK = 1,  // diametral dimension over balls
        MrK = 2,  // radial dimension over a ball
        Syt = 3,  // transverse tooth thickness on the measuring diameter
    };
    // The right-flank values that can carry a user string.
    enum class ValueType : std::int32_t {
        RightNormalModule = 0,
        RightHelixAngle = 1,
        RightNormalPressureAngle = 2,
        RightAddendumModification = 3,
    };

    // Right flank not set: isValid reports "gear not initialized".
    AsymmetricalGearGeometry();
    // The left flank and the shared values are copied from `left`; the right values are converted as the
    // base constructor converts the left ones (module variant; addendum modification given as x mn or as
    // the coefficient, any other form is taken as the coefficient). No asymmetry is defined.
    AsymmetricalGearGeometry(const CylindricalGearGeometry& left, double rightModule, double rightBetaRad,
                             double rightAlphaNRad, double rightAddendumModification,
                             FlankDirection rightFlankDirection, ModuleVariant rightModuleVariant,
                             AddendumModificationVariant rightAddmodVariant);
    // Both flanks in full, without a ball diameter.
    AsymmetricalGearGeometry(int z, double b, double module, double betaRad, double alphaNRad,
                             double addendumModification, double dA, double dF, FlankDirection flankDirection,
                             ModuleVariant moduleVariant, AddendumModificationVariant addmodVariant,
                             double rightModule, double rightBetaRad, double rightAlphaNRad,
                             double rightAddendumModification, FlankDirection rightFlankDirection,
                             ModuleVariant rightModuleVariant,
                             AddendumModificationVariant rightAddmodVariant);
    AsymmetricalGearGeometry(const AsymmetricalGearGeometry& other);
    AsymmetricalGearGeometry& operator=(const AsymmetricalGearGeometry&) = delete;
    ~AsymmetricalGearGeometry() override;

    static const char* isKindOf() noexcept { return "asymmetrical gear"; }
    const char* getKindOf() const noexcept override;
    // With exact false it also answers to "cylindrical gear".
    bool testKindOf(const char* kind, bool exact) const override;

    bool loadXML(host::MSXMLWrapper* xml, const std::string& path) override;
    // returns false, after writing the flanks, when the asymmetry definition is not valid
    bool saveXML(host::MSXMLWrapper* xml, const std::string& path) const override;

    // The per-side values: the left flank for Left, the right flank for any other side.
    double getD(Side side, bool isSigned) const override;
    double getDB(Side side, bool isSigned) const override;
    double getMN(Side side) const override;
    double getBetaRad(Side side, bool isSigned) const override;
    double getAlphaNRad(Side side) const override;
    double getX(Side side) const override;
    FlankDirection getFlankDirection(Side side) const override;
    // 0 without an asymmetry definition; throws the message of a failed search as a C string
    double getNominalFlankOffsetAngle() const override;

    bool isValid(std::string* reason = nullptr) const override;
    // The base comparison, the right flank within the similarity epsilon and the same flank offset angle.
    bool isSimilar(const CylindricalGearGeometry& other) const override;

    ModuleVariant getRightModuleVariant() const noexcept { return rightModuleVariant_; }

    // `parameter` is the ball diameter for MdK and MrK, the measuring diameter for Syt, unset otherwise.
    // returns false, filling nothing, when a pointer is null.
    bool getAsymmetryVariant(AsymmetryVariant* variant, double* value, double* height, Reference* reference,
                             double* parameter) const;
    // Stores the definition; returns whether it is valid.
    bool setAsymmetryVariant(AsymmetryVariant variant, double value, double height, Reference reference,
                             double parameter);
    // "asym_none" for a value outside the table
    std::string getAsymmetryVariantString() const;
    // returns false, leaving the variant alone, for a text outside the table
    bool setAsymmetryVariantString(const std::string& text);

    using CylindricalGearGeometry::get_user_string_key;
    using CylindricalGearGeometry::getUserString;
    using CylindricalGearGeometry::setUserString;
    // Stores `text` under the value's key; a null text is ignored.
    void setUserString(ValueType value, const char* text);
    // returns "" when no text is stored for the value
    std::string getUserString(ValueType value) const;
    // The helix angle's key names the current right flank direction.
    std::string get_user_string_key(ValueType value) const;

protected:
    // The checks of the asymmetry definition; the reason as isValid writes it.
    bool validAsymmetryVariant(std::string* reason) const;

    double rightMn_ = unsetValue;
    ModuleVariant rightModuleVariant_ = ModuleVariant::Normal;
    double rightBeta_ = unsetValue; // magnitude; the hand is the right flank direction
    double rightAlphaN_ = unsetValue;
    double rightX_ = unsetValue;
    FlankDirection rightFlankDirection_ = FlankDirection::Straight;
    AsymmetryVariant asymmetryVariant_ = AsymmetryVariant::None;
    double asymmetryValue_ = unsetValue;
    double asymmetryBallDiameter_ = unsetValue;
    double asymmetryHeight_ = unsetValue;
    Reference heightReference_ = static_cast<Reference>(-1); // none
    double asymmetryMeasuringDiameter_ = unsetValue;
    bool rightSideSet_ = false;
};

} // namespace kest::gear
