// The Python module gearrecords: a gear file as Python objects. The record's sections come from the same JSON
// document as `gearfile show --json`, so that the attribute names of the objects are the keys of the JSON.

#include "geometry_fields.h"
#include "nominal_values.h"
#include "profile_shift_solvers.h"
#include "record_json.h"

#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/gear.h>

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace py = pybind11;

namespace {

using kest::gear::CylindricalGearGeometry;
using kest::gearfile::Json;

// The Python type of load and save failures; set when the module is imported.
PyObject* gearFileError = nullptr;

[[noreturn]] void raiseGearFileError(const char* message) {
    PyErr_SetString(gearFileError, message ? message : "the gear file failed");
    throw py::error_already_set();
}

// The JSON objects whose keys are data (names of features, header entries, flanks) become dicts; every other
// object becomes a plain object whose attributes are its keys.
bool keyedByData(const std::string& key) {
    for (const char* name : kest::gearfile::dataMapKeys)
        if (key == name) return true;
    return false;
}

py::object toPython(const Json& json, bool asDict = false) {
    switch (json.type()) {
    case Json::value_t::null:
    case Json::value_t::discarded:
        return py::none();
    case Json::value_t::boolean:
        return py::bool_(json.get<bool>());
    case Json::value_t::number_integer:
        return py::int_(json.get<std::int64_t>());
    case Json::value_t::number_unsigned:
        return py::int_(json.get<std::uint64_t>());
    case Json::value_t::number_float:
        return py::float_(json.get<double>());
    case Json::value_t::string:
        return py::str(json.get_ref<const std::string&>());
    case Json::value_t::binary:
        return py::none(); // never written by recordJson
    case Json::value_t::array: {
        py::list list;
        for (const Json& item : json)
            list.append(toPython(item));
        return list;
    }
    case Json::value_t::object: {
        py::dict dict;
        for (const auto& [key, value] : json.items())
            dict[py::str(key)] = toPython(value, keyedByData(key));
        if (asDict) return dict;
        static const py::object namespaceType = py::module_::import("types").attr("SimpleNamespace");
        return namespaceType(**dict);
    }
    }
    return py::none();
}

// The gear, shared with the geometry views handed out, which read it at each access.
struct PyGear {
    std::shared_ptr<kest::gear::Gear> gear = std::make_shared<kest::gear::Gear>();
    std::optional<py::dict> sections; // the record's sections as Python objects, made on first use

    void load(const std::filesystem::path& path) {
        auto loaded = std::make_shared<kest::gear::Gear>();
        try {
            loaded->Load(path.c_str());
        } catch (const char* message) {
            raiseGearFileError(message);
        } catch (const std::exception& e) { // the standard library's, such as a failed allocation
            raiseGearFileError(e.what());
        }
        gear = std::move(loaded);
        sections.reset();
    }

    void save(const std::optional<std::filesystem::path>& path) {
        try {
            gear->Save(path ? path->c_str() : nullptr);
        } catch (const char* message) {
            raiseGearFileError(message);
        } catch (const std::exception& e) {
            raiseGearFileError(e.what());
        }
        sections.reset(); // the version stamp is the writing program's now
    }

    const py::dict& record() {
        if (!sections) {
            Json json = kest::gearfile::recordJson(*gear);
            json.erase("geometry");
            sections = py::dict(toPython(json, true));
        }
        return *sections;
    }
};

// The geometry of the gear loaded when the view was made, read afresh at each access; a later load of the
// Gear gives a new view.
struct GeometryView {
    std::shared_ptr<kest::gear::Gear> gear;

