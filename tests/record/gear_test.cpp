#include <kest/gear/beveloid_gear_geometry.h>
#include <kest/gear/cylindrical_gear_geometry.h>
#include <kest/gear/gear.h>
#include <kest/gear/host/record_registry.h>
#include <kest/gear/library.h>

#include "record/library_callbacks.h"
#include "support/diagnostics_capture.h"
#include "support/throw_message.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numbers>

namespace kest::gear {
namespace {

using Geometry = CylindricalGearGeometry;

Geometry spurGeometry() {
    return Geometry(23, 20.0, 2.0, 0.0, 20.0 * std::numbers::pi / 180.0, 0.2, 50.8, 41.8,
                    Geometry::FlankDirection::Straight, Geometry::ModuleVariant::Normal,
                    AddendumModificationVariant::AddmodFactor, 3.5);
}

// A gear holds its own copy of the geometry; without one it is invalid.
TEST(Gear, KeepsItsOwnCopyOfTheGeometry) {
    std::string message = "stale";
    EXPECT_FALSE(Gear().isValid(message) || Gear().isExternal() || Gear().getGeometry());
    EXPECT_EQ(message, "no geometry section");
    EXPECT_EQ(Gear(static_cast<Geometry*>(nullptr)).getGeometry(), nullptr);

    Geometry geometry = spurGeometry();
    Gear gear(&geometry);
    EXPECT_TRUE(gear.getGeometry() != &geometry && gear.getGeometry()->isSimilar(geometry));
    EXPECT_TRUE(gear.isExternal() && gear.isValid(message));
    EXPECT_EQ(message, "");
    Geometry other(-40, 10.0, 1.0, 0.0, 0.35, 0.0, 38.0, 42.5, Geometry::FlankDirection::Straight,
                   Geometry::ModuleVariant::Normal, AddendumModificationVariant::AddmodFactor, unsetValue);
    gear.setGeometry(&other);
    EXPECT_EQ(gear.getGeometry()->getZ(), -40);
    EXPECT_FALSE(gear.isExternal());
}

// A geometry of another class, answering to the kind it is given.
class Impostor : public Geometry {
public:
    explicit Impostor(const char* kind)
        : Geometry(spurGeometry())
        , kind_(kind) {}
    const char* getKindOf() const noexcept override { return kind_; }
    bool testKindOf(const char* kind, bool) const override { return std::strcmp(kind, kind_) == 0; }

private:
    const char* kind_;
};

// The gear deep-copies a geometry as the most derived kind it answers to, and refuses a class it cannot copy.
TEST(Gear, CopiesTheGeometryByKind) {
    Geometry spur = spurGeometry();
    AsymmetricalGearGeometry asymmetrical(spur, 2.0, 0.0, 0.45, 0.2, Geometry::FlankDirection::Straight,
                                          Geometry::ModuleVariant::Normal,
                                          AddendumModificationVariant::AddmodFactor);
    BeveloidGearGeometry beveloid(asymmetrical, 0.0, 0.0, 20.0, 25.0, false);
    for (Geometry* source : std::initializer_list<Geometry*>{&spur, &asymmetrical, &beveloid}) {
        auto original = std::make_unique<Gear>(source);
        const Gear copy(*original);
        std::unique_ptr<host::CMDatabaseElement> made(original->CreateCopy()); // the virtual copy
        const auto* madeGear = dynamic_cast<const Gear*>(made.get());
        ASSERT_NE(madeGear, nullptr);
        EXPECT_STREQ(madeGear->GetKindOf(), "[gearel]");
        const Geometry* held = copy.getGeometry();
        EXPECT_TRUE(held != original->getGeometry() && madeGear->getGeometry() != original->getGeometry());
        EXPECT_TRUE(held->testKindOf(source->getKindOf(), true)) << source->getKindOf();
        original.reset();
        EXPECT_TRUE(held->isSimilar(*source) && madeGear->getGeometry()->isSimilar(*source))
            << "the copies outlive the original, equal to the source";
    }
    for (const char* kind : {"other gear", "beveloid gear"}) {
        Impostor impostor(kind);
        EXPECT_THROW_MSG(Gear{&impostor}, "Geometry type unsupported");
    }
}

// The kind is matched exactly, the registry's factory ignores case; so is the owner.
TEST(Gear, Identity) {
    const struct {
        const char* text;
        bool kind, factory;
    } rows[] = {{"[gearel]", true, true},
                {"[GEAREL]", false, true},
                {"gearel", false, false},
                {"[gearel] ", false, false}};
    for (const auto& row : rows) {
        EXPECT_EQ(Gear().TestKindOf(row.text, false), row.kind) << row.text;
        std::unique_ptr<host::CMDatabaseElement> made(createGearRecord(row.text));
        std::unique_ptr<host::CMDatabaseElement> viaRegistry(
            host::XmlRecords_CreateDatabaseElement(row.text));
        EXPECT_TRUE((made != nullptr) == row.factory && (viaRegistry != nullptr) == row.factory) << row.text;
    }
    EXPECT_STREQ(Gear().GetOwnerId(), "gearrecords");
    EXPECT_TRUE(Gear().TestOwnerId("gearrecords") && !Gear().TestOwnerId("GearRecords"));
}

TEST(GearLibrary, EntryPointRegistersOnceAndUnregistersAtTheLastDetach) {
    // The library attached once when it was loaded.
    ASSERT_TRUE(host::XmlRecords_IsDatabaseElementTypeRegistered("[gearel]"));
    EXPECT_TRUE(GearRecords_EntryPoint(LibraryEvent::ProcessAttach));
    EXPECT_TRUE(GearRecords_EntryPoint(LibraryEvent::ThreadAttach));
    EXPECT_TRUE(GearRecords_EntryPoint(LibraryEvent::ProcessDetach));
    EXPECT_TRUE(host::XmlRecords_IsDatabaseElementTypeRegistered("[gearel]"));

    host::RecordsAddElement(new Gear());
    test::DiagnosticsCapture capture(3);
    EXPECT_TRUE(GearRecords_EntryPoint(LibraryEvent::ProcessDetach));
    EXPECT_FALSE(host::XmlRecords_IsDatabaseElementTypeRegistered("[gearel]"));
    EXPECT_EQ(host::RecordsCountElements("gearrecords"), 0u);
    EXPECT_EQ(capture.messages(host::DiagnosticChannel::Trace),
              std::vector<std::string>{"GearRecordsRemoveAllElement resources freed"});

    EXPECT_TRUE(GearRecords_EntryPoint(LibraryEvent::ProcessDetach)) << "an extra detach is harmless";
    EXPECT_EQ(capture.messages(host::DiagnosticChannel::ErrorLog),
              std::vector<std::string>{"XmlRecords_UnRegisterDatabaseElementType(Gear) failed"});
    EXPECT_TRUE(GearRecords_EntryPoint(LibraryEvent::ProcessAttach));
    EXPECT_TRUE(host::XmlRecords_IsDatabaseElementTypeRegistered("[gearel]"));
}

bool fakeKChart(const Gear*, Measurement_Type, Side, unsigned int, KChart*) {
    return true;
}
bool otherKChart(const Gear*, Measurement_Type, Side, unsigned int, KChart*) {
    return false;
}
bool fakeStandard(const std::string&, StandardClass&, StandardClass&) {
    return true;
}

TEST(GearLibrary, CallbacksAreReplacedAndClearedWithTraces) {
    test::DiagnosticsCapture capture(3);
    EXPECT_TRUE(GearRecords_UnRegisterAutomaticKChartFunctionPointer()) << "also when none is registered";
    EXPECT_TRUE(GearRecords_RegisterAutomaticKChartFunctionPointer(fakeKChart));
    EXPECT_TRUE(GearRecords_RegisterAutomaticKChartFunctionPointer(otherKChart));
    EXPECT_EQ(registeredAutomaticKChartFunction(), &otherKChart);
    EXPECT_TRUE(GearRecords_UnRegisterAutomaticKChartFunctionPointer());
    EXPECT_EQ(registeredAutomaticKChartFunction(), nullptr);

    EXPECT_TRUE(GearRecords_Register_GetInfoStandard_Function(fakeStandard));
    EXPECT_EQ(registeredInfoStandardFunction(), &fakeStandard);
    EXPECT_TRUE(GearRecords_UnRegister_GetInfoStandard_Function());
    EXPECT_EQ(registeredInfoStandardFunction(), nullptr);

    const auto traces = capture.messages(host::DiagnosticChannel::Trace);
    ASSERT_EQ(traces.size(), 6u);
    EXPECT_EQ(traces[0],
              "GearRecords_UnRegisterAutomaticKChartFunctionPointerptr_automatic_kchart (0x0000000000000000) "
              "unregistered");
    EXPECT_EQ(
        traces[1].rfind("GearRecords_RegisterAutomaticKChartFunctionPointerptr_automatic_kchart (0x", 0), 0u);
    EXPECT_EQ(traces[4].rfind("GearRecords_Register_GetInfoStandard_Functionptr_info_standard (0x", 0), 0u);
    EXPECT_NE(traces[5].find(") unregistered"), std::string::npos);
}

} // namespace
} // namespace kest::gear
