#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace kest::gearfile {

inline constexpr std::string_view notSetText = "not set";

// "not set" for the unset value; otherwise six decimals with trailing zeros and a trailing point removed, so
// that the values of a file come back as written (101.681, -0.1, 20) and -0 reads 0.
std::string formatNumber(double value);
// formatNumber followed by a space and `unit`; only "not set" for the unset value.
std::string formatQuantity(double value, std::string_view unit);

// Lines "label: value" with every value starting in one column. Fields added after a section title are
// indented below it until endSection(); each section is preceded by a blank line.
class FieldTable {
public:
    void field(std::string label, std::string value);
    void section(std::string title);
    void endSection();
    void print(std::ostream& out) const;

private:
    struct Row {
        bool isTitle;
        bool indented;
        bool blankBefore;
        std::string label;
        std::string value;
    };
    std::vector<Row> rows_;
    bool inSection_ = false;
    bool blankPending_ = false;
};

} // namespace kest::gearfile
