// A full load and a full save of a gear file, each beside a raw pugixml parse and serialise of the same file:
// the ratio between the two is what the library's own work costs. Besides the example files, a large gear
// file is generated (120 teeth, each flank measured, settings on every third tooth, feed-mark points), and
// one of twice its size shows how the cost grows with the file.

#include <kest/gear/gear.h>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path scratch(const std::string& name) {
    return fs::temp_directory_path() / ("gearrecords_bench_" + std::to_string(::getpid()) + "_" + name);
}

// `teeth` teeth, each flank measured in profile and lead twice (8 entries a tooth), a setting for each kind
// and flank on every third tooth, and a feed-mark point for each flank and index (4 a tooth).
std::string largeGearFile(int teeth) {
    std::string xml = "<?xml version=\"1.0\"?>\n<gear version=\"9.02-44\">\n<geometry>\n"
                      "<type>cylindrical gear</type>\n<number_of_teeth>120</number_of_teeth>\n"
                      "<face_width>20</face_width>\n<tip_diameter>244</tip_diameter>\n"
                      "<root_diameter>235</root_diameter>\n<normal_module>2</normal_module>\n"
                      "<helix_angle direction=\"straight\">0</helix_angle>\n"
                      "<normal_pressure_angle>20</normal_pressure_angle>\n"
                      "<addendum_modification>0</addendum_modification>\n"
                      "<addendum_modification_variant>addmod_factor</addendum_modification_variant>\n"
                      "</geometry>\n<measurement>\n";
    const char* kinds[] = {"profile", "lead"};
    const char* sides[] = {"left", "right"};
    char line[256];
    for (int t = 1; t <= teeth; ++t)
        for (const char* kind : kinds)
            for (const char* side : sides)
                for (int index = 0; index < 2; ++index) {
                    std::snprintf(
                        line, sizeof line,
                        "<%s tooth=\"%d\" side=\"%s\" measurement_index=\"%d\">./m/%s_%d_%s_%d.dat</%s>\n",
                        kind, t, side, index, kind, t, side, index, kind);
                    xml += line;
                }
    xml += "<settings>\n<tooth_counting clockwise=\"off\"/>\n";
    for (int t = 1; t <= teeth; t += 3)
        for (const char* kind : kinds)
            for (const char* side : sides) {
                std::snprintf(line, sizeof line,
                              "<%s tooth=\"%d\" side=\"%s\" measurement_index=\"0\" enabled=\"on\">\n", kind,
                              t, side);
                xml += line;
                for (int id = 1; id <= 2; ++id) {
                    std::snprintf(line, sizeof line,
                                  "<point id=\"%d\"><position reference=\"diameter\">%d</position>"
                                  "<height reference=\"length datum to non-datum\">10</height></point>\n",
                                  id, 236 + 2 * id);
                    xml += line;
                }
                xml += std::string("</") + kind + ">\n";
            }
    xml += "<positioning_parameters><centre_offset>0</centre_offset></positioning_parameters>\n"
           "</settings>\n</measurement>\n<processing post_process_type=\"undefined\" "
           "process_type=\"undefined\"/>\n<calculated_data><feed_mark>\n<pitch type=\"mm\">0.5</pitch>\n";
    for (int t = 1; t <= teeth; ++t)
        for (const char* side : sides)
            for (int index = 0; index < 2; ++index) {
                std::snprintf(line, sizeof line,
                              "<point id=\"0\" side=\"%s\" tooth=\"%d\" measurement_index=\"%d\">"
                              "<position reference=\"diameter\">240</position>"
                              "<height reference=\"length datum to non-datum\">%d</height></point>\n",
                              side, t, index, 5 + index);
                xml += line;
            }
    xml += "</feed_mark></calculated_data>\n</gear>\n";
    return xml;
}

// The files by benchmark argument: a gear with geometry only, one with every section, the large gear file
// and one with twice its teeth.
const std::vector<std::string>& files() {
    static const std::vector<std::string> list = [] {
        std::vector<std::string> names{std::string(GEARRECORDS_EXAMPLES) + "/helical_gear.xml",
                                       std::string(GEARRECORDS_EXAMPLES) + "/measured_gear.xml"};
        for (const int teeth : {120, 240}) {
            const fs::path path = scratch("large_" + std::to_string(teeth) + ".xml");
            std::ofstream(path, std::ios::binary) << largeGearFile(teeth);
            names.push_back(path.string());
        }
        return names;
    }();
    return list;
}

// Removes the generated files when the benchmarks end.
const struct Cleanup {
    ~Cleanup() {
        std::error_code ignored;
        for (const int teeth : {120, 240})
            fs::remove(scratch("large_" + std::to_string(teeth) + ".xml"), ignored);
    }
} cleanup;

void allFiles(benchmark::internal::Benchmark* b) {
    for (int i = 0; i < 4; ++i)
        b->Arg(i);
}

// Read from the file, as Load reads it, with the options the library parses with (declaration, comments,
// processing instructions and doctype kept).
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_comments |
                                   pugi::parse_pi | pugi::parse_doctype;

void RawParse(benchmark::State& state) {
    const std::string& file = files()[state.range(0)];
    for (auto _ : state) {
        pugi::xml_document doc;
        benchmark::DoNotOptimize(doc.load_file(file.c_str(), kParseOptions));
    }
}
BENCHMARK(RawParse)->Apply(allFiles);

void GearLoad(benchmark::State& state) {
    const std::string& file = files()[state.range(0)];
    for (auto _ : state) {
        kest::gear::Gear gear;
        gear.Load(file.c_str());
        benchmark::DoNotOptimize(gear.getGeometry());
    }
}
BENCHMARK(GearLoad)->Apply(allFiles);

void RawSerialize(benchmark::State& state) {
    pugi::xml_document doc;
    doc.load_file(files()[state.range(0)].c_str());
    const fs::path target = scratch("raw.xml");
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.save_file(target.c_str(), "  "));
    fs::remove(target);
}
BENCHMARK(RawSerialize)->Apply(allFiles);

void GearSave(benchmark::State& state) {
    kest::gear::Gear gear(files()[state.range(0)].c_str());
    // Alternating targets: a save to another name is always written, as a changed gear would be.
    const std::string targets[2] = {scratch("a.xml").string(), scratch("b.xml").string()};
    std::size_t i = 0;
    for (auto _ : state)
        gear.Save(targets[i++ & 1].c_str());
    for (const auto& t : targets)
        fs::remove(t);
}
BENCHMARK(GearSave)->Apply(allFiles);

} // namespace
