#pragma once

// What the measurement units share about their elements in a gear file: the names of the attributes that
// identify a measurement and of a path point's elements, and the reading of a measurement index.

#include <kest/gear/gear_measurement_info.h>
#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/measurement_path.h>

#include "host/child_sync.h"

#include <cstddef>
#include <string>

namespace kest::gear::measurement_xml {

inline constexpr const char* kSideAttribute = "side";
inline constexpr const char* kToothAttribute = "tooth";
inline constexpr const char* kMeasurementIndexAttribute = "measurement_index";

inline constexpr const char* kPointElement = "point";
inline constexpr const char* kIdAttribute = "id";
inline constexpr const char* kPositionElement = "position";
inline constexpr const char* kHeightElement = "height";
inline constexpr const char* kReferenceAttribute = "reference";
inline constexpr const char* kPositionAttribute = "position";
inline constexpr const char* kVariationAttribute = "variation";

// The position of the kind in the order of the kinds, in which the sections read their elements.
std::size_t kindRank(Measurement_Type type);

// The attribute "measurement_index" of `node`, a whole number from 0 to 4294967295, read as atoi reads it
// ("2nd" is 2). A missing attribute, a text without a leading number and a number outside that range (one
// beyond 32 bits is not cut to 32 bits) read as 0; these and a text with trailing characters give a
// warning trace naming the element.
unsigned int readMeasurementIndex(const host::MSXMLWrapper& xml, host::XMLNode node);
// The same for the attribute's text, null when the attribute is missing; the traces name `element`.
unsigned int readMeasurementIndex(const char* text, const char* element);

// The texts of the attributes that identify a measurement element, and of the marker of its text (see
// host::kBase64Attribute), found in one pass over its attributes; null where the element has no such
// attribute. Of two attributes of one name the first counts, as a lookup by name finds it.
struct IdentityTexts {
    const char* side = nullptr;
    const char* tooth = nullptr;
    const char* measurementIndex = nullptr;
    const char* base64 = nullptr;
};
IdentityTexts identityTexts(host::XMLNode node);

// true when the point's references are those a load takes: a profile reference for the position, a lead
// reference for the height. A point that is not is left out of a save, which then fails, rather than written
// into a file that no longer loads.
bool readsBack(const MeasurementPathPoint& point);
// true when a load takes the identity back as written: a kind and a side that have a text, teeth from 1 to
// maxNumberOfTeeth and no more than maxToothListLength of them. An identity that is not is left out of a
// save, which then fails.
bool readsBack(const Gear_Measurement_Info& info);
// Writes the point into its element: attribute "id", then the elements "position" and "height", each in
// place. returns false for an empty element or a failed write.
bool writePathPoint(host::MSXMLWrapper& xml, host::XMLNode element, unsigned int id,
                    const MeasurementPathPoint& point);
// Writes the attributes "position", "variation" and "reference" of the point into its element. returns false
// for an empty element or a failed write (the others are still made).
bool writePointDefinition(host::MSXMLWrapper& xml, host::XMLNode element, const PointDefinition& point);
// The element of the point with this identifier among the children that `points` owns.
host::XMLNode pointElement(host::ChildSync& points, unsigned int id);
// true for a "point" element
bool isPathPoint(host::XMLNode node);

// What identifies a measurement element - side, tooth list and index - in the forms the writers give them,
// so that an element written by hand ("1,2,3", "03") is known again by the entry it was read into. Reads
// without warnings.
std::string identityKey(const host::MSXMLWrapper& xml, host::XMLNode node);
std::string identityKey(const Gear_Measurement_Info& info);

// The order in which a new element receives the identifying attributes; an existing one keeps its order.
enum class IdentityOrder { ToothFirst, SideFirst };

// Writes the attributes "tooth", "side" and "measurement_index" of `info` to `node`. returns false when a
// write failed (the others are still made).
bool writeIdentity(host::MSXMLWrapper& xml, host::XMLNode node, const Gear_Measurement_Info& info,
                   IdentityOrder order = IdentityOrder::ToothFirst);

} // namespace kest::gear::measurement_xml
