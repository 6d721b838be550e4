#pragma once

// Conversions of a flank position between the scales in which it can be given. Along the profile: roll path
// (mm), roll angle (degrees), diameter, percent of the roll path up to the larger of tip and root diameter,
// and the diameter relative to the V-circle or the reference circle. Along the face width: a length or a
// percent, counted from the datum face or from the non-datum face. The geometry is read only through its
// virtual getters (db, d, dV of the side; dA, dF, b), so a derived geometry supplies its own per-side values.
//
// The pairwise conversions check nothing: a zero base diameter or face width gives an infinite or NaN result,
// and a diameter below the base circle gives a negative (folded) roll path.

#include <kest/gear/host/export.h>
#include <kest/gear/measurement_enums.h>

namespace kest::host {
class CProfileScanLinear3d;
}

namespace kest::gear {

class CylindricalGearGeometry;
class EvaluationRange;

// returns `value` in reference `to`; returns it unchanged when from == to. Throws "wrong profile reference"
// when either reference is no profile reference (RollingPath to ReferenceDiameter).
GEARRECORDS_API double convertProfileReference(const CylindricalGearGeometry* geometry, Side side,
                                               Reference from, double value, Reference to);
// returns `value` in reference `to`; returns it unchanged when from == to. Throws "wrong lead reference" when
// either reference is no lead reference (PercentDatumToNonDatum to LengthNonDatumToDatum).
GEARRECORDS_API double convertLeadReference(const CylindricalGearGeometry* geometry, Reference from,
                                            double value, Reference to);

// The reference in which a measured scan stores its abscissa: its text parameter "ReferenceZ" for lines along
// the face width (Lead, RoughnessLead, FeedMark, TopographyLead), else "ReferenceY". Throws "no reference for
// 2D data in compute2DRegressionElement()" when the scan lacks the parameter (or it is longer than 255
// characters) and "no valid reference for 2D data in compute2DRegressionElement()" when it names no
// reference.
GEARRECORDS_API Reference getMeasPathReference(const host::CProfileScanLinear3d* scan, Measurement_Type type);

// The first and last index of the scan points whose abscissa (z for lines along the face width, else y) lies
// within [start, end] of an evaluation range given in `rangeReference`; start and end may come in either
// order. Null outputs are skipped. returns true; throws "wrong reference for range" for a measurement type
// other than Profile, TopographyProfile, Lead and TopographyLead, "no valid points in range" when no point
// lies inside, and the messages of getMeasPathReference and of the reference conversions.
GEARRECORDS_API bool convertRangeToProfileIndex(const CylindricalGearGeometry* geometry, Side side,
                                                Reference rangeReference, double start, double end,
                                                const host::CProfileScanLinear3d* scan, Measurement_Type type,
                                                long* first, long* last);
// The same for the main interval of an evaluation range, in the range's reference. false for a null range.
GEARRECORDS_API bool convertRangeToProfileIndex(const CylindricalGearGeometry* geometry, Side side,
                                                const EvaluationRange* range,
                                                const host::CProfileScanLinear3d* scan, Measurement_Type type,
                                                long* first, long* last);

// Pairwise profile conversions, convertFrom<From>To<To>(geometry, side, value). Each composes the basic
// relations roll path <-> diameter, roll path <-> roll angle, roll path <-> percent, diameter <-> V-circle
// and diameter <-> reference diameter along the shortest way between the two references.

GEARRECORDS_API double convertFromRollingPathToRollingAngle(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromRollingPathToDiameter(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromRollingPathToPercent(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromRollingPathToVCircleDiameter(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromRollingPathToReferenceDiameter(const CylindricalGearGeometry*, Side,
                                                                 double);

GEARRECORDS_API double convertFromRollingAngleToRollingPath(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromRollingAngleToDiameter(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromRollingAngleToPercent(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromRollingAngleToVCircleDiameter(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromRollingAngleToReferenceDiameter(const CylindricalGearGeometry*, Side,
                                                                  double);

GEARRECORDS_API double convertFromDiameterToRollingPath(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromDiameterToRollingAngle(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromDiameterToPercent(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromDiameterToVCircleDiameter(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromDiameterToReferenceDiameter(const CylindricalGearGeometry*, Side, double);

GEARRECORDS_API double convertFromPercentToRollingPath(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromPercentToRollingAngle(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromPercentToDiameter(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromPercentToVCircleDiameter(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromPercentToReferenceDiameter(const CylindricalGearGeometry*, Side, double);

GEARRECORDS_API double convertFromVCircleDiameterToRollingPath(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromVCircleDiameterToRollingAngle(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromVCircleDiameterToDiameter(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromVCircleDiameterToPercent(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromVCircleDiameterToReferenceDiameter(const CylindricalGearGeometry*, Side,
                                                                     double);

GEARRECORDS_API double convertFromReferenceDiameterToRollingPath(const CylindricalGearGeometry*, Side,
                                                                 double);
GEARRECORDS_API double convertFromReferenceDiameterToRollingAngle(const CylindricalGearGeometry*, Side,
                                                                  double);
GEARRECORDS_API double convertFromReferenceDiameterToDiameter(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromReferenceDiameterToPercent(const CylindricalGearGeometry*, Side, double);
GEARRECORDS_API double convertFromReferenceDiameterToVCircleDiameter(const CylindricalGearGeometry*, Side,
                                                                     double);

// Pairwise lead conversions, convert_From_<From>_To_<To>(geometry, value), over the face width b.

GEARRECORDS_API double
convert_From_PercentDatumToNonDatum_To_PercentNonDatumToDatum(const CylindricalGearGeometry*, double);
GEARRECORDS_API double
convert_From_PercentDatumToNonDatum_To_LengthDatumToNonDatum(const CylindricalGearGeometry*, double);
GEARRECORDS_API double
convert_From_PercentDatumToNonDatum_To_LengthNonDatumToDatum(const CylindricalGearGeometry*, double);
GEARRECORDS_API double
convert_From_PercentNonDatumToDatum_To_PercentDatumToNonDatum(const CylindricalGearGeometry*, double);
GEARRECORDS_API double
convert_From_PercentNonDatumToDatum_To_LengthDatumToNonDatum(const CylindricalGearGeometry*, double);
GEARRECORDS_API double
convert_From_PercentNonDatumToDatum_To_LengthNonDatumToDatum(const CylindricalGearGeometry*, double);
GEARRECORDS_API double
convert_From_LengthDatumToNonDatum_To_PercentDatumToNonDatum(const CylindricalGearGeometry*, double);
GEARRECORDS_API double
convert_From_LengthDatumToNonDatum_To_PercentNonDatumToDatum(const CylindricalGearGeometry*, double);
GEARRECORDS_API double
convert_From_LengthDatumToNonDatum_To_LengthNonDatumToDatum(const CylindricalGearGeometry*, double);
GEARRECORDS_API double
convert_From_LengthNonDatumToDatum_To_PercentDatumToNonDatum(const CylindricalGearGeometry*, double);
GEARRECORDS_API double
convert_From_LengthNonDatumToDatum_To_PercentNonDatumToDatum(const CylindricalGearGeometry*, double);
GEARRECORDS_API double
convert_From_LengthNonDatumToDatum_To_LengthDatumToNonDatum(const CylindricalGearGeometry*, double);

} // namespace kest::gear
