#include "setup/setup_script.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "setup_fakes.h"
#include "testhost/memory_host.h"

namespace quorlex {
namespace {

using test_support::ScriptedPlatform;
using test_support::SheetSession;
using test_support::hostFailure;
namespace id = generalControl;

std::vector<MemoryLink> withFixedLinks(std::vector<MemoryLink> links) {
  links.push_back({u"OriginalFolder", KFX_REL_BATCHFIELD, u"OriginalFolder"});
  links.push_back({u"First Page Original File Name", KFX_REL_VARIABLE, u"OriginalFileName"});
  links.push_back({u"OriginalFileNameExt", KFX_REL_BATCHFIELD, u"OriginalFileNameExt"});
  return links;
}

// Chooses an entry of the item's menu as the administrator would: opens it, finds the
// entry and sends its command to the page.
void choose(SheetSession& session, std::int32_t row, std::u16string_view submenu, std::u16string_view entry) {
  CPropertyPageSetupMapping& mapping = session.pages.mapping;
  CMappedProperty* item = mapping.grid().findItem(row);
  ASSERT_NE(item, nullptr);
  ChoiceMenu menu = item->openChoiceMenu();
  std::optional<std::uint32_t> command;
  if (submenu.empty()) {
    if (const MenuEntry* found = menu.find(entry)) command = found->commandId;
  } else {
    command = menu.submenuCommand(submenu, entry);
  }
  ASSERT_TRUE(command) << toUtf8(entry);
  EXPECT_TRUE(mapping.onCommand(*command));
}

class SetupScriptTest : public testing::Test {
 protected:
  void SetUp() override {
    host.record().name = u"AS400 Invoices";
    host.record().userName = u"QUSER";
    host.record().password = u"old";
    host.record().batchClassName = u"Invoices";
    host.record().docClassName = u"Invoice";
    host.record().customProperties = {{u"serverURL", u"http://old"}, {u"ExitProgramDelimiter", u""}};
    host.record().indexFields = {u"INV", u"Customer"};
    host.record().batchVariableNames = {u"Batch Name", u"Scan Date"};
    host.record().links = {{u"INV", KFX_REL_INDEXFIELD, u"PARM3"},
                           {u"Folder", KFX_REL_BATCHFIELD, u"PARM7"},
                           {u"stray", KFX_REL_TEXTCONSTANT, u"Elsewhere"},
                           {u"ABC", KFX_REL_TEXTCONSTANT, u"PARM20"}};
    script.setSetupData(host.setupData());
  }

  KfxReturnValue runUI() {
    KfxReturnValue result = KFX_REL_ERROR;
    script.RunUI(result);
    return result;
  }

