#pragma once
// The reference host's file: one release-setup record and the documents of a batch, as JSON.
// The parsed JSON is kept whole, so that a rewrite keeps every member it does not know.

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "testhost/memory_host.h"

namespace quorlex::host {

struct HostFile {
  std::string path;
  nlohmann::ordered_json json;
};

// Reads and checks the file. None when it cannot be read or is not valid, with one message
// that names the file (and for bad JSON the line and column) in error.
std::optional<HostFile> loadHostFile(const std::string& path, std::string& error);
// The same for text already read; path only names it in messages.
std::optional<HostFile> parseHostFile(std::string_view text, const std::string& path, std::string& error);

// The release-setup record the file describes; what it leaves out is empty.
SetupRecord setupRecord(const HostFile& file);

std::size_t documentCount(const HostFile& file);
// The values of one document (0-based) as the host resolves them: one per link, in order.
// Source type 0 takes the document's field (a table gives TableName and its rows), 1 the
// source text itself, 2 the document's variable, 3 its batch field; anything missing is empty.
std::vector<MemoryValue> documentValues(const HostFile& file, std::size_t index);

// Puts the record back into the JSON, leaving every member it does not cover as it was.
void storeSetupRecord(HostFile& file, const SetupRecord& record);
// Puts back only what the setup writes: the setup record's name, user name, password, custom
// properties (each where it stood) and links. The class names and what the host offers for
// mapping (indexFields, batchVariableNames) are the host's and stay as they are.
void storeSetupSettings(HostFile& file, const SetupRecord& record);
// The file's text as saveHostFile writes it, laid out as the examples are written by hand.
std::string hostFileText(const HostFile& file);
// Replaces the file at the path (or where a link there leads) with the JSON atomically: the
// old file or the new one, never part of either. False with the reason in error.
bool saveHostFile(const HostFile& file, std::string& error);

}  // namespace quorlex::host
