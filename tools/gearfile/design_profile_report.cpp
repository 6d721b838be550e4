#include "record_report.h"

#include "text_format.h"

#include <kest/gear/design_profile.h>
#include <kest/gear/measurement_enums.h>

#include <string>
#include <vector>

namespace kest::gearfile {
namespace {

std::string countText(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "enabled, 'tip relief', 1 part, 3 points, valid"
std::string profileText(const gear::DesignProfile& profile) {
    std::string text = profile.isEnabled() ? "enabled" : "disabled";
    if (!profile.getName().empty()) text += ", '" + profile.getName() + "'";
    std::size_t points = 0;
    std::vector<gear::PointDefinition> partPoints;
    for (const gear::DesignProfilePart& part : profile.getParts()) {
        part.getPoints(&partPoints);
        points += partPoints.size();
    }
    text += ", " + countText(profile.getParts().size(), "part", "parts");
    text += ", " + countText(points, "point", "points");
    return text + (profile.isValid() ? ", valid" : ", invalid");
}

} // namespace

void addDesignProfileSection(FieldTable& table, const gear::Gear& gear) {
    using gear::Measurement_Type;
    using gear::Side;
    bool any = false;
    for (const Measurement_Type kind : {Measurement_Type::Profile, Measurement_Type::Lead})
        for (const Side side : {Side::Left, Side::Right})
            for (unsigned int index = 0; index < gear.getDesignProfileCount(kind, side); ++index) {
                const gear::DesignProfile* profile = gear.getDesignProfile(kind, side, index);
                if (!profile) continue;
                if (!any) table.section("design profiles");
                any = true;
                table.field(gear::Measurement_Type_2_string(kind) + " " + gear::Side_2_string(side) +
                                " index " + std::to_string(index),
                            profileText(*profile));
            }
    if (any) table.endSection();
}

} // namespace kest::gearfile
