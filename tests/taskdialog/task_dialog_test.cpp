#include "taskdialog/task_dialog.h"

#include <gtest/gtest.h>

#include "tests/taskdialog/record_field.h"

#include "tests/taskdialog/dialog_template_reader.h"
#include "tests/taskdialog/recording_painter.h"
#include "tests/taskdialog/task_dialog_fixture.h"

namespace quorlex {
namespace {

using test_support::FakeDialogWindow;
using test_support::TaskDialogFixture;
using test_support::componentModule;
using test_support::fakeFontHeight;

constexpr ResultCode resourceNotFound = static_cast<ResultCode>(0x80070716);

class TaskDialogEntry : public TaskDialogFixture {
 protected:
  static void clickOk(FakeDialogWindow&, CXTaskDialog& dialog) { dialog.onCommand(idOk, 0); }
  std::optional<test_support::ReadTemplate> shown() const {
    return test_support::readDialogTemplate(platform.lastTemplate);
  }
};

TEST_F(TaskDialogEntry, WritesTheThreeAnswersAndReleasesEverything) {
  config.pszMainInstruction = recordText(u"Pick one");
  config.pszVerificationText = recordText(u"Remember");
  setRadioButtons({makeButton(10, u"First"), makeButton(11, u"Second")});
  config.dwCommonButtons = TDCBF_OK_BUTTON;
  ASSERT_EQ(run([this](FakeDialogWindow& window, CXTaskDialog& d) {
              window.setChecked(11, true);
              window.setChecked(10, false);
              window.setChecked(ids().verification, true);
              d.onCommand(idOk, 0);
            }),
            resultOk);
  EXPECT_EQ(button, idOk);
  EXPECT_EQ(radio, 11);
  EXPECT_EQ(verification, 1);
  EXPECT_EQ(platform.openMeasuringContexts, 0);
  dialog.reset();
  EXPECT_EQ(platform.liveObjects(), 0u);
}

TEST_F(TaskDialogEntry, AbsentAnswerAddressesAreSkipped) {
  dialog = std::make_unique<CXTaskDialog>(platform.services());
  platform.script = [](FakeDialogWindow&, IDialogMessages& d) { d.onCommand(idOk, 0); };
  EXPECT_EQ(dialog->TaskDialogIndirect(&config, nullptr, nullptr, nullptr), resultOk);
  EXPECT_EQ(dialog->TaskDialogIndirect(nullptr, &button, nullptr, nullptr), resultInvalidArgument);
}

TEST_F(TaskDialogEntry, AnEmptyTitleIsTheHostExecutable) {
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_EQ(shown()->title, u"host.exe");
}

TEST_F(TaskDialogEntry, TextsByIdComeFromTheRequestsModule) {
  platform.addString(test_support::callerModule, 11011, u"Required field not Mapped");
  platform.addString(test_support::callerModule, 11012, u"What would you like to do?");
  config.pszWindowTitle = textOrIdFromId(11011);
  config.pszMainInstruction = textOrIdFromId(11012);
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_EQ(shown()->title, u"Required field not Mapped");
  EXPECT_EQ(window().control(ids().instruction).text, u"What would you like to do?");
}

TEST_F(TaskDialogEntry, AMissingTextShowsNothingAndLeavesTheAnswers) {
  config.pszContent = textOrIdFromId(11099);
  EXPECT_EQ(run(clickOk), resourceNotFound);
  EXPECT_TRUE(platform.lastTemplate.empty());
  EXPECT_EQ(button, -100);
  EXPECT_EQ(radio, -100);
  EXPECT_EQ(verification, -100);
  dialog.reset();
  EXPECT_EQ(platform.liveObjects(), 0u);
}

TEST_F(TaskDialogEntry, MissingPlatformObjectsFailTheCallWithTheLastError) {
  const struct {
    const char* what;
    std::function<void(test_support::FakePlatform&, TASKDIALOGCONFIG&)> breakIt;
  } cases[] = {
      {"brush", [](auto& p, auto&) { p.failBrushes = true; }},
      {"hot arrow", [](auto& p, auto&) { p.missingIcons.insert(11022); }},
      {"shield", [](auto& p, auto&) { p.missingIcons.insert(11025); }},
      {"fonts", [](auto& p, auto&) { p.failFonts = true; }},
      {"device context", [](auto& p, auto&) { p.failMeasuring = true; }},
      {"metrics", [](auto& p, auto&) { p.fontHeight = std::nullopt; }},
      {"main icon by id",
       [](auto& p, auto& c) {
         p.missingIcons.insert(300);
         c.pszMainIcon = textOrIdFromId(300);
       }},
      {"main icon copy",
       [](auto& p, auto& c) {
         p.failCopies = true;
         c.pszMainIcon = textOrIdFromId(warningIconId);
       }},
      {"custom button text", [](auto&, auto& c) {
         static const TASKDIALOG_BUTTON missing{5, textOrIdFromId(11098)};
         c.pButtons = &missing;
         c.cButtons = 1;
       }},
  };
  for (const auto& c : cases) {
    test_support::FakePlatform platform;
    TASKDIALOGCONFIG config{};
    config.hInstance = test_support::callerModule;
    platform.lastErrorValue = 8;
    c.breakIt(platform, config);
    {
      CXTaskDialog dialog(platform.services());
      int answer = -100;
      EXPECT_EQ(dialog.TaskDialogIndirect(&config, &answer, nullptr, nullptr),
                static_cast<ResultCode>(0x80070008))
          << c.what;
      EXPECT_EQ(answer, -100) << c.what;
      EXPECT_TRUE(platform.lastTemplate.empty()) << c.what;
    }
    EXPECT_EQ(platform.liveObjects(), 0u) << c.what;
    EXPECT_EQ(platform.openMeasuringContexts, 0) << c.what;
  }
}

TEST_F(TaskDialogEntry, AFooterIconThatCannotBeLoadedIsLeftOut) {
  platform.missingIcons.insert(301);
  config.pszFooterIcon = textOrIdFromId(301);
  config.pszFooter = recordText(u"Footer");
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_EQ(ids().footerIcon, -1);
  EXPECT_NE(ids().footer, -1);
}

TEST_F(TaskDialogEntry, AWindowThatCannotBeCreatedAnswersMinusOne) {
  platform.windowCreationFails = true;
  EXPECT_EQ(run(nullptr), resultOk);
  EXPECT_EQ(button, -1);
  EXPECT_EQ(radio, -1);
  EXPECT_EQ(verification, 0);
}

TEST_F(TaskDialogEntry, AModalLoopThatCannotStartIsAFailure) {
  platform.modalFailure = {static_cast<ResultCode>(0x80070008), 0};
  EXPECT_EQ(run(nullptr), static_cast<ResultCode>(0x80070008));
  EXPECT_EQ(button, -100);
}

TEST_F(TaskDialogEntry, TheDialogRunsFromItsTemplateOwnedByTheParent) {
  config.hwndParent = reinterpret_cast<WindowHandle>(0x9A);
  config.pszMainInstruction = recordText(u"Hello");
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_EQ(platform.lastOwner, test_support::field(config.hwndParent));
  EXPECT_EQ(platform.lastTemplate, dialog->dialogTemplate());
  EXPECT_EQ(shown()->items.size(), dialog->layout().items.size());
  // The runner also gets the layout's pixels, which dialog units can only approximate.
  EXPECT_EQ(platform.lastPlacementClient, dialog->layout().client);
  ASSERT_EQ(platform.lastPlacementItems.size(), dialog->layout().items.size());
  for (std::size_t i = 0; i < dialog->layout().items.size(); ++i) {
    EXPECT_EQ(platform.lastPlacementItems[i].first, dialog->layout().items[i].id);
    EXPECT_EQ(platform.lastPlacementItems[i].second, dialog->layout().items[i].pixels);
  }
}

TEST_F(TaskDialogEntry, CommonButtonTextsComeFromTheComponentsStrings) {
  platform.addString(componentModule, 11009, u"Abbrechen");  // index 4: Cancel
  platform.addString(componentModule, 11005, u"");            // empty: the default stays
  config.dwCommonButtons = TDCBF_OK_BUTTON | TDCBF_CANCEL_BUTTON;
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_EQ(window().control(idCancel).text, u"Abbrechen");
  EXPECT_EQ(window().control(idOk).text, u"OK");
}

class GermanDialog : public CXTaskDialog {
 public:
  using CXTaskDialog::CXTaskDialog;

