#include "tools/host/setup_run.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "common/text.h"
#include "resources/string_table.h"
#include "setup/required_question.h"
#include "setup/setup_script.h"
#include "setup/task_dialog_question.h"

namespace quorlex::host {
namespace {

constexpr std::size_t mappingPage = 1;  // the sheet's pages: General, Data Mapping

// The reference host has no version resource, so the General page hides its version line.
class NoVersionResource final : public IVersionSource {
 public:
  std::optional<FixedVersionBlock> fixedVersionBlock() override { return std::nullopt; }
};

class HeadlessPlatform final : public ISetupPlatform {
 public:
  explicit HeadlessPlatform(HeadlessSheetScript script) : script_(std::move(script)) {}
  std::unique_ptr<ISetupSheet> createSheet() override { return std::make_unique<HeadlessSheet>(script_); }
  std::unique_ptr<IQuestionDialog> createQuestionDialog() override { return unattendedQuestions()(); }
  IVersionSource& versionSource() override { return version_; }

 private:
  HeadlessSheetScript script_;
  NoVersionResource version_;
};

void runSetupScript(MemoryHost& host, HeadlessSheetScript script) {
  TarvSetupScript setup(std::make_shared<HeadlessPlatform>(std::move(script)));
  setup.setSetupData(host.setupData());
  KfxReturnValue result = KFX_REL_ERROR;
  setup.OpenScript(result);
  setup.RunUI(result);
  setup.CloseScript(result);
}

std::string generalRefusal(const SetupChanges& changes, const ControlTexts& controls) {
  std::string reason = toUtf8(controls.refusal());
  for (const FieldSetting& setting : changes.settings) {
    if (setting.controlId == controls.refusedControl()) return "--set " + setting.argument + " refused: " + reason;
  }
  return "the General page refused " + toUtf8(setupFieldKey(controls.refusedControl())) + ": " + reason;
}

std::string refusal(const ParameterMapping& mapping, const std::string& reason) {
  return "--map " + mapping.argument + " refused: " + reason;
}

std::optional<std::uint32_t> menuCommand(const ChoiceMenu& menu, const ParameterMapping& mapping, std::string& error) {
  auto fromSubmenu = [&](std::u16string_view title, std::string_view fileMember) -> std::optional<std::uint32_t> {
    std::optional<std::uint32_t> command = menu.submenuCommand(title, mapping.text);
    if (!command) {
      error = refusal(mapping, "\"" + toUtf8(mapping.text) + "\" is not one of the \"" + toUtf8(title) +
                                   "\" (the host file's " + std::string(fileMember) + ")");
    }
    return command;
  };
  switch (mapping.source) {
    case MappingSource::None: return menu.find(noMappingTitle)->commandId;
    case MappingSource::TextConstant: return menu.find(textConstantTitle)->commandId;
    case MappingSource::IndexField: return fromSubmenu(indexFieldMenuTitle, "indexFields");
    case MappingSource::CaptureValue: return fromSubmenu(captureValueMenuTitle, "batchVariableNames");
  }
  return std::nullopt;
}

// The row a mapping leaves behind, to tell a choice the host could not make.
ParameterRow expectedRow(ParameterRow row, const ParameterMapping& mapping) {
  row.source = mapping.text;
  switch (mapping.source) {
    case MappingSource::None: row.sourceType = KFX_REL_UNDEFINED_LINK; break;
    case MappingSource::TextConstant: row.sourceType = KFX_REL_TEXTCONSTANT; break;
    case MappingSource::IndexField: row.sourceType = KFX_REL_INDEXFIELD; break;
    case MappingSource::CaptureValue: row.sourceType = KFX_REL_VARIABLE; break;
  }
  return row;
}

// Opens the item's menu, chooses the entry the mapping names, and types a constant's text.
bool choose(CPropertyPageSetupMapping& page, CMappedProperty& item, const ParameterMapping& mapping, std::string& error) {
  ChoiceMenu menu = item.openChoiceMenu();
  std::optional<std::uint32_t> command = menuCommand(menu, mapping, error);
  if (!command) return false;
  (void)page.onCommand(*command);
  if (mapping.source == MappingSource::TextConstant) item.endEdit(mapping.text);
  const ParameterRow& row = page.table()->row(item.rowIndex());
  if (row == expectedRow(row, mapping)) return true;
  error = refusal(mapping, "the host did not give that source");
  return false;
}

bool applyMappings(const std::vector<ParameterMapping>& mappings, CPropertyPageSetupMapping& page, std::string& error) {
  const CParameterTable& table = *page.table();
  std::vector<std::pair<CMappedProperty*, const ParameterMapping*>> chosen;
  for (const ParameterMapping& mapping : mappings) {
    std::int32_t row = table.findRow(mapping.parameter);
    CMappedProperty* item = row >= 0 ? page.grid().findItem(row) : nullptr;
    if (!item) {
      error = refusal(mapping, "there is no parameter \"" + toUtf8(mapping.parameter) + "\"; the parameters are PARM1 to PARM20");
      return false;
    }
    chosen.emplace_back(item, &mapping);
  }
  for (const PropertyGroup& group : page.grid().groups()) {
    for (const auto& item : group.items) {
      for (const auto& [target, mapping] : chosen) {
        if (target == item.get() && !choose(page, *item, *mapping, error)) return false;
      }
    }
  }
  return true;
}

std::string requiredRefusal(const CPropertyPageSetupMapping& page) {
  const CMappedProperty* item = page.grid().selected();
  if (!item) return "the Data Mapping page cannot be left";
  std::string destination = toUtf8(page.table()->row(item->rowIndex()).destination);
  return toUtf8(loadMessage(requiredQuestion::titleText)) + ": " + toUtf8(item->name()) + " (" + destination +
         ") is marked as required; map it with --map " + destination + "=...";
}

}  // namespace

QuestionDialogFactory unattendedQuestions() {
  TaskDialogClientServices services;
  services.ownDialog = [](const TASKDIALOGCONFIG* config, int* button, int*, int*) {
    if (button) *button = config->nDefaultButton;
    return resultOk;
  };
  return taskDialogQuestions(std::move(services));
}

bool playConfirmation(const SetupChanges& changes, HeadlessSheetSession& session, std::string& error) {
  for (const SetupFieldKey& field : setupFieldKeys) {
    for (const FieldSetting& setting : changes.settings) {
      if (setting.controlId == field.controlId) session.generalControls.setText(field.controlId, setting.value);
    }
  }
  if (!session.sequence.show(mappingPage)) {
    error = generalRefusal(changes, session.generalControls);
    return false;
  }
  CPropertyPageSetupMapping& page = session.pages.mapping;
  if (!applyMappings(changes.mappings, page, error)) return false;
  if (!session.sequence.pressOk()) {
    error = requiredRefusal(page);
    return false;
  }
  return true;
}

std::optional<SetupRecord> confirmSetup(const SetupRecord& record, const SetupChanges& changes, std::string& error) {
  MemoryHost host;
  host.record() = record;
  error.clear();
  runSetupScript(host, [&](HeadlessSheetSession& session) { return playConfirmation(changes, session, error); });
  if (!host.appliedRecord()) {
    if (error.empty()) error = "the setup sheet could not be shown";
    return std::nullopt;
  }
  return *host.appliedRecord();
}

namespace {

std::u16string mappingState(const ParameterRow& row) {
  std::u16string state;
  switch (row.sourceType) {
    case KFX_REL_UNDEFINED_LINK: state = u"No Mapping"; break;
    case KFX_REL_INDEXFIELD: state = u"Document Index Field"; break;
    case KFX_REL_TEXTCONSTANT: state = u"Text Constant"; break;
    case KFX_REL_VARIABLE: state = u"Kofax Capture Value"; break;
    default: state = u"source type " + decimalText(row.sourceType) + u", kept as stored"; break;
  }
  if (row.sourceType != KFX_REL_UNDEFINED_LINK && !row.isMapped()) state += u", empty: not stored";
  if (row.required) state += u", required";
  return state;
}

// Columns separated by two spaces, each as wide as its widest cell; no trailing blanks.
class Columns {
 public:
  void add(std::string indent, std::vector<std::u16string> cells) { rows_.push_back({std::move(indent), std::move(cells)}); }
  void line(std::string text) { rows_.push_back({std::move(text), {}}); }

