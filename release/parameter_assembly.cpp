#include "release/parameter_assembly.h"

#include <limits>
#include <memory>
#include <new>
#include <string>

#include "common/text.h"
#include "release/host_log.h"
#include "release/host_read.h"

namespace quorlex {
namespace {

bool isCSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

}  // namespace

std::int32_t parameterIndex(std::u16string_view destination) {
  constexpr std::u16string_view marker = u"PARM";
  std::size_t at = destination.find(marker);
  if (at == std::u16string_view::npos) return -1;
  std::size_t i = at + marker.size();
  if (i >= destination.size()) return -1;

  while (i < destination.size() && isCSpace(destination[i])) ++i;
  bool negative = false;
  if (i < destination.size() && (destination[i] == u'+' || destination[i] == u'-')) {
    negative = destination[i] == u'-';
    ++i;
  }
  // Accumulate with saturation, so that any run of digits stays within 64 bits.
  constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < destination.size() && destination[i] >= u'0' && destination[i] <= u'9'; ++i) {
    magnitude = magnitude * 10 + (destination[i] - u'0');
    if (magnitude > limit) magnitude = limit;
  }
  std::int64_t number = negative ? -magnitude : magnitude;
  if (number > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (number < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(number);
}

bool addParameter(std::int32_t number, std::u16string_view value, MultipartForm& form) {
  if (number < firstParameter || number > lastParameter) return false;
  // A short append means the body could not grow: memory ran out, and the form must not be
  // posted with this parameter cut off.
  if (!form.addField(u"PARM" + decimalText(number), value)) throw std::bad_alloc();
  return true;
}

bool addTableRows(std::int32_t number, IValue& value, MultipartForm& form) {
  std::shared_ptr<IRowValues> rows;
  if (!hostRead(value.rowValues(0, rows)) || !rows) return false;
  std::int32_t count = 0;
  if (!hostRead(rows->count(count))) return false;
  for (std::int32_t row = 1; row <= count; ++row) {
    std::shared_ptr<IRowValue> item;
    if (!hostRead(rows->item(row, item)) || !item) continue;
    std::u16string text;
    if (!hostRead(item->value(text))) continue;
    if (!addParameter(number, text, form)) return false;
  }
  return true;
}

bool addParameters(IValues& values, MultipartForm& form) {
  std::int32_t count = 0;
  if (!hostSucceeded(values.count(count))) {
    logToHost(hostMessage::countOfValuesLine, levelError, hostMessage::countOfValuesText);
    return false;
  }
  for (std::int32_t position = 1; position <= count; ++position) {
    std::shared_ptr<IValue> value;
    if (!hostRead(values.item(position, value)) || !value) continue;
    std::u16string destination;
    std::u16string text;
    std::u16string tableName;
    if (!hostRead(value->destination(destination))) destination.clear();
    if (!hostRead(value->value(text))) text.clear();
    bool isTable = hostRead(value->tableName(tableName)) && !tableName.empty();
    std::int32_t number = parameterIndex(destination);
    if (isTable) {
      (void)addTableRows(number, *value, form);
    } else {
      (void)addParameter(number, text, form);
    }
  }
  return true;
}

}  // namespace quorlex