 protected:
  void LoadCommonButtonTexts() override { commonButtonTexts_[0] = u"Gut"; }
};

TEST_F(TaskDialogEntry, CommonButtonTextsCanBeLoadedDifferently) {
  GermanDialog german(platform.services());
  platform.script = [](FakeDialogWindow&, IDialogMessages& d) { d.onCommand(idOk, 0); };
  ASSERT_EQ(german.TaskDialogIndirect(&config, &button, nullptr, nullptr), resultOk);
  EXPECT_EQ(window().control(idOk).text, u"Gut");
}

TEST_F(TaskDialogEntry, IconsAreOwnedCopies) {
  const struct {
    std::uint32_t flags;
    std::uintptr_t mainValue;
    std::uint16_t expectedResource;
    int expectedSize;
  } cases[] = {
      {0, warningIconId, 11020, 32},
      {0, errorIconId, 11023, 32},
      {0, 300, 300, 0},  // the module's icon at the default size
  };
  for (const auto& c : cases) {
    test_support::FakePlatform platform;
    TASKDIALOGCONFIG config{};
    config.hInstance = test_support::callerModule;
    config.pszMainIcon = textOrIdFromId(static_cast<std::uint16_t>(c.mainValue));
    config.pszFooterIcon = textOrIdFromId(informationIconId);
    IconHandle drawnMain = nullptr;
    IconHandle drawnFooter = nullptr;
    platform.script = [&](FakeDialogWindow& window, IDialogMessages& d) {
      d.onCommand(idOk, 0);
      (void)window;
    };
    CXTaskDialog dialog(platform.services());
    ASSERT_EQ(dialog.TaskDialogIndirect(&config, nullptr, nullptr, nullptr), resultOk);
    const ElementIds& ids = dialog.layout().ids;
    ASSERT_NE(ids.mainIcon, -1);
    ASSERT_NE(ids.footerIcon, -1);
    // The icons the subclasses draw are the dialog's: find them through a repaint.
    for (const auto& [id, control] : platform.window->controls) {
      if (control.subclass != "icon") continue;
      test_support::RecordingPainter dc;
      static_cast<const CXTaskDialogIconStatic*>(control.subclassObject)->onPaint(dc);
      (id == ids.mainIcon ? drawnMain : drawnFooter) =
          reinterpret_cast<IconHandle>(std::stoull(dc.ops.at(0).substr(5), nullptr, 16));
    }
    const test_support::IconInfo main = platform.iconInfo(drawnMain);
    EXPECT_EQ(main.resource, c.expectedResource);
    EXPECT_EQ(main.size, c.expectedSize);
    EXPECT_EQ(main.copy, c.mainValue != 300);
    const test_support::IconInfo footer = platform.iconInfo(drawnFooter);
    EXPECT_EQ(footer.resource, 11024);
    EXPECT_EQ(footer.size, 16);
    EXPECT_TRUE(footer.copy);
  }
}

TEST_F(TaskDialogEntry, AGivenIconHandleIsCopied) {
  const IconHandle given = platform.loadIcon(test_support::callerModule, 400, 32);
  addFlags(TDF_USE_HICON_MAIN);
  config.hMainIcon = given;
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_NE(ids().mainIcon, -1);
  dialog.reset();
  EXPECT_EQ(platform.liveObjects(), 1u);  // only the caller's own icon is left
  EXPECT_TRUE(platform.isLive(given));
  platform.release(given);
}

TEST_F(TaskDialogEntry, TheLargeFontIsHalfAgainAsHighTruncated) {
  const struct {
    std::int32_t normal;
    int large;
  } cases[] = {{-12, -18}, {-13, -19}, {11, 16}};
  for (const auto& c : cases) {
    test_support::FakePlatform platform;
    platform.fontHeight = c.normal;
    TASKDIALOGCONFIG config{};
    config.pszMainInstruction = recordText(u"Big");
    config.pszContent = recordText(u"Small");
    platform.script = [](FakeDialogWindow&, IDialogMessages& d) { d.onCommand(idOk, 0); };
    CXTaskDialog dialog(platform.services());
    ASSERT_EQ(dialog.TaskDialogIndirect(&config, nullptr, nullptr, nullptr), resultOk);
    int bigFont = 0;
    int smallFont = 0;
    for (const auto& call : platform.measureCalls) {
      if (call.text == u"Big") bigFont = fakeFontHeight(call.font);
      if (call.text == u"Small") smallFont = fakeFontHeight(call.font);
    }
    EXPECT_EQ(bigFont, c.large) << c.normal;
    EXPECT_EQ(smallFont, c.normal);
  }
}

TEST_F(TaskDialogEntry, WithoutAMonitorTheScreenGivesTheWidth) {
  platform.monitorWidth = std::nullopt;
  platform.screen = 800;  // baseWidth = 480, textLimit = 460
  config.pszContent = recordText(u"Content");
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_EQ(platform.measureCalls.front().widthLimit, 460);
}

TEST_F(TaskDialogEntry, LinkMarkupIsStrippedOnlyWithHyperlinks) {
  config.pszContent = recordText(u"See <A HREF=\"x\">this</A>.");
  addFlags(TDF_ENABLE_HYPERLINKS);
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_EQ(window().control(ids().content).className, u"SysLink");
  EXPECT_EQ(window().control(ids().content).text, u"See <A HREF=\"x\">this</A>.");
  bool measuredStripped = false;
  for (const auto& call : platform.measureCalls) measuredStripped |= call.text == u"See this.";
  EXPECT_TRUE(measuredStripped);
}

TEST_F(TaskDialogEntry, DetailsStartExpandedByFlag) {
  config.pszExpandedInformation = recordText(u"More");
  addFlags(TDF_EXPANDED_BY_DEFAULT);
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_TRUE(dialog->expanded());
  EXPECT_TRUE(window().control(ids().details).visible);
  EXPECT_EQ(window().control(ids().detailsButton).text, u"Hide &details <<");
}

TEST_F(TaskDialogEntry, AnimationFollowsThePreferenceFromVersionSix) {
  platform.animationPreference = false;
  EXPECT_FALSE(CXTaskDialog(platform.services()).animates());
  platform.majorVersion = 5;
  EXPECT_TRUE(CXTaskDialog(platform.services()).animates());
}

}  // namespace
}  // namespace quorlex
