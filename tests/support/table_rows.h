#pragma once
// A failing row of a parameterised test shows by its name in GoogleTest's report, not as
// the bytes of the row. GoogleTest finds PrintTo in the namespace of the row's type: a test
// file says `using test_support::PrintTo;` in the namespace that declares its rows.

#include <ostream>
#include <string_view>

namespace quorlex::test_support {

template <typename Row>
  requires requires(const Row& row) { std::string_view(row.name); }
void PrintTo(const Row& row, std::ostream* out) {
  *out << row.name;
}

}  // namespace quorlex::test_support
