#pragma once

// What the measurement protocol of a gear contains and where it goes.

#include <kest/gear/addendum_modification_variant.h>
#include <kest/gear/gear_parameters.h>
#include <kest/gear/host/export.h>
#include <kest/gear/measurement_enums.h>
#include <kest/gear/protocol_header.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kest::host {
class MSXMLWrapper;
}

namespace kest::gear {

// The output units, the drawing of profile and lead diagrams, the pitch tables and bar diagrams, numeric
// extra settings, the flank names, the addendum-modification variant to show, the topography graph style,
// whether the feed-mark and root-scan protocols are produced, and the protocol header. Stored under the
// element "protocol". It only stores settings; it computes nothing.
//
// The accessors throw their failures as C strings (const char*).
class GEARRECORDS_API ProtocolSettings {
public:
    enum class OutputUnit : std::int32_t {
        Screen = 0,
        Printer = 1,
        AutofilePdf = 2,
        AutofileWmf = 3,
        AutofileJpg = 4,
        AutofileRpf = 5,
    };
    // The element of each output unit, by its value.
    static constexpr std::array<const char*, 6> output_keys{"screen",       "printer",      "autofile_pdf",
                                                            "autofile_wmf", "autofile_jpg", "autofile_rpf"};

    // How profile or lead diagrams are drawn.
    struct parametersProfLead {
        bool enabled = true;
        std::int32_t numberPerSide = 4;
        Reference reference = Reference::RollingPath;
        bool flipDiagram = false;
        double scaleVa = 0.0; // 0: automatic scaling
        double scaleVb = 0.0; // 0: automatic scaling
        bool referenceElement = true;
        bool extendedRangeTable = false;
        bool angleErrorAsDifferenceActualNominal = false;
    };

    enum class BarDiagramType : std::int32_t {
        fp = 0,
        Fp_j = 1,
        Fpk_j = 2,
        fu = 3,
        Fr_j = 4,
        fr_j = 5,
        runout_da_j = 6,
        runout_df_j = 7,
        st_j = 8,
        svt_j = 9,
        sbt_j = 10,
        sn_j = 11,
        svn_j = 12,
        sbn_j = 13,
        at_j = 14,
        avt_j = 15,
        abt_j = 16,
        an_j = 17,
        avn_j = 18,
        abn_j = 19,
    };
    // One row per bar diagram type, by its value: the diagram's element path below "protocol", the feature
    // whose bars it draws and the feature of its default extra line ("" for none).
    struct BarDiagramRow {
        const char* key;
        const char* feature;
        const char* extraFeature;
    };
    static constexpr std::array<BarDiagramRow, 20> bar_diagrams{{
        {"pitch/bar_diagram/fp", "fp", ""},
        {"pitch/bar_diagram/Fp_j", "Fp_j", ""},
        {"pitch/bar_diagram/Fpk_j", "Fpk_j", ""},
        {"pitch/bar_diagram/fu", "fu", "fum"},
        {"pitch/bar_diagram/Fr_j", "Fr_j", "Fr"},
        {"pitch/bar_diagram/fr_j", "fr_j", "fr"},
        {"tip_circle/bar_diagram/runout_da_j", "Fra_j", "Fra"},
        {"root_circle/bar_diagram/runout_df_j", "Frf_j", "Frf"},
        {"pitch/bar_diagram/st_j", "st_j", "st"},
        {"pitch/bar_diagram/svt_j", "svt_j", "svt"},
        {"pitch/bar_diagram/sbt_j", "sbt_j", "sbt"},
        {"pitch/bar_diagram/sn_j", "sn_j", "sn"},
        {"pitch/bar_diagram/svn_j", "svn_j", "svn"},
        {"pitch/bar_diagram/sbn_j", "sbn_j", "sbn"},
        {"pitch/bar_diagram/at_j", "at_j", "at"},
        {"pitch/bar_diagram/avt_j", "avt_j", "avt"},
        {"pitch/bar_diagram/abt_j", "abt_j", "abt"},
        {"pitch/bar_diagram/an_j", "an_j", "an"},
        {"pitch/bar_diagram/avn_j", "avn_j", "avn"},
        {"pitch/bar_diagram/abn_j", "abn_j", "abn"},
    }};

