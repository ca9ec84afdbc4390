#pragma once
// The rows of a table-driven test carry a name: the name generator gives it to each case, and
// gtest prints a row by it, so a failure names its row.

#include <concepts>
#include <ostream>
#include <string>

namespace tarvel::test {

struct NamedRow {
    const char* name;
};

template <std::derived_from<NamedRow> Row> void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

// The name generator of INSTANTIATE_TEST_SUITE_P for a table of named rows.
inline constexpr auto rowName = [](const auto& info) { return std::string(info.param.name); };

} // namespace tarvel::test