    const CylindricalGearGeometry& geometry() const {
        const CylindricalGearGeometry* g = gear->getGeometry();
        if (!g) throw py::value_error("the gear has no geometry");
        return *g;
    }
};

py::object numberOrNone(double value) {
    if (kest::gear::isUnset(value) || !std::isfinite(value)) return py::none();
    return py::float_(value);
}

void defineGeometry(py::module_& m) {
    auto geometry =
        py::class_<GeometryView>(m, "Geometry",
                                 "The nominal geometry of a gear: lengths in mm, angles in degrees; "
                                 "None for a value the file leaves unset or the kind does not have.");
    geometry.def_property_readonly(
        "z",
        [](const GeometryView& v) -> py::object {
            const int z = v.geometry().getZ();
            if (kest::gear::isUnset(static_cast<double>(z))) return py::none();
            return py::int_(z);
        },
        "number of teeth, negative for an internal gear");
    for (const kest::gearfile::GeometryText& field : kest::gearfile::geometryTexts())
        geometry.def_property_readonly(field.name, [field](const GeometryView& v) -> py::object {
            const CylindricalGearGeometry& g = v.geometry();
            if (!kest::gearfile::hasField(g, field.kind)) return py::none();
            return py::str(field.get(g));
        });
    for (const kest::gearfile::GeometryNumber& field : kest::gearfile::geometryNumbers())
        geometry.def_property_readonly(field.name, [field](const GeometryView& v) -> py::object {
            const CylindricalGearGeometry& g = v.geometry();
            if (!kest::gearfile::hasField(g, field.kind)) return py::none();
            return numberOrNone(field.get(g));
        });
    geometry.def_property_readonly("user_strings", [](const GeometryView& v) {
        py::dict strings;
        for (const auto& [name, text] : kest::gearfile::userStrings(v.geometry()))
            strings[py::str(name)] = text;
        return strings;
    });
    geometry.def(
        "validate",
        [](const GeometryView& v) -> py::object {
            std::string reason;
            if (v.geometry().isValid(&reason)) return py::none();
            return py::str(reason);
        },
        "None when the geometry is valid, else the reason");
    geometry.def(
        "x_from_span",
        [](const GeometryView& v, double wk, unsigned int k) {
            return kest::gearfile::profileShiftFromSpan(v.geometry(), wk, k);
        },
        py::arg("wk"), py::arg("k"),
        "The addendum modification coefficient x for which the base tangent length over k teeth is wk (mm).");
    geometry.def(
        "x_from_balls",
        [](const GeometryView& v, double mdk, std::optional<double> ballDiameter) {
            return kest::gearfile::profileShiftFromBalls(v.geometry(), mdk,
                                                         ballDiameter.value_or(kest::gear::unsetValue));
        },
        py::arg("mdk"), py::arg("ball_diameter") = py::none(),
        "The addendum modification coefficient x for which the diametral dimension over balls at half the "
        "face "
        "width is mdk (mm); "
        "ball_diameter None: the file's, else the DIN ball diameter.");
    geometry.def("__repr__", [](const GeometryView& v) {
        const CylindricalGearGeometry& g = v.geometry();
        return "<gearrecords.Geometry " + std::string(g.getKindOf()) + ", z " + std::to_string(g.getZ()) +
               ">";
    });
}

void defineGear(py::module_& m) {
    auto gear =
        py::class_<PyGear>(m, "Gear", "The record of one gear, loaded from and saved to a gear file.");
    gear.def(py::init([](const std::optional<std::filesystem::path>& path) {
                 PyGear g;
                 if (path) g.load(*path);
                 return g;
             }),
             py::arg("path") = py::none(), "An empty gear, or the gear in the file at path.");
    gear.def("load", &PyGear::load, py::arg("path"),
             "Replaces the gear by the one in the file; raises GearFileError and keeps the gear on failure.");
    gear.def("save", &PyGear::save, py::arg("path") = py::none(),
             "Writes the gear to path (None: the file it was loaded from); raises GearFileError on failure.");
    gear.def_property_readonly("geometry", [](const PyGear& g) -> py::object {
        if (!g.gear->getGeometry()) return py::none();
        return py::cast(GeometryView{g.gear});
    });
    gear.def(
        "nominal",
        [](const PyGear& g) {
            const CylindricalGearGeometry* geometry = g.gear->getGeometry();
            if (!geometry) throw py::value_error("the gear has no geometry");
            const auto values = kest::gearfile::namedNominalValues(kest::gearfile::computeNominal(*geometry));
            py::dict dict;
            for (const auto& [name, value] : values)
                dict[py::str(name)] = value.available() ? py::object(py::float_(value.value))
                                                        : py::object(py::str(value.reason));
            return dict;
        },
        "Every nominal value of `gearfile nominal` by name: a float (mm, degrees) or the reason it has "
        "none.");
    gear.def("__repr__", [](const PyGear& g) {
        const CylindricalGearGeometry* geometry = g.gear->getGeometry();
        if (!geometry) return std::string("<gearrecords.Gear without geometry>");
        return "<gearrecords.Gear " + std::string(geometry->getKindOf()) + ", z " +
               std::to_string(geometry->getZ()) + ">";
    });
    gear.def(
        "json", [](const PyGear& g) { return kest::gearfile::recordJson(*g.gear).dump(2); },
        "The whole record as the JSON document of `gearfile show --json`.");
    // The sections of the record, by the keys of the JSON document.
    gear.def("__getattr__", [](PyGear& g, const std::string& name) -> py::object {
        const py::dict& record = g.record();
        if (!record.contains(name))
            throw py::attribute_error("'Gear' object has no attribute '" + name + "'");
        return record[py::str(name)];
    });
    gear.def("__dir__", [](PyGear& g) {
        py::list names;
        for (const char* name : {"geometry", "load", "save", "nominal", "json"})
            names.append(name);
        for (const auto& item : g.record())
            names.append(item.first);
        return names;
    });
}

} // namespace

PYBIND11_MODULE(gearrecords, m) {
    m.doc() = "Gear files of the gearrecords library: geometry, measurements, evaluation and nominal values.";
    // Made once and kept for the life of the process, as the module itself is.
    gearFileError = PyErr_NewException("gearrecords.GearFileError", PyExc_Exception, nullptr);
    if (!gearFileError) throw py::error_already_set();
    m.attr("GearFileError") = py::handle(gearFileError);
    // Every other failure the library throws as a message text arrives as a RuntimeError with that text.
    py::register_exception_translator([](std::exception_ptr failure) {
        try {
            if (failure) std::rethrow_exception(failure);
        } catch (const char* message) {
            PyErr_SetString(PyExc_RuntimeError, message ? message : "unknown failure");
        }
    });
    defineGeometry(m);
    defineGear(m);
}
