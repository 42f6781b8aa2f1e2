#include "taskdialog/task_dialog_texts.h"

namespace quorlex {

LoadedText LoadText(ITaskDialogResources& resources, ModuleHandle module, RecordText field) {
  const std::uintptr_t value = textOrIdValue(field);
  if (value == 0) return {};
  if (isTextPointer(value)) return {resultOk, std::u16string(systemText(field))};
  std::optional<std::u16string> loaded =
      resources.loadString(module, static_cast<std::uint16_t>(value));
  if (!loaded || loaded->empty()) return {fromPlatformError(resources.lastError()), {}};
  return {resultOk, std::move(*loaded)};
}

std::u16string StripLinks(std::u16string_view text) {
  constexpr std::u16string_view closing = u"</A>";
  constexpr std::u16string_view opening = u"<A HREF=";
  std::u16string stripped;
  stripped.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t found = text.find(closing, at);
    if (found == std::u16string_view::npos) {
      stripped.append(text.substr(at));
      break;
    }
    stripped.append(text.substr(at, found - at));
    at = found + closing.size();
  }
  for (;;) {
    const std::size_t start = stripped.find(opening);
    if (start == std::u16string::npos) break;
    const std::size_t end = stripped.find(u'>', start + opening.size());
    if (end == std::u16string::npos) break;
    stripped.erase(start, end + 1 - start);
  }
  return stripped;
}

}  // namespace quorlex
