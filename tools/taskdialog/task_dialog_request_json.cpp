#include "tools/taskdialog/task_dialog_request_json.h"

#include <array>
#include <limits>
#include <nlohmann/json.hpp>
#include <utility>

#include "common/text.h"

namespace quorlex::tools {

using nlohmann::json;

namespace {

struct BadRequest {
  std::string message;
};

struct Named {
  std::string_view name;
  std::uint32_t value;
};

constexpr std::array<Named, 16> flagNames{{
    {"TDF_ENABLE_HYPERLINKS", TDF_ENABLE_HYPERLINKS},
    {"TDF_USE_HICON_MAIN", TDF_USE_HICON_MAIN},
    {"TDF_USE_HICON_FOOTER", TDF_USE_HICON_FOOTER},
    {"TDF_ALLOW_DIALOG_CANCELLATION", TDF_ALLOW_DIALOG_CANCELLATION},
    {"TDF_USE_COMMAND_LINKS", TDF_USE_COMMAND_LINKS},
    {"TDF_USE_COMMAND_LINKS_NO_ICON", TDF_USE_COMMAND_LINKS_NO_ICON},
    {"TDF_EXPAND_FOOTER_AREA", TDF_EXPAND_FOOTER_AREA},
    {"TDF_EXPANDED_BY_DEFAULT", TDF_EXPANDED_BY_DEFAULT},
    {"TDF_VERIFICATION_FLAG_CHECKED", TDF_VERIFICATION_FLAG_CHECKED},
    {"TDF_SHOW_PROGRESS_BAR", TDF_SHOW_PROGRESS_BAR},
    {"TDF_SHOW_MARQUEE_PROGRESS_BAR", TDF_SHOW_MARQUEE_PROGRESS_BAR},
    {"TDF_CALLBACK_TIMER", TDF_CALLBACK_TIMER},
    {"TDF_POSITION_RELATIVE_TO_WINDOW", TDF_POSITION_RELATIVE_TO_WINDOW},
    {"TDF_RTL_LAYOUT", TDF_RTL_LAYOUT},
    {"TDF_NO_DEFAULT_RADIO_BUTTON", TDF_NO_DEFAULT_RADIO_BUTTON},
    {"TDF_CAN_BE_MINIMIZED", TDF_CAN_BE_MINIMIZED},
}};

constexpr std::array<Named, 6> commonButtonNames{{
    {"OK", TDCBF_OK_BUTTON},
    {"Yes", TDCBF_YES_BUTTON},
    {"No", TDCBF_NO_BUTTON},
    {"Cancel", TDCBF_CANCEL_BUTTON},
    {"Retry", TDCBF_RETRY_BUTTON},
    {"Close", TDCBF_CLOSE_BUTTON},
}};

constexpr std::array<Named, 4> iconNames{{
    {"warning", warningIconId},
    {"error", errorIconId},
    {"information", informationIconId},
    {"shield", shieldIconId},
}};

// The fields a request may have; anything else is a mistake worth reporting.
constexpr std::array<std::string_view, 17> knownFields{
    "windowTitle", "mainInstruction", "content", "verificationText", "expandedInformation",
    "expandedControlText", "collapsedControlText", "footer", "flags", "commonButtons", "buttons",
    "defaultButton", "radioButtons", "defaultRadioButton", "mainIcon", "footerIcon", "width",
};

template <std::size_t N>
std::uint32_t bitsOf(const json& value, const std::array<Named, N>& names, std::string_view field) {
  if (value.is_number_unsigned()) return value.get<std::uint32_t>();
  if (!value.is_array()) throw BadRequest{std::string(field) + " is neither a number nor a list of names"};
  std::uint32_t bits = 0;
  for (const json& item : value) {
    bool found = false;
    for (const Named& named : names) {
      if (item.is_string() && item.get<std::string>() == named.name) {
        bits |= named.value;
        found = true;
      }
    }
    if (!found) throw BadRequest{std::string(field) + " names something unknown: " + item.dump()};
  }
  return bits;
}

int integerOf(const json& value, std::string_view field) {
  if (!value.is_number_integer() || value.get<std::int64_t>() < std::numeric_limits<int>::min() ||
      value.get<std::int64_t>() > std::numeric_limits<int>::max()) {
    throw BadRequest{std::string(field) + " is not a whole number"};
  }
  return value.get<int>();
}

class Reader {
 public:
  explicit Reader(TaskDialogRequest& request) : request_(request) {}

  RecordText text(const json& value, std::string_view field) {
    if (value.is_string()) {
      return recordText(request_.texts.emplace_back(fromUtf8(value.get<std::string>())).c_str());
    }
    if (value.is_number_unsigned() && value.get<std::uint64_t>() >= 1 && value.get<std::uint64_t>() <= 0xFFFF) {
      return textOrIdFromId(value.get<std::uint16_t>());
    }
    throw BadRequest{std::string(field) + " is neither a text nor a string id from 1 to 65535"};
  }

