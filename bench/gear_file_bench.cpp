// A full load and a full save of a gear file, each beside a raw pugixml parse and serialise of the same file:
// the ratio between the two is what the library's own work costs. Besides the example files, a large gear
// file is generated (120 teeth, each flank measured, settings on every third tooth, feed-mark points), and
// one of twice its size shows how the cost grows with the file; a generated gear of K-charts weighs the
// evaluation standard and the charts.

#include <kest/gear/gear.h>
#include <kest/gear/gear_parameters.h>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <malloc.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The C library serves a large block from fresh pages or from its heap depending on the blocks freed before,
// and every fresh page costs a fault: the parse of the large file, whose text is such a block, took twice as
// long when it came from fresh pages. Large blocks come from the heap, and the heap keeps what is freed, as
// in a program that loads one gear file after another.
const bool heapForLargeBlocks = [] {
    return mallopt(M_MMAP_THRESHOLD, 256 << 20) == 1 && mallopt(M_TRIM_THRESHOLD, 512 << 20) == 1;
}();

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

// A gear with an evaluation standard and `charts` K-charts on each of the six kinds and sides, each of two
// parts with `points` points.
std::string chartGearFile(int charts, int points) {
    std::string xml = largeGearFile(0);
    std::string evaluation = "<evaluation standard=\"AGMA_2000_A88\" quality=\"Q8\">\n"
                             "<subquality quality=\"B\">st</subquality>\n";
    char line[256];
    for (const char* kind : {"profile", "lead"})
        for (const char* side : {"left", "right", "both"}) {
            evaluation += std::string("<") + kind + " side=\"" + side + "\">\n";
            for (int index = 0; index < charts; ++index) {
                std::snprintf(line, sizeof line,
                              "<kchart enabled=\"on\" name=\"chart %d\" alignment=\"centered\" "
                              "measurement_index=\"%d\">\n",
                              index, index);
                evaluation += line;
                for (const char* material : {"inside", "outside"}) {
                    evaluation += std::string("<part material=\"") + material + "\" regression=\"line\">\n";
                    for (int id = 0; id < points; ++id) {
                        std::snprintf(line, sizeof line,
                                      "<point position=\"%g\" variation=\"%g\" reference=\"rolling path\" "
                                      "id=\"%d\"/>\n",
                                      0.25 * id, 0.001 * (id % 7), id);
                        evaluation += line;
                    }
                    evaluation += "</part>\n";
                }
                evaluation += "</kchart>\n";
            }
            evaluation += std::string("</") + kind + ">\n";
        }
    evaluation += "</evaluation>\n";
    xml.insert(xml.find("<processing"), evaluation);
    return xml;
}

// The files by benchmark argument: a gear with geometry only, one with measurements, the large gear file and
// one with twice its teeth, the example with every section, the example with a standard and K-charts, a gear
// whose bulk is K-charts, and the example with evaluation ranges, features and filters in every section.
const std::vector<std::string>& files() {
    static const std::vector<std::string> list = [] {
        std::vector<std::string> names{std::string(GEARRECORDS_EXAMPLES) + "/helical_gear.xml",
                                       std::string(GEARRECORDS_EXAMPLES) + "/measured_gear.xml"};
        for (const int teeth : {120, 240}) {
            const fs::path path = scratch("large_" + std::to_string(teeth) + ".xml");
            std::ofstream(path, std::ios::binary) << largeGearFile(teeth);
            names.push_back(path.string());
        }
        names.push_back(std::string(GEARRECORDS_EXAMPLES) + "/full_gear.xml");
        names.push_back(std::string(GEARRECORDS_EXAMPLES) + "/standard_gear.xml");
        const fs::path charts = scratch("charts.xml");
        std::ofstream(charts, std::ios::binary) << chartGearFile(10, 50);
        names.push_back(charts.string());
        names.push_back(std::string(GEARRECORDS_EXAMPLES) + "/evaluated_gear.xml");
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
        fs::remove(scratch("charts.xml"), ignored);
    }
} cleanup;