    // An additional line drawn in a bar diagram.
    struct BarDiagramExtraLine {
        std::string feature;
        bool enabled = false;
    };

    // Numeric extra settings, named by their path below "protocol/other".
    enum class OtherType : std::int32_t {
        RootModificationAmount = 0,
        TipModificationAmount = 1,
    };
    static constexpr std::array<const char*, 2> other_names{"design_profile/root_modification_amount",
                                                            "design_profile/tip_modification_amount"};
    struct OtherData {
        std::string name;
        EnableDisable enabled;
        double value = 0.0;
    };

    static constexpr std::array<const char*, 2> topography_graph_types{"PLAIN", "COLORED"};
    // the scale value written as "auto"
    static constexpr double scale_val_auto = 0.0;

    // The flip-diagram defaults come from the suite settings "gear.protocol.profile.flip_diagram" and
    // "gear.protocol.lead.flip_diagram" (on when non-zero), asked once per construction.
    ProtocolSettings();
    ProtocolSettings(const ProtocolSettings&) = default;
    ProtocolSettings& operator=(const ProtocolSettings&) = default;
    virtual ~ProtocolSettings();

    // `profile` selects the profile parameters, else the lead parameters. true
    bool getProfLeadParameters(bool profile, parametersProfLead& parameters) const;
    void setProfLeadParameters(bool profile, const parametersProfLead& parameters);

    // Both throw "illegal output type" for a unit of 6 or more.
    bool getOutput(OutputUnit unit) const;
    void setOutput(OutputUnit unit, bool enabled);

    // Both throw "illegal bar diagram type" for a type of 20 or more. The getter copies the extra lines into
    // *extraLines when it is given; the setter replaces them by a copy of *extraLines, by none for null.
    bool getBarDiagram(BarDiagramType type, bool& enabled, double& scale,
                       std::vector<BarDiagramExtraLine>* extraLines) const;
    void setBarDiagram(BarDiagramType type, bool enabled, double scale,
                       const std::vector<BarDiagramExtraLine>* extraLines);
    // the feature whose bars the diagram draws; throws "illegal bar diagram type" for a type of 20 or more
    const std::string& getBarDiagramFeature(BarDiagramType type) const;

    bool getPitchSingleValueTable() const noexcept { return pitchSingleValueTable_; }
    void setPitchSingleValueTable(bool on) noexcept { pitchSingleValueTable_ = on; }
    bool getPitchResultsOverviewTable() const noexcept { return pitchResultsOverviewTable_; }
    void setPitchResultsOverviewTable(bool on) noexcept { pitchResultsOverviewTable_ = on; }

    // returns false when no setting of that type is stored
    bool getOtherSettings(OtherType type, bool& enabled, double& value) const;
    // Inserts or replaces the setting. returns false, storing nothing, for a type outside the table.
    bool setOtherSettings(OtherType type, bool enabled, double value);
    // every stored setting by name, also those of names the library does not know
    const std::map<std::string, OtherData>& getAllOtherSettings() const noexcept { return other_; }

    // returns false when no name is stored for the side
    bool getFlankName(Side side, std::string& name) const;
    void setFlankName(Side side, const std::string& name);

    // true
    bool getAddendumModificationVariant(AddendumModificationVariant& variant) const;
    void setAddendumModificationVariant(AddendumModificationVariant variant);

    // true
    bool getTopographyGrahpType(std::string& type) const;
    // throws "illegal topography graph type" unless the text is one of topography_graph_types
    void setTopographyGraphType(const std::string& type);

    bool getTwistOnSeparatedPages() const noexcept { return twistOnSeparatedPages_; }
    void setTwistOnSeparatedPages(bool on) noexcept { twistOnSeparatedPages_ = on; }
    bool getOutputFeedmarkProtocol() const noexcept { return outputFeedmarkProtocol_; }
    void setOutputFeedmarkProtocol(bool on) noexcept { outputFeedmarkProtocol_ = on; }
    bool getOutputRootscanProtocol() const noexcept { return outputRootscanProtocol_; }
    void setOutputRootscanProtocol(bool on) noexcept { outputRootscanProtocol_ = on; }
    bool getCreateEasyContourResults() const noexcept { return createEasyContourResults_; }
    void setCreateEasyContourResults(bool on) noexcept { createEasyContourResults_ = on; }