  RecordText icon(const json& value, std::string_view field) {
    if (value.is_string()) {
      for (const Named& named : iconNames) {
        if (value.get<std::string>() == named.name) return textOrIdFromId(static_cast<std::uint16_t>(named.value));
      }
      throw BadRequest{std::string(field) + " names no standard icon: " + value.dump()};
    }
    if (value.is_number_unsigned() && value.get<std::uint64_t>() <= 0xFFFF) {
      return textOrIdFromId(value.get<std::uint16_t>());
    }
    throw BadRequest{std::string(field) + " is neither an icon name nor an id up to 65535"};
  }

  std::vector<TASKDIALOG_BUTTON> buttons(const json& value, std::string_view field) {
    if (!value.is_array()) throw BadRequest{std::string(field) + " is not a list"};
    std::vector<TASKDIALOG_BUTTON> out;
    for (const json& item : value) {
      if (!item.is_object() || !item.contains("id") || !item.contains("text")) {
        throw BadRequest{std::string(field) + " holds an entry without id and text"};
      }
      TASKDIALOG_BUTTON button{};
      button.nButtonID = integerOf(item["id"], field);
      button.pszButtonText = text(item["text"], field);
      out.push_back(button);
    }
    return out;
  }

 private:
  TaskDialogRequest& request_;
};

void read(const json& request, TaskDialogRequest& out) {
  if (!request.is_object()) throw BadRequest{"the request is not a JSON object"};
  for (const auto& [name, value] : request.items()) {
    bool known = false;
    for (std::string_view field : knownFields) known = known || field == name;
    if (!known) throw BadRequest{"unknown field \"" + name + "\""};
  }
  Reader reader(out);
  TASKDIALOGCONFIG& c = out.record;
  c.cbSize = taskDialogConfigSize;
  // Assigned, not bound by reference: the portable record is packed.
  auto textField = [&](const char* name) -> RecordText {
    return request.contains(name) ? reader.text(request[name], name) : nullptr;
  };
  c.pszWindowTitle = textField("windowTitle");
  c.pszMainInstruction = textField("mainInstruction");
  c.pszContent = textField("content");
  c.pszVerificationText = textField("verificationText");
  c.pszExpandedInformation = textField("expandedInformation");
  c.pszExpandedControlText = textField("expandedControlText");
  c.pszCollapsedControlText = textField("collapsedControlText");
  c.pszFooter = textField("footer");
  if (request.contains("flags")) setFlags(c, bitsOf(request["flags"], flagNames, "flags"));
  // Icons are given by id here; handles cannot be written as JSON.
  if ((flagsOf(c) & (TDF_USE_HICON_MAIN | TDF_USE_HICON_FOOTER)) != 0) {
    throw BadRequest{"icon handles cannot be given in a request; name icons by id"};
  }
  if (request.contains("commonButtons")) {
    c.dwCommonButtons =
        static_cast<decltype(c.dwCommonButtons)>(bitsOf(request["commonButtons"], commonButtonNames, "commonButtons"));
  }
  if (request.contains("buttons")) out.buttons = reader.buttons(request["buttons"], "buttons");
  if (request.contains("radioButtons")) out.radioButtons = reader.buttons(request["radioButtons"], "radioButtons");
  if (request.contains("defaultButton")) c.nDefaultButton = integerOf(request["defaultButton"], "defaultButton");
  if (request.contains("defaultRadioButton")) {
    c.nDefaultRadioButton = integerOf(request["defaultRadioButton"], "defaultRadioButton");
  }
  if (request.contains("mainIcon")) c.pszMainIcon = reader.icon(request["mainIcon"], "mainIcon");
  if (request.contains("footerIcon")) c.pszFooterIcon = reader.icon(request["footerIcon"], "footerIcon");
  if (request.contains("width")) {
    const int width = integerOf(request["width"], "width");
    if (width < 0) throw BadRequest{"width is negative"};
    c.cxWidth = static_cast<decltype(c.cxWidth)>(width);
  }
}

}  // namespace

TASKDIALOGCONFIG TaskDialogRequest::config(ModuleHandle module) const {
  TASKDIALOGCONFIG c = record;
  c.hInstance = module;
  c.cButtons = static_cast<decltype(c.cButtons)>(buttons.size());
  c.pButtons = buttons.empty() ? nullptr : buttons.data();
  c.cRadioButtons = static_cast<decltype(c.cRadioButtons)>(radioButtons.size());
  c.pRadioButtons = radioButtons.empty() ? nullptr : radioButtons.data();
  return c;
}

std::unique_ptr<TaskDialogRequest> readTaskDialogRequest(std::string_view text, std::string& error) {
  auto request = std::make_unique<TaskDialogRequest>();
  try {
    read(json::parse(text), *request);
  } catch (const BadRequest& bad) {
    error = bad.message;
    return nullptr;
  } catch (const json::exception& bad) {
    error = std::string("not JSON: ") + bad.what();
    return nullptr;
  }
  return request;
}

std::string answersJson(int button, int radioButton, bool verification) {
  return json{{"button", button}, {"radioButton", radioButton}, {"verification", verification}}.dump();
}

}  // namespace quorlex::tools
