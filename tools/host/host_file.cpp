#include "tools/host/host_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#include "common/text.h"
#include "tools/host/file_replacement.h"

namespace quorlex::host {
namespace {

using Json = nlohmann::ordered_json;

std::u16string text(const Json& value) { return fromUtf8(value.get_ref<const std::string&>()); }

std::u16string textMember(const Json& object, std::string_view name) {
  auto found = object.find(name);
  return found == object.end() ? std::u16string() : text(*found);
}

const Json& member(const Json& object, std::string_view name) {
  static const Json none;
  auto found = object.find(name);
  return found == object.end() ? none : *found;
}

// No host file comes near these; past them a file is refused before it costs memory or stack.
constexpr std::size_t maxFileBytes = std::size_t{256} << 20;
constexpr int maxNesting = 64;
// How much of a name or of the parser's last token a message quotes.
constexpr std::size_t maxQuotedBytes = 40;

// Text from the file as a message can show it: valid UTF-8, control characters as "?", and
// at most maxBytes of it, cut short with "...".
std::string printableExcerpt(std::string_view text, std::size_t maxBytes) {
  std::u16string units = fromUtf8(text.substr(0, maxBytes + 4));
  for (char16_t& unit : units) {
    if (unit < 0x20 || unit == 0x7F) unit = u'?';
  }
  std::string printable = toUtf8(units);
  if (printable.size() <= maxBytes && text.size() <= maxBytes) return printable;
  std::size_t cut = std::min(maxBytes, printable.size());
  while (cut > 0 && (static_cast<unsigned char>(printable[cut]) & 0xC0) == 0x80) --cut;
  return printable.substr(0, cut) + "...";
}

// What the JSON library would take silently and a host file must not hold: a key given twice
// in one object (the library keeps one of them) and nesting that the checks and the writer
// would follow down the call stack. A pass of its own over the text, before the parse: the
// library's parse callback costs time quadratic in the length of a list.
class StructureCheck final : public nlohmann::json_sax<Json> {
 public:
  std::optional<std::string> fault;

  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool number_integer(number_integer_t) override { return true; }
  bool number_unsigned(number_unsigned_t) override { return true; }
  bool number_float(number_float_t, const string_t&) override { return true; }
  bool string(string_t&) override { return true; }
  bool binary(binary_t&) override { return true; }
  bool start_object(std::size_t) override {
    keys_.emplace_back();
    return deeper();
  }
  bool key(string_t& name) override {
    if (keys_.back().insert(name).second) return true;
    fault = "the key \"" + printableExcerpt(name, maxQuotedBytes) + "\" is given twice in one object";
    return false;
  }
  bool end_object() override {
    keys_.pop_back();
    --depth_;
    return true;
  }
  bool start_array(std::size_t) override { return deeper(); }
  bool end_array() override {
    --depth_;
    return true;
  }
  // Syntax is the parse's to report, with its position.
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

 private:
  bool deeper() {
    if (++depth_ <= maxNesting) return true;
    fault = "it nests deeper than " + std::to_string(maxNesting) + " levels";
    return false;
  }

  int depth_ = 0;
  std::vector<std::set<std::string>> keys_;
};

// Checks the types of the members the host reads; the first fault found is the message.
class Checker {
 public:
  std::optional<std::string> fault;

