#pragma once

// The colours of the drawings. The tests look for the ball, the material and the tolerance zone by these
// exact colours where the SVG puts those shapes, so no other shape there takes one of them.

namespace kest::gearfile::drawing::palette {

inline constexpr const char* background = "#ffffff";
inline constexpr const char* text = "#1a1a1a";
inline constexpr const char* material = "#c8d4e3";
inline constexpr const char* outline = "#1f2d3d";
inline constexpr const char* ball = "#d62728";
inline constexpr const char* tipCircle = "#1f77b4";
inline constexpr const char* rootCircle = "#8c564b";
inline constexpr const char* baseCircle = "#2ca02c";
inline constexpr const char* referenceCircle = "#9467bd";
inline constexpr const char* vCircle = "#ff7f0e";
inline constexpr const char* span = "#0f8b8d";
inline constexpr const char* rootRange = "#e377c2";
inline constexpr const char* mainRange = "#b8860b";
inline constexpr const char* tipRange = "#17becf";
inline constexpr const char* insideLimit = "#2166ac";
inline constexpr const char* outsideLimit = "#b2182b";
inline constexpr const char* toleranceZone = "#fde9b0";
inline constexpr const char* nominalLine = "#000000";
inline constexpr const char* grid = "#d9d9d9";
inline constexpr const char* unavailable = "#7a7a7a";

} // namespace kest::gearfile::drawing::palette