  std::string text() const {
    std::vector<std::size_t> widths;
    for (const Row& row : rows_) {
      widths.resize(std::max(widths.size(), row.cells.size()));
      for (std::size_t i = 0; i < row.cells.size(); ++i) widths[i] = std::max(widths[i], characterCount(row.cells[i]));
    }
    std::string out;
    for (const Row& row : rows_) {
      std::u16string line;
      for (std::size_t i = 0; i < row.cells.size(); ++i) {
        if (i > 0) line += u"  ";
        line += row.cells[i];
        if (i + 1 < row.cells.size()) line.append(widths[i] - characterCount(row.cells[i]), u' ');
      }
      while (!line.empty() && line.back() == u' ') line.pop_back();
      out += row.indent + toUtf8(line) + "\n";
    }
    return out;
  }

 private:
  struct Row {
    std::string indent;
    std::vector<std::u16string> cells;
  };
  std::vector<Row> rows_;
};

std::u16string joined(const MenuEntry* submenu) {
  if (!submenu || submenu->entries.empty()) return u"(none)";
  std::u16string text;
  for (const MenuEntry& entry : submenu->entries) text += (text.empty() ? u"" : u", ") + entry.text;
  return text;
}

void describeGeneral(Columns& out, ControlTexts& controls) {
  out.line("General");
  for (const GeneralFieldControl& field : generalFieldControls) {
    if (field.controlId == generalControl::versionText && !controls.isShown(field.controlId)) continue;
    std::u16string label(field.label.substr(0, field.label.find(u':')));
    std::u16string_view key = setupFieldKey(field.controlId);
    if (!key.empty()) label += u" (" + std::u16string(key) + u")";
    std::u16string value = controls.text(field.controlId);
    if (field.controlId == generalControl::password && !value.empty()) value = u"********";
    out.add("  ", {label, value});
  }
}

void describeMapping(Columns& out, const CPropertyPageSetupMapping& page) {
  const CParameterTable& table = *page.table();
  out.line("Data Mapping");
  for (const PropertyGroup& group : page.grid().groups()) {
    out.line("  " + toUtf8(group.name));
    for (const auto& item : group.items) {
      // The description area's two lines, on one.
      std::u16string description;
      for (char16_t unit : item->description()) description += unit == u'\n' ? std::u16string(u" / ") : std::u16string(1, unit);
      out.add("    ", {item->name(), item->value(), mappingState(table.row(item->rowIndex())), description});
    }
  }
  ChoiceMenu offered;
  appendIndexFieldMenu(offered, table, u"");
  appendCaptureValueMenu(offered, table);
  out.line("  " + toUtf8(indexFieldMenuTitle) + ": " + toUtf8(joined(offered.find(indexFieldMenuTitle))));
  out.line("  " + toUtf8(captureValueMenuTitle) + ": " + toUtf8(joined(offered.find(captureValueMenuTitle))));
}

}  // namespace

std::string describeSetup(const SetupRecord& record) {
  MemoryHost host;
  host.record() = record;
  std::string text;
  runSetupScript(host, [&](HeadlessSheetSession& session) {
    Columns general;
    describeGeneral(general, session.generalControls);
    (void)session.sequence.show(mappingPage);
    Columns mapping;
    describeMapping(mapping, session.pages.mapping);
    text = toUtf8(session.layout.caption) + "\n\n" + general.text() + "\n" + mapping.text();
    return false;  // looked at, then cancelled
  });
  return text;
}

}  // namespace quorlex::host