  void object(const Json& value, const std::string& where) {
    if (!value.is_object()) complain(where, "an object");
  }
  void optionalText(const Json& object, std::string_view name, const std::string& where) {
    if (object.contains(name) && !object.at(std::string(name)).is_string()) complain(at(where, name), "a text");
  }
  void optionalTexts(const Json& object, std::string_view name, const std::string& where) {
    if (!object.contains(name)) return;
    const Json& list = object.at(std::string(name));
    if (!list.is_array()) return complain(at(where, name), "a list of texts");
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (!list[i].is_string()) complain(at(where, name) + "[" + std::to_string(i) + "]", "a text");
    }
  }
  void optionalTextMap(const Json& object, std::string_view name, const std::string& where) {
    if (!object.contains(name)) return;
    const Json& map = object.at(std::string(name));
    if (!map.is_object()) return complain(at(where, name), "an object of texts");
    for (const auto& [key, value] : map.items()) {
      if (!value.is_string()) complain(at(at(where, name), key), "a text");
    }
  }
  void complain(const std::string& where, const std::string& expected) {
    if (!fault) fault = "\"" + where + "\" must be " + expected;
  }
  static std::string at(const std::string& where, std::string_view name) {
    std::string shown = printableExcerpt(name, maxQuotedBytes);
    return where.empty() ? shown : where + "." + shown;
  }
};

void checkFields(Checker& check, const Json& document, const std::string& where) {
  if (!document.contains("fields")) return;
  const Json& fields = document.at("fields");
  std::string fieldsAt = Checker::at(where, "fields");
  if (!fields.is_object()) return check.complain(fieldsAt, "an object");
  for (const auto& [name, value] : fields.items()) {
    std::string fieldAt = Checker::at(fieldsAt, name);
    if (value.is_string()) continue;
    bool table = value.is_object() && value.contains("table") && value.at("table").is_string() &&
                 !value.at("table").get_ref<const std::string&>().empty() && value.contains("rows");
    if (!table) {
      check.complain(fieldAt, "a text, or a table: {\"table\": NAME, \"rows\": [TEXT, ...]}");
      continue;
    }
    check.optionalTexts(value, "rows", fieldAt);
  }
}

std::optional<std::string> checkHostFile(const Json& json) {
  Checker check;
  check.object(json, "the file");
  if (check.fault) return check.fault;
  check.optionalText(json, "batchClassName", "");
  check.optionalText(json, "docClassName", "");
  check.optionalTexts(json, "indexFields", "");
  check.optionalTexts(json, "batchVariableNames", "");
  if (json.contains("setup")) {
    const Json& setup = json.at("setup");
    check.object(setup, "setup");
    if (setup.is_object()) {
      for (const char* name : {"name", "userName", "password"}) check.optionalText(setup, name, "setup");
      check.optionalTextMap(setup, "customProperties", "setup");
      if (setup.contains("links")) {
        const Json& links = setup.at("links");
        if (!links.is_array()) check.complain("setup.links", "a list of links");
        for (std::size_t i = 0; links.is_array() && i < links.size(); ++i) {
          std::string where = "setup.links[" + std::to_string(i) + "]";
          check.object(links[i], where);
          if (!links[i].is_object()) continue;
          check.optionalText(links[i], "source", where);
          check.optionalText(links[i], "destination", where);
          if (links[i].contains("sourceType")) {
            const Json& type = links[i].at("sourceType");
            bool valid = type.is_number_integer() && type.get<std::int64_t>() >= INT32_MIN && type.get<std::int64_t>() <= INT32_MAX;
            if (!valid) check.complain(where + ".sourceType", "a whole number");
          }
        }
      }
    }
  }
  if (json.contains("documents")) {
    const Json& documents = json.at("documents");
    if (!documents.is_array()) check.complain("documents", "a list of documents");
    for (std::size_t i = 0; documents.is_array() && i < documents.size(); ++i) {
      std::string where = "documents[" + std::to_string(i) + "]";
      check.object(documents[i], where);
      if (!documents[i].is_object()) continue;
      checkFields(check, documents[i], where);
      check.optionalTextMap(documents[i], "variables", where);
      check.optionalTextMap(documents[i], "batchFields", where);
    }
  }
  return check.fault;
}

// Line and column (1-based) of a byte offset; the parser counts the offending byte too.
std::string position(std::string_view text, std::size_t byte) {
  std::size_t end = std::min(byte > 0 ? byte - 1 : 0, text.size());
  std::size_t line = 1;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < end; ++i) {
    if (text[i] == '\n') {
      ++line;
      lineStart = i + 1;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(end - lineStart + 1);
}

std::vector<std::u16string> textList(const Json& list) {
  std::vector<std::u16string> texts;
  if (list.is_array()) {
    for (const Json& item : list) texts.push_back(text(item));
  }
  return texts;
}

Json jsonTexts(const std::vector<std::u16string>& texts) {
  Json list = Json::array();
  for (const std::u16string& item : texts) list.push_back(toUtf8(item));
  return list;
}

MemoryValue resolve(const Json& document, const Json& link) {
  MemoryValue value;
  value.destination = textMember(link, "destination");
  std::string source = member(link, "source").is_string() ? member(link, "source").get<std::string>() : std::string();
  std::int64_t sourceType = KFX_REL_UNDEFINED_LINK;
  if (member(link, "sourceType").is_number_integer()) sourceType = member(link, "sourceType").get<std::int64_t>();
  auto lookUp = [&](std::string_view collection) -> const Json& { return member(member(document, collection), source); };
  switch (sourceType) {
    case KFX_REL_INDEXFIELD: {
      const Json& field = lookUp("fields");
      if (field.is_string()) {
        value.value = text(field);
      } else if (field.is_object()) {
        value.tableName = textMember(field, "table");
        value.rows = textList(member(field, "rows"));
      }
      break;
    }
    case KFX_REL_TEXTCONSTANT:
      value.value = fromUtf8(source);
      break;
    case KFX_REL_VARIABLE:
      if (lookUp("variables").is_string()) value.value = text(lookUp("variables"));
      break;
    case KFX_REL_BATCHFIELD:
      if (lookUp("batchFields").is_string()) value.value = text(lookUp("batchFields"));
      break;
    default:
      break;
  }
  return value;
}

// The stored properties, keeping the place of each one the file already had and adding new
// ones after them in the record's order.
Json mergedProperties(const Json& before, const std::vector<std::pair<std::u16string, std::u16string>>& properties) {
  auto valueOf = [&](const std::string& key) -> const std::u16string* {
    for (const auto& [name, value] : properties) {
      if (toUtf8(name) == key) return &value;
    }
    return nullptr;
  };
  Json merged = Json::object();
  if (before.is_object()) {
    for (const auto& [key, old] : before.items()) {
      if (const std::u16string* value = valueOf(key)) merged[key] = toUtf8(*value);
    }
  }
  for (const auto& [name, value] : properties) {
    std::string key = toUtf8(name);
    if (!merged.contains(key)) merged[key] = toUtf8(value);
  }
  return merged;
}

constexpr std::size_t lineWidth = 120;

// Appends the value on one line to out. Stops (false) as soon as out passes limit bytes, so
// that a large container costs no more than the line it could have been.
bool appendOneLine(std::string& out, const Json& value, std::size_t limit) {
  if (!value.is_structured() || value.empty()) {
    out += value.dump(-1, ' ', false, Json::error_handler_t::replace);
    return out.size() <= limit;
  }
  out += value.is_object() ? "{ " : "[";
  bool first = true;
  for (const auto& [key, item] : value.items()) {
    if (!first) out += ", ";
    first = false;
    if (value.is_object()) out += Json(key).dump(-1, ' ', false, Json::error_handler_t::replace) + ": ";
    if (out.size() > limit || !appendOneLine(out, item, limit)) return false;
  }
  out += value.is_object() ? " }" : "]";
  return out.size() <= limit;
}

// A container on one line where the line stays within lineWidth, else one member a line.
void writeJson(std::string& out, const Json& value, std::size_t indent, std::size_t lineStart) {
  std::string line;
  bool fits = appendOneLine(line, value, lineWidth - std::min(lineStart, lineWidth));
  if (!value.is_structured() || value.empty() || fits) {
    out += line;
    return;
  }
  std::string inner(indent + 2, ' ');
  out += value.is_object() ? "{\n" : "[\n";
  bool first = true;
  for (const auto& [key, item] : value.items()) {
    if (!first) out += ",\n";
    first = false;
    std::string prefix = inner;
    if (value.is_object()) prefix += Json(key).dump(-1, ' ', false, Json::error_handler_t::replace) + ": ";
    out += prefix;
    writeJson(out, item, indent + 2, prefix.size());
  }
  // Appended piece by piece: "\n" + std::string(...) trips GCC 12's -Wrestrict on mingw.
  out += '\n';
  out.append(indent, ' ');
  out += value.is_object() ? "}" : "]";
}

}  // namespace

std::string hostFileText(const HostFile& file) {
  std::string text;
  writeJson(text, file.json, 0, 0);
  return text + "\n";
}

std::optional<HostFile> parseHostFile(std::string_view text, const std::string& path, std::string& error) {
  HostFile file;
  file.path = path;
  try {
    StructureCheck structure;
    (void)Json::sax_parse(text, &structure);
    if (structure.fault) {
      error = path + ": not a valid host file: " + *structure.fault;
      return std::nullopt;
    }
    file.json = Json::parse(text);
  } catch (const Json::parse_error& failure) {
    // The library's message, from after its own "at line L, column C: " prefix; the token it
    // quotes last may be anything the file holds.
    std::string reason = failure.what();
    std::size_t colon = reason.find(": ");
    if (colon != std::string::npos) reason = reason.substr(colon + 2);
    constexpr std::string_view lastRead = "; last read: '";
    if (std::size_t quoted = reason.find(lastRead); quoted != std::string::npos && reason.ends_with("'")) {
      std::size_t start = quoted + lastRead.size();
      reason = reason.substr(0, start) + printableExcerpt(std::string_view(reason).substr(start, reason.size() - start - 1), maxQuotedBytes) + "'";
    }
    error = path + ": not valid JSON at " + position(text, failure.byte) + ": " + printableExcerpt(reason, 200);
    return std::nullopt;
  } catch (const Json::exception& failure) {
    // A number past the range of a double ("1e400") is the one fault the parser reports
    // without a position.
    std::string reason = failure.what();
    std::size_t bracket = reason.find("] ");
    if (bracket != std::string::npos) reason = reason.substr(bracket + 2);
    error = path + ": not valid JSON: " + printableExcerpt(reason, 200);
    return std::nullopt;
  }
  if (std::optional<std::string> fault = checkHostFile(file.json)) {
    error = path + ": not a valid host file: " + *fault;
    return std::nullopt;
  }
  return file;
}

std::optional<HostFile> loadHostFile(const std::string& path, std::string& error) {
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) {
    error = path + ": cannot read the file: it is a folder";
    return std::nullopt;
  }
  std::ifstream stream(path, std::ios::binary);
  if (!stream) {
    error = path + ": cannot read the file: " + std::strerror(errno);
    return std::nullopt;
  }
  // Read in pieces up to the limit, so that a device that never ends is refused too.
  std::string content;
  char piece[65536];
  while (stream.read(piece, sizeof piece) || stream.gcount() > 0) {
    content.append(piece, static_cast<std::size_t>(stream.gcount()));
    if (content.size() > maxFileBytes) {
      error = path + ": cannot read the file: it is larger than " + std::to_string(maxFileBytes >> 20) + " MiB";
      return std::nullopt;
    }
  }
  if (stream.bad()) {
    error = path + ": cannot read the file";
    return std::nullopt;
  }
  return parseHostFile(content, path, error);
}