  MemoryHost host;
  std::shared_ptr<ScriptedPlatform> platform = std::make_shared<ScriptedPlatform>();
  TarvSetupScript script{platform};
};

TEST_F(SetupScriptTest, OpenAndCloseSucceedAndSetupDataStays) {
  TarvSetupScript fresh(platform);
  EXPECT_EQ(fresh.SetupData(), nullptr);
  KfxReturnValue result = KFX_REL_ERROR;
  script.OpenScript(result);
  EXPECT_EQ(result, KFX_REL_SUCCESS);
  auto before = script.SetupData();
  result = KFX_REL_ERROR;
  script.CloseScript(result);
  EXPECT_EQ(result, KFX_REL_SUCCESS);
  EXPECT_EQ(script.SetupData(), before);
  MemoryHost other;
  auto replacement = other.setupData();
  script.setSetupData(replacement);
  EXPECT_EQ(script.SetupData(), replacement);
}

TEST_F(SetupScriptTest, ActionEventAnswersByValueAndChangesNothing) {
  SetupRecord before = host.record();
  for (std::int32_t action = -2; action <= 21; ++action) {
    KfxReturnValue result = KFX_REL_ERROR;
    script.ActionEvent(action, u"INV", u"Invoice Number", result);
    EXPECT_EQ(result, action >= 0 && action <= 13 ? KFX_REL_SUCCESS : KFX_REL_UNSUPPORTED) << action;
  }
  EXPECT_EQ(host.record(), before);
  EXPECT_EQ(host.applyCount(), 0);
}

TEST_F(SetupScriptTest, SheetHasTheCaptionAndLookAndTheTwoPagesInOrder) {
  std::vector<std::u16string> titles;
  platform->script = [&](SheetSession& session) {
    for (ISetupPage* page : session.pages.inOrder()) titles.emplace_back(page->title());
    return false;
  };
  EXPECT_EQ(runUI(), KFX_REL_SUCCESS);
  EXPECT_EQ(titles, (std::vector<std::u16string>{u"General", u"Data Mapping"}));
  ASSERT_EQ(platform->layouts.size(), 1u);
  const SetupSheetLayout& layout = platform->layouts[0];
  EXPECT_EQ(layout.caption, u"Tressaly Export Connector for AS400 Setup");
  EXPECT_EQ(layout.pageListWidth, 100);
  EXPECT_FALSE(layout.applyButton);
  EXPECT_EQ(layout.firstPage, 0u);
}

TEST_F(SetupScriptTest, CancelAfterEditingBothPagesTouchesNothing) {
  SetupRecord before = host.record();
  platform->script = [](SheetSession& session) {
    session.generalControls.setText(id::serverURL, u"http://new");
    session.generalControls.setText(id::password, u"new");
    EXPECT_TRUE(session.sequence.show(1));
    choose(session, 0, u"Document Index Fields", u"Customer");
    choose(session, 2, u"", u"No Mapping");
    return false;
  };
  EXPECT_EQ(runUI(), KFX_REL_SUCCESS);
  EXPECT_EQ(host.record(), before);
  EXPECT_EQ(host.applyCount(), 0);
  EXPECT_EQ(host.faults().calls(HostOperation::LinksRemoveAll), 0);
}

TEST_F(SetupScriptTest, OkWithoutChangesRewritesTheLinksAndApplies) {
  platform->script = [](SheetSession& session) { return session.sequence.pressOk(); };
  EXPECT_EQ(runUI(), KFX_REL_SUCCESS);
  EXPECT_EQ(host.applyCount(), 1);
  const SetupRecord& applied = *host.appliedRecord();
  EXPECT_EQ(applied.links, withFixedLinks({{u"INV", KFX_REL_INDEXFIELD, u"PARM3"},
                                           {u"Folder", KFX_REL_BATCHFIELD, u"PARM7"},
                                           {u"ABC", KFX_REL_TEXTCONSTANT, u"PARM20"}}));
  EXPECT_EQ(applied.password, u"old");
  // The empty stored delimiter is shown as "|" and stored so.
  EXPECT_EQ(applied.customProperties,
            (std::vector<std::pair<std::u16string, std::u16string>>{{u"serverURL", u"http://old"},
                                                                   {u"ExitProgramProgram", u""},
                                                                   {u"ExitProgramLibrary", u""},
                                                                   {u"ExitProgramDelimiter", u"|"}}));
}

TEST_F(SetupScriptTest, OkOnTheMappingPageStoresBothPagesThenLinksThenApply) {
  platform->script = [](SheetSession& session) {
    session.generalControls.setText(id::serverURL, u"http://127.0.0.1:8080");
    session.generalControls.setText(id::exitProgramName, u"INVPGM");
    EXPECT_TRUE(session.sequence.show(1));
    choose(session, 0, u"Kofax Capture Values", u"Scan Date");
    choose(session, 2, u"", u"Text Constant");  // empty constant: the link goes
    choose(session, 4, u"", u"Text Constant");
    session.pages.mapping.grid().findItem(4)->endEdit(u"EUR");
    choose(session, 19, u"Document Index Fields", u"Customer");
    return session.sequence.pressOk();
  };
  EXPECT_EQ(runUI(), KFX_REL_SUCCESS);
  ASSERT_EQ(host.applyCount(), 1);
  const SetupRecord& applied = *host.appliedRecord();
  EXPECT_EQ(applied.links, withFixedLinks({{u"Scan Date", KFX_REL_VARIABLE, u"PARM1"},
                                           {u"EUR", KFX_REL_TEXTCONSTANT, u"PARM5"},
                                           {u"Folder", KFX_REL_BATCHFIELD, u"PARM7"},
                                           {u"Customer", KFX_REL_INDEXFIELD, u"PARM20"}}));
  EXPECT_EQ(applied.customProperties.at(0).second, u"http://127.0.0.1:8080");
  EXPECT_EQ(applied.customProperties.at(1).second, u"INVPGM");
}

TEST_F(SetupScriptTest, OkWritesGeneralFieldsBeforeLinksAndAppliesLast) {
  std::vector<std::string> order;
  platform->script = [&](SheetSession& session) {
    bool ok = session.sequence.pressOk();
    order.push_back(host.faults().calls(HostOperation::SetupSetName) == 1 ? "general" : "no general");
    order.push_back(host.faults().calls(HostOperation::LinksRemoveAll) == 0 ? "links later" : "links already");
    return ok;
  };
  runUI();
  EXPECT_EQ(order, (std::vector<std::string>{"general", "links later"}));
  EXPECT_EQ(host.faults().calls(HostOperation::LinksRemoveAll), 1);
  EXPECT_EQ(host.faults().calls(HostOperation::Apply), 1);
}

TEST_F(SetupScriptTest, TheSheetIsRefusedWhileTheDelimiterIsTooLong) {
  int attempts = 0;
  platform->script = [&](SheetSession& session) {
    session.generalControls.setText(id::delimiter, u"||");
    ++attempts;
    EXPECT_FALSE(session.sequence.pressOk());
    EXPECT_FALSE(session.sequence.show(1));
    session.generalControls.setText(id::delimiter, u",");
    return session.sequence.pressOk();
  };
  runUI();
  EXPECT_EQ(attempts, 1);
  EXPECT_EQ(host.appliedRecord()->customProperties.back().second, u",");
}

TEST_F(SetupScriptTest, UnreadableLinksOpenUnmappedAndOkKeepsTheStoredLinks) {
  std::vector<MemoryLink> before = host.record().links;
  host.faults().fail(HostOperation::LinksCount, hostFailure);
  host.faults().fail(HostOperation::ValueNamesEnumerator, hostFailure);
  bool hadValues = true;
  platform->script = [&](SheetSession& session) {
    session.sequence.show(1);
    hadValues = session.pages.mapping.grid().findItem(0)->openChoiceMenu().find(u"Kofax Capture Values") != nullptr;
    for (const auto& item : session.pages.mapping.grid().groups()[0].items) EXPECT_EQ(item->value(), u"");
    return session.sequence.pressOk();
  };
  EXPECT_EQ(runUI(), KFX_REL_SUCCESS);
  EXPECT_FALSE(hadValues);
  EXPECT_EQ(host.faults().calls(HostOperation::LinksRemoveAll), 0);
  EXPECT_EQ(host.appliedRecord()->links, before);
}

TEST_F(SetupScriptTest, LinksThatCannotBeReplacedStayButGeneralFieldsAreApplied) {
  host.faults().fail(HostOperation::LinksRemoveAll, hostFailure);
  std::vector<MemoryLink> before = host.record().links;
  platform->script = [](SheetSession& session) {
    session.generalControls.setText(id::userName, u"NEWUSER");
    return session.sequence.pressOk();
  };
  EXPECT_EQ(runUI(), KFX_REL_SUCCESS);
  EXPECT_EQ(host.appliedRecord()->links, before);
  EXPECT_EQ(host.appliedRecord()->userName, u"NEWUSER");
}

TEST_F(SetupScriptTest, AFailingApplyIsNotReported) {
  host.faults().fail(HostOperation::Apply, hostFailure);
  platform->script = [](SheetSession& session) { return session.sequence.pressOk(); };
  EXPECT_EQ(runUI(), KFX_REL_SUCCESS);
  EXPECT_EQ(host.faults().calls(HostOperation::Apply), 1);
  EXPECT_FALSE(host.appliedRecord().has_value());
}

TEST_F(SetupScriptTest, EveryRunStartsAfreshFromTheSetupData) {
  platform->script = [](SheetSession& session) {
    session.sequence.show(1);
    choose(session, 0, u"", u"Text Constant");
    session.pages.mapping.grid().findItem(0)->endEdit(u"first");
    return false;
  };
  runUI();
  std::u16string secondRunValue = u"unset";
  platform->script = [&](SheetSession& session) {
    session.sequence.show(1);
    secondRunValue = session.pages.mapping.grid().findItem(0)->value();
    return false;
  };
  runUI();
  EXPECT_EQ(secondRunValue, u"");
}

TEST_F(SetupScriptTest, TheSystemsTableNeverAsksTheRequiredQuestion) {
  platform->script = [](SheetSession& session) {
    session.sequence.show(1);
    return session.sequence.pressOk();
  };
  runUI();
  EXPECT_TRUE(platform->questions.empty());
  EXPECT_EQ(host.applyCount(), 1);
}

TEST_F(SetupScriptTest, OkWithARequiredRowUnmappedAsksThroughThePlatformsDialog) {
  platform->answers = {541, 542};
  bool firstOk = true;
  platform->script = [&](SheetSession& session) {
    session.pages.mapping.table()->row(9).required = 1;
    session.sequence.show(1);
    firstOk = session.sequence.pressOk();  // "Map Required Fields": the sheet stays
    EXPECT_EQ(session.pages.mapping.grid().selected(), session.pages.mapping.grid().findItem(9));
    return session.sequence.pressOk();  // "Ignore Requirement": it closes
  };
  runUI();
  EXPECT_FALSE(firstOk);
  ASSERT_EQ(platform->questions.size(), 2u);
  EXPECT_EQ(platform->questions[0].buttons.at(0).text,
            u"Map Required Fields\nReturn to the dialog and map the required fields, beginning with 'Parameter 10'.");
  EXPECT_EQ(host.applyCount(), 1);
}

TEST_F(SetupScriptTest, CancelNeverAsksTheRequiredQuestion) {
  platform->script = [](SheetSession& session) {
    session.pages.mapping.table()->row(0).required = 1;
    session.sequence.show(1);
    return false;
  };
  runUI();
  EXPECT_TRUE(platform->questions.empty());
}

TEST_F(SetupScriptTest, WithoutSetupDataNoSheetIsShown) {
  TarvSetupScript bare(platform);
  KfxReturnValue result = KFX_REL_SUCCESS;
  bare.RunUI(result);
  EXPECT_EQ(result, KFX_REL_ERROR);
  EXPECT_EQ(platform->sheetsMade, 0);
}

TEST_F(SetupScriptTest, ASheetThatCannotBeMadeWritesNothing) {
  platform->sheetAvailable = false;
  EXPECT_EQ(runUI(), KFX_REL_SUCCESS);
  EXPECT_EQ(host.applyCount(), 0);
  EXPECT_EQ(host.faults().calls(HostOperation::SetupLinks), 0);
}

}  // namespace
}  // namespace quorlex