void allFiles(benchmark::internal::Benchmark* b) {
    for (int i = 0; i < 8; ++i)
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

// The least a load can do with the measurements in the library's public types, as a floor for GearLoad: the
// raw parse, then every measurement entry, setting (with its path points) and feed-mark point stored as the
// gear keeps them, without any check, lenient reading or replacement rule.
namespace least {

using namespace kest::gear;

struct ByInfo {
    bool operator()(const Gear_Measurement& a, const Gear_Measurement& b) const {
        return static_cast<const Gear_Measurement_Info&>(a) < b;
    }
};

void identity(pugi::xml_node node, Gear_Measurement_Info& info) {
    info.setTooth(node.attribute("tooth").value());
    const char* side = node.attribute("side").value();
    info.side = side[0] == 'l' ? Side::Left : side[0] == 'r' ? Side::Right : Side::Both;
    info.measurementIndex = node.attribute("measurement_index").as_uint();
}

MeasurementPathPoint point(pugi::xml_node node) {
    return {std::atof(node.child_value("position")), Reference::Diameter,
            std::atof(node.child_value("height")), Reference::LengthDatumToNonDatum};
}

} // namespace least

void LeastLoad(benchmark::State& state) {
    using namespace least;
    const std::string& file = files()[state.range(0)];
    for (auto _ : state) {
        pugi::xml_document doc;
        doc.load_file(file.c_str(), kParseOptions);
        std::set<Gear_Measurement, ByInfo> entries;
        std::vector<Gear_Measurement_Path> settings;
        std::map<Gear_Measurement_Info, MeasurementPathPoint> feedMark;
        const pugi::xml_node root = doc.document_element();
        for (pugi::xml_node node : root.child("measurement").children()) {
            if (std::strcmp(node.name(), "settings") != 0) {
                Gear_Measurement entry;
                identity(node, entry);
                entry.name = node.child_value();
                entries.emplace_hint(entries.end(), std::move(entry));
                continue;
            }
            for (pugi::xml_node element : node.children()) {
                if (!element.attribute("tooth")) continue;
                Gear_Measurement_Path& setting = settings.emplace_back();
                identity(element, setting);
                std::vector<MeasurementPathPoint> points;
                for (pugi::xml_node p : element.children("point"))
                    points.push_back(point(p));
                setting.path.setPoints(points);
            }
        }
        for (pugi::xml_node p : root.child("calculated_data").child("feed_mark").children("point")) {
            Gear_Measurement_Info key;
            identity(p, key);
            feedMark.emplace_hint(feedMark.end(), std::move(key), point(p));
        }
        benchmark::DoNotOptimize(entries.size() + settings.size() + feedMark.size());
    }
}
BENCHMARK(LeastLoad)->Arg(1)->Arg(2)->Arg(3);

// The raw parse, then one look at every node and attribute (its name and value): what any reader that reads
// the whole document costs at least, before it stores a thing.
std::size_t touchAll(pugi::xml_node node) {
    std::size_t touched = 0;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        touched += static_cast<unsigned char>(child.name()[0]) + static_cast<unsigned char>(child.value()[0]);
        for (pugi::xml_attribute a = child.first_attribute(); a; a = a.next_attribute())
            touched += static_cast<unsigned char>(a.name()[0]) + static_cast<unsigned char>(a.value()[0]);
        touched += touchAll(child);
    }
    return touched;
}

void ParseAndWalk(benchmark::State& state) {
    const std::string& file = files()[state.range(0)];
    for (auto _ : state) {
        pugi::xml_document doc;
        doc.load_file(file.c_str(), kParseOptions);
        benchmark::DoNotOptimize(touchAll(doc));
    }
}
BENCHMARK(ParseAndWalk)->Arg(1)->Arg(2)->Arg(3);

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

// A save whose content and target did not change: the sections write the document and its hash is taken, but
// the file is not touched - what a save costs beside the durable file replacement.
void GearSaveUnchanged(benchmark::State& state) {
    kest::gear::Gear gear(files()[state.range(0)].c_str());
    const std::string target = scratch("same.xml").string();
    gear.Save(target.c_str());
    for (auto _ : state)
        gear.Save(target.c_str());
    fs::remove(target);
}
BENCHMARK(GearSaveUnchanged)->Apply(allFiles);

} // namespace