SetupRecord setupRecord(const HostFile& file) {
  const Json& json = file.json;
  const Json& setup = member(json, "setup");
  SetupRecord record;
  record.batchClassName = textMember(json, "batchClassName");
  record.docClassName = textMember(json, "docClassName");
  record.indexFields = textList(member(json, "indexFields"));
  record.batchVariableNames = textList(member(json, "batchVariableNames"));
  if (!setup.is_object()) return record;
  record.name = textMember(setup, "name");
  record.userName = textMember(setup, "userName");
  record.password = textMember(setup, "password");
  for (const auto& [key, value] : member(setup, "customProperties").items()) {
    record.customProperties.emplace_back(fromUtf8(key), text(value));
  }
  for (const Json& link : member(setup, "links")) {
    std::int32_t sourceType = link.contains("sourceType") ? link.at("sourceType").get<std::int32_t>() : KFX_REL_UNDEFINED_LINK;
    record.links.push_back(MemoryLink{textMember(link, "source"), sourceType, textMember(link, "destination")});
  }
  return record;
}

std::size_t documentCount(const HostFile& file) {
  const Json& documents = member(file.json, "documents");
  return documents.is_array() ? documents.size() : 0;
}

std::vector<MemoryValue> documentValues(const HostFile& file, std::size_t index) {
  const Json& document = member(file.json, "documents").at(index);
  std::vector<MemoryValue> values;
  for (const Json& link : member(member(file.json, "setup"), "links")) values.push_back(resolve(document, link));
  return values;
}

