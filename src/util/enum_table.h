#pragma once

// The machinery behind every vocabulary table: one constexpr array of rows per enumeration, each row holding
// a value with all of its forms, so that no form can be added in one direction and forgotten in the other. A
// table may be a std::array of rows or a span over a slice of one; rows need `value` and, for the walks that
// use them, `text` and `constant`.

#include <algorithm>
#include <array>
#include <cstddef>
#include <ranges>
#include <string>
#include <string_view>

namespace kest::gear::enum_table {

// A value with its text form and the number the suite exchanges.
template <typename E, typename C>
struct Row {
    E value;
    std::string_view text;
    C constant;
};

// A value with its text form only.
template <typename E>
struct TextRow {
    E value;
    std::string_view text;
};

template <typename Rows>
using RowOf = std::ranges::range_value_t<Rows>;

// returns nullptr for a value without a row (an integer cast to the enumeration by a caller)
template <typename Rows, typename E>
constexpr const RowOf<Rows>* byValue(const Rows& rows, E value) {
    const auto it = std::ranges::find(rows, value, &RowOf<Rows>::value);
    return it == std::ranges::end(rows) ? nullptr : &*it;
}

// returns nullptr for a text without a row; the comparison is exact
template <typename Rows>
constexpr const RowOf<Rows>* byText(const Rows& rows, std::string_view text) {
    const auto it = std::ranges::find(rows, text, &RowOf<Rows>::text);
    return it == std::ranges::end(rows) ? nullptr : &*it;
}

// returns nullptr for a constant without a row
template <typename Rows, typename C>
constexpr const RowOf<Rows>* byConstant(const Rows& rows, C constant) {
    const auto it = std::ranges::find(rows, constant, &RowOf<Rows>::constant);
    return it == std::ranges::end(rows) ? nullptr : &*it;
}

// The text of `value`, or `unknown` for a value without a row.
template <typename Rows, typename E>
std::string toText(const Rows& rows, E value, const char* unknown) {
    const auto* row = byValue(rows, value);
    return std::string(row != nullptr ? row->text : std::string_view(unknown));
}

// Stores the value of `text` in *out; returns false (and leaves *out alone) for an unknown text or a null
// out.
template <typename Rows, typename E>
bool fromText(const Rows& rows, std::string_view text, E* out) {
    if (out == nullptr) return false;
    const auto* row = byText(rows, text);
    if (row == nullptr) return false;
    *out = row->value;
    return true;
}

// The constant of `value`; throws `unknown` for a value without a row.
template <typename Rows, typename E>
auto toConstant(const Rows& rows, E value, const char* unknown) {
    const auto* row = byValue(rows, value);
    if (row == nullptr) throw unknown;
    return row->constant;
}

// The value of `constant`; throws `unknown` for a constant without a row.
template <typename Rows, typename C>
auto fromConstant(const Rows& rows, C constant, const char* unknown) {
    const auto* row = byConstant(rows, constant);
    if (row == nullptr) throw unknown;
    return row->value;
}

// The values of a table in row order, for the value lists; N is the row count (implied for a std::array).
template <std::size_t N, typename Rows>
constexpr auto valuesOf(const Rows& rows) {
    std::array<decltype(RowOf<Rows>::value), N> values{};
    std::ranges::transform(rows, values.begin(), &RowOf<Rows>::value);
    return values;
}

template <typename T, std::size_t N>
constexpr auto valuesOf(const std::array<T, N>& rows) {
    return valuesOf<N>(rows);
}

} // namespace kest::gear::enum_table
