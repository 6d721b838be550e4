#include "text_format.h"

#include <kest/gear/unset_value.h>

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace kest::gearfile {
namespace {

constexpr std::size_t sectionIndent = 2;

} // namespace

std::string formatNumber(double value) {
    if (gear::isUnset(value)) return std::string(notSetText);
    // Six decimals resolve a micrometre fraction in mm and a microdegree; the files hold fewer digits, and
    // the trimming hides the noise of the radian round trip of angles (15 deg reads back
    // as 15.000000000000002).
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    std::string result(text);
    if (result.find('.') != std::string::npos) {
        result.erase(result.find_last_not_of('0') + 1);
        if (result.back() == '.') result.pop_back();
    }
    if (result == "-0") result = "0";
    return result;
}

std::string formatQuantity(double value, std::string_view unit) {
    if (gear::isUnset(value)) return std::string(notSetText);
    return formatNumber(value) + " " + std::string(unit);
}

void FieldTable::field(std::string label, std::string value) {
    rows_.push_back({false, inSection_, blankPending_, std::move(label), std::move(value)});
    blankPending_ = false;
}

void FieldTable::section(std::string title) {
    rows_.push_back({true, false, !rows_.empty(), std::move(title), {}});
    inSection_ = true;
    blankPending_ = false;
}

void FieldTable::endSection() {
    inSection_ = false;
    blankPending_ = true;
}

void FieldTable::print(std::ostream& out) const {
    std::size_t column = 0;
    for (const Row& row : rows_)
        if (!row.isTitle)
            column = std::max(column, (row.indented ? sectionIndent : 0) + row.label.size() + 1);
    column += 1; // at least one space between the colon and the value

    for (const Row& row : rows_) {
        if (row.blankBefore) out << '\n';
        if (row.isTitle) {
            out << row.label << '\n';
            continue;
        }
        std::string head = std::string(row.indented ? sectionIndent : 0, ' ') + row.label + ":";
        head.resize(column, ' ');
        out << head << row.value << '\n';
    }
}

} // namespace kest::gearfile