void storeSetupRecord(HostFile& file, const SetupRecord& record) {
  Json& json = file.json;
  json["batchClassName"] = toUtf8(record.batchClassName);
  json["docClassName"] = toUtf8(record.docClassName);
  json["indexFields"] = jsonTexts(record.indexFields);
  json["batchVariableNames"] = jsonTexts(record.batchVariableNames);
  storeSetupSettings(file, record);
}

void storeSetupSettings(HostFile& file, const SetupRecord& record) {
  Json& setup = file.json["setup"];
  setup["name"] = toUtf8(record.name);
  setup["userName"] = toUtf8(record.userName);
  setup["password"] = toUtf8(record.password);
  setup["customProperties"] = mergedProperties(member(setup, "customProperties"), record.customProperties);
  Json links = Json::array();
  for (const MemoryLink& link : record.links) {
    links.push_back({{"source", toUtf8(link.source)}, {"sourceType", link.sourceType}, {"destination", toUtf8(link.destination)}});
  }
  setup["links"] = std::move(links);
}

bool saveHostFile(const HostFile& file, std::string& error) {
  // Written beside the file, flushed to the disk and renamed over it, so that a crash at any
  // point leaves the old file or the new one. A link is followed, so that it stays a link.
  std::error_code ignored;
  std::filesystem::path target = std::filesystem::canonical(file.path, ignored);
  if (target.empty()) target = file.path;
  std::string text = hostFileText(file);
  std::optional<std::string> failure = replaceFile(target, text);
  if (failure) error = file.path + ": " + *failure;
  return !failure;
}

}  // namespace quorlex::host
