#pragma once
// A strict reader of multipart/form-data bodies: it accepts what a form encoder writes and
// rejects everything else with a reason, never guessing.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorlex::gateway {

struct FormPart {
  std::string name;
  std::string value;
  bool operator==(const FormPart&) const = default;
};

// The boundary parameter of a multipart/form-data Content-Type; none (with the reason in
// error) for another media type or a missing or invalid boundary.
std::optional<std::string> formBoundary(std::string_view contentType, std::string& error);

// The parts in order. The body starts with the first delimiter, each part has a
// Content-Disposition of form-data with a name, and the close delimiter ends the body,
// followed by nothing or by CR LF and an epilogue.
std::optional<std::vector<FormPart>> parseFormData(std::string_view body, std::string_view boundary, std::string& error);

}  // namespace quorlex::gateway
