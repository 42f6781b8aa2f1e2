#include "taskdialog/task_dialog_request.h"

namespace quorlex {

std::optional<int> commonButtonId(std::uint32_t bit) {
  switch (bit) {
    case TDCBF_OK_BUTTON: return idOk;
    case TDCBF_YES_BUTTON: return idYes;
    case TDCBF_NO_BUTTON: return idNo;
    case TDCBF_CANCEL_BUTTON: return idCancel;
    case TDCBF_RETRY_BUTTON: return idRetry;
    case TDCBF_CLOSE_BUTTON: return idClose;
    default: return std::nullopt;
  }
}

CommandLinkText splitCommandLinkText(std::u16string_view text) {
  const std::size_t lineFeed = text.find(u'\n');
  if (lineFeed == std::u16string_view::npos) return {text, std::nullopt};
  return {text.substr(0, lineFeed), text.substr(lineFeed + 1)};
}

}  // namespace quorlex
