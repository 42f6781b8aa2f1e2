#pragma once
// The texts of a request as the own dialog reads them.

#include <string>
#include <string_view>

#include "common/result_code.h"
#include "taskdialog/own_dialog_services.h"
#include "taskdialog/task_dialog_request.h"

namespace quorlex {

struct LoadedText {
  ResultCode result = resultOk;
  std::u16string text;
};

// 0 gives the empty text; a value above 0xFFFF is copied as a zero-terminated text; any other
// value is a string resource of the module, and a missing or empty one is a failure (the last
// error OR 0x80070000).
LoadedText LoadText(ITaskDialogResources& resources, ModuleHandle module, RecordText field);

// The text without the upper-case link markup "<A HREF=...>" and "</A>", for measuring; the
// hyperlink control still gets the text as it was.
std::u16string StripLinks(std::u16string_view text);

}  // namespace quorlex
