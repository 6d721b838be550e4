#pragma once

#include <kest/gear/asymmetrical_gear_geometry.h>
#include <kest/gear/host/export.h>

#include <cstdint>
#include <string>

namespace kest::gear {

// A beveloid (conical involute) gear: its profile shift changes linearly along the face width, so that the
// teeth are cut on a cone of cone angle delta. Seen from one flank it acts like a cylindrical gear with a
// helix and pressure angle of its own; the geometry keeps the reference values of the cone (cone angle,
// reference helix angle with its hand, reference normal pressure angle of each flank) and derives those
// effective per-flank values from them. The reference values are kept in degrees, as the gear file holds
// them.
class GEARRECORDS_API BeveloidGearGeometry : public AsymmetricalGearGeometry {
public:
    // The reference values that can carry a user string.
    enum class ValueType : std::int32_t {
        ConeAngle = 0,
        ReferenceHelixAngle = 1,
        LeftReferencePressureAngle = 2,
        RightReferencePressureAngle = 3,
    };

    // Not initialized: isValid reports "gear not initialized".
    BeveloidGearGeometry();
    // The flanks as given by `flanks`; the reference values in degrees, the helix angle signed (negative for
    // a left hand). A conically corrected gear gets the tolerance 0.05.
    BeveloidGearGeometry(const AsymmetricalGearGeometry& flanks, double deltaDeg, double betaRefDeg,
                         double leftAlphaNRefDeg, double rightAlphaNRefDeg, bool conicalCorrected);
    BeveloidGearGeometry(const BeveloidGearGeometry& other);
    BeveloidGearGeometry& operator=(const BeveloidGearGeometry&) = delete;
    ~BeveloidGearGeometry() override;

    static const char* isKindOf() noexcept { return "beveloid gear"; }
    const char* getKindOf() const noexcept override;
    // With exact false it also answers to "asymmetrical gear" and "cylindrical gear".
    bool testKindOf(const char* kind, bool exact) const override;

    // returns false when the file has no "beveloid" element with its "reference"
    bool loadXML(host::MSXMLWrapper* xml, const std::string& path) override;
    bool saveXML(host::MSXMLWrapper* xml, const std::string& path) const override;

    // d = z mn / cos(beta_ref) with the side's normal module; db = d cos(alpha_t) with the effective
    // transverse pressure angle of the side.
    double getD(Side side, bool isSigned) const override;
    double getDB(Side side, bool isSigned) const override;

    bool isValid(std::string* reason = nullptr) const override;
    // The asymmetrical comparison and the reference values within the similarity epsilon.
    bool isSimilar(const CylindricalGearGeometry& other) const override;

    // The reference values; each returns unset when it is unset, in degrees unless `rad`.
    virtual double getDelta_Ref(bool rad) const;
    // The cone angle that the effective helix angles of both flanks call for (the control equation).
    virtual double getDelta_Calc(bool rad) const;
    // unsigned: the magnitude
    virtual double getBeta_Ref(bool isSigned, bool rad) const;
    // straight for a zero or unset reference helix angle
    virtual FlankDirection getBeta_Ref_direction() const;
    // The effective values of a flank; unset for a side other than Left and Right, or an unset input.
    virtual double getBeta_Calc(Side side, bool isSigned, bool rad) const;
    virtual double getBetaB_Calc(Side side, bool isSigned, bool rad) const;
    // unset for a side other than Left and Right
    virtual double getAlphaN_Ref(Side side, bool rad) const;
    virtual double getAlphaN_Calc(Side side, bool rad) const;
    virtual double getAlphaT_Calc(Side side, bool rad) const;
    virtual double getMN_Calc(Side side) const;
    // false unless the gear is conically corrected with a tolerance in (0, 1]
    virtual bool isInConicalCorrectedTolerance() const;
    // returns false, keeping the old tolerance, outside (0, 1]
    virtual bool setConcialCorrectedTolerance(double tolerance);
    virtual double getConcialCorrectedTolerance() const;

    bool isConicalCorrected() const noexcept { return conicalCorrected_; }
    // Writes the effective values of both flanks (normal module, helix angle with its hand, normal pressure
    // angle) into the flanks. The normal modules are derived from the stored ones, so a second call changes
    // them again.
    void calcAsymParametersFromBeveloid();

    using AsymmetricalGearGeometry::get_user_string_key;
    using AsymmetricalGearGeometry::getUserString;
    using AsymmetricalGearGeometry::setUserString;
    // Stores `text` under the value's key; a null text is ignored.
    void setUserString(ValueType value, const char* text);
    // returns "" when no text is stored for the value
    std::string getUserString(ValueType value) const;
    // The reference helix angle's key names the reference hand.
    std::string get_user_string_key(ValueType value) const;

protected:
    double delta_ = unsetValue;          // degrees
    double betaRef_ = unsetValue;        // degrees, negative for a left hand
    double leftAlphaNRef_ = unsetValue;  // degrees
    double rightAlphaNRef_ = unsetValue; // degrees
    bool beveloidInitialized_ = false;
    bool conicalCorrected_ = false;
    double conicalCorrectedTolerance_ = unsetValue;
};

} // namespace kest::gear
