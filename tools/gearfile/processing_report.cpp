#include "record_report.h"

#include "text_format.h"

#include <kest/gear/process_types.h>
#include <kest/gear/processing_information.h>

namespace kest::gearfile {

void addProcessingSections(FieldTable& table, const gear::Gear& gear) {
    table.section("processing");
    table.field("process type", gear::ProcessType_2_string(gear.getProcessType()));
    table.field("post-process type", gear::PostProcessType_2_string(gear.getPostProcessType()));
    table.endSection();

    gear::FeedMarkInformation feedMark;
    gear.getFeedMarkInformation(&feedMark);
    if (feedMark.parameters.empty()) return;
    table.section("feed-mark information");
    for (const gear::Gear_General_Parameter& parameter : feedMark.parameters)
        table.field(parameter.name, formatNumber(parameter.value) +
                                        (parameter.type.empty() ? "" : " (" + parameter.type + ")"));
    table.field("points", std::to_string(feedMark.points.size()));
    table.field("complete", feedMark.isValid() ? "yes" : "no");
    table.endSection();
}

} // namespace kest::gearfile