    ProtocolHeader getHeader() const { return header_; }
    void setHeader(const ProtocolHeader& header) { header_ = header; }

    // Every setting but the number per side and the flip-diagram flag of the profile and lead parameters;
    // scales and values count as equal within 1e-6.
    bool operator==(const ProtocolSettings& other) const;
    bool operator!=(const ProtocolSettings& other) const { return !(*this == other); }

    // Writes the element "protocol" below the node at `basePath` (the document element when empty), reusing
    // an existing one and replacing the children it writes; other children stay. returns false for a null
    // wrapper, a missing base node or a failed write.
    bool saveXML(host::MSXMLWrapper* xml, const std::string& basePath) const;
    // Without a "protocol" element nothing changes and the result is true. Parts that are missing keep their
    // settings; a part that does not read makes the result false and keeps what was read before the failure.
    bool loadXML(host::MSXMLWrapper* xml, const std::string& basePath);

private:
    struct BarDiagram {
        std::string feature;
        bool enabled = false;
        double scale = 0.0;
        std::vector<BarDiagramExtraLine> extraLines;
    };
    using BarDiagrams = std::array<BarDiagram, bar_diagrams.size()>;
    // The bar diagrams as every new settings object has them, built once.
    static const std::shared_ptr<const BarDiagrams>& defaultBarDiagrams();
    // The bar diagrams for a change: copied first while other settings share them.
    BarDiagrams& ownBarDiagrams();

    parametersProfLead& profLead(bool profile) noexcept { return profile ? profile_ : lead_; }
    BarDiagram& barDiagram(BarDiagramType type);
    const BarDiagram& barDiagram(BarDiagramType type) const;

    bool saveProfLead(host::MSXMLWrapper& xml, host::XMLNode protocol, Measurement_Type type) const;
    bool savePitch(host::MSXMLWrapper& xml, host::XMLNode protocol) const;
    bool saveOther(host::MSXMLWrapper& xml, host::XMLNode protocol) const;
    bool saveGeometry(host::MSXMLWrapper& xml, host::XMLNode protocol, const std::string& geometryPath) const;
    bool saveFlags(host::MSXMLWrapper& xml, host::XMLNode protocol) const;
    bool loadOutputUnits(host::MSXMLWrapper& xml, host::XMLNode protocol);
    void loadProfLead(host::MSXMLWrapper& xml, host::XMLNode protocol, Measurement_Type type);
    bool loadPitch(host::MSXMLWrapper& xml, host::XMLNode protocol);
    bool loadOther(host::MSXMLWrapper& xml, host::XMLNode protocol);
    bool loadGeometry(host::MSXMLWrapper& xml, host::XMLNode protocol, const std::string& geometryPath);
    bool loadFlags(host::MSXMLWrapper& xml, host::XMLNode protocol);

    parametersProfLead profile_;
    parametersProfLead lead_;
    ProtocolHeader header_;
    bool pitchSingleValueTable_ = false;
    bool pitchResultsOverviewTable_ = true;
    std::array<bool, output_keys.size()> outputs_{true, false, false, false, false, false};
    // Shared between copies until one of them changes its diagrams, so that a new or copied object does not
    // build them again.
    std::shared_ptr<const BarDiagrams> barDiagrams_;
    std::map<std::string, OtherData> other_;
    AddendumModificationVariantClass addendumModificationVariant_;
    std::map<Side, std::string> flankNames_;
    bool twistOnSeparatedPages_ = false;
    std::string topographyGraphType_ = topography_graph_types[0];
    bool outputFeedmarkProtocol_ = true;
    bool outputRootscanProtocol_ = true;
    bool createEasyContourResults_ = false;
};

} // namespace kest::gear
