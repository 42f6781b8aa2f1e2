#include "taskdialog/task_dialog_client.h"

#include <gtest/gtest.h>

#include "taskdialog/task_dialog.h"
#include "tests/taskdialog/fake_modal_framing.h"
#include "tests/taskdialog/fake_platform.h"
#include "tests/taskdialog/record_field.h"

namespace quorlex {
namespace {

using test_support::FakeDialogWindow;
using test_support::fakeWindow;
using test_support::field;

const ModuleHandle resources = test_support::fakeModule(0x5E);
constexpr ResultCode procedureNotFound = static_cast<ResultCode>(0x8007007F);

// comctl32 as DoModal sees it: missing, or with a TaskDialogIndirect that answers as set.
class FakeCommonControls : public IPlatformTaskDialog {
 public:
  ResultCode run(const std::function<ResultCode(const TaskDialogFunction&)>& show) override {
    ++loads;
    if (missing != resultOk) return missing;
    return show([this](const TASKDIALOGCONFIG* config, int* button, int*, int*) {
      ++calls;
      seen = config;
      if (result >= 0 && button != nullptr) *button = answer;
      return result;
    });
  }
  ResultCode missing = resultOk;
  ResultCode result = resultOk;
  int answer = 541;
  int loads = 0;
  int calls = 0;
  const TASKDIALOGCONFIG* seen = nullptr;
};

class FakeHelp : public IHelpRequests {
 public:
  Point cursorPosition() override { return {320, 240}; }
  void sendHelp(WindowHandle target, const HelpRequest& request) override {
    sent.emplace_back(target, request);
  }
  std::vector<std::pair<WindowHandle, HelpRequest>> sent;
};

class Client : public ::testing::Test {
 protected:
  TaskDialogClientServices services() {
    TaskDialogClientServices s;
    s.platformDialog = &platform;
    s.ownDialog = [this](const TASKDIALOGCONFIG* config, int* button, int* radio,
                         int* verification) {
      ++ownCalls;
      ownSaw = config;
      if (ownResult != resultOk) return ownResult;
      *button = ownAnswer;
      *radio = 10;
      *verification = 1;
      return resultOk;
    };
    s.framing = &framing;
    s.help = &help;
    s.resourceModule = resources;
    return s;
  }

  FakeCommonControls platform;
  test_support::FakeModalFraming framing;
  FakeHelp help;
  int ownCalls = 0;
  const TASKDIALOGCONFIG* ownSaw = nullptr;
  ResultCode ownResult = resultOk;
  int ownAnswer = 542;
};

TEST_F(Client, TheRequestStartsFilledForTheClient) {
  const WindowHandle parent = fakeWindow(0x77);
  CXTaskDialogMFCClient client(parent, services());
  const TASKDIALOGCONFIG& r = client.request();
  EXPECT_EQ(field(r.cbSize), sizeof(TASKDIALOGCONFIG));
  EXPECT_EQ(field(r.hwndParent), parent);
  EXPECT_EQ(field(r.hInstance), resources);
  EXPECT_NE(field(r.pfCallback), nullptr);
  EXPECT_EQ(field(r.lpCallbackData), reinterpret_cast<CallbackData>(&client));
  EXPECT_EQ(flagsOf(r), 0u);
  EXPECT_EQ(commonButtonsOf(r), 0u);
  EXPECT_EQ(field(r.pszWindowTitle), nullptr);
  EXPECT_EQ(field(r.pszMainIcon), nullptr);
  EXPECT_EQ(field(r.pButtons), nullptr);
  EXPECT_EQ(field(r.nDefaultButton), 0);
  EXPECT_EQ(field(r.cxWidth), 0u);
  EXPECT_EQ(client.GetSelectedButtonId(), 0);
  EXPECT_EQ(client.GetSelectedRadioButtonId(), 0);
  EXPECT_FALSE(client.IsVerificationChecked());
  EXPECT_EQ(client.windowHandle(), nullptr);
}

TEST_F(Client, ModifyFlagsRemovesThenAdds) {
  const struct {
    std::uint32_t start, remove, add, result;
  } cases[] = {
      {0x0011, 0x0010, 0x0020, 0x0021},
      {0x0000, 0x0000, 0x0010, 0x0010},
      {0x00FF, 0x00FF, 0x0000, 0x0000},
      {0x0010, 0x0010, 0x0010, 0x0010},  // added after removing
  };
  for (const auto& c : cases) {
    CXTaskDialogMFCClient client(nullptr, services());
    client.ModifyFlags(~0u, c.start);
    client.ModifyFlags(c.remove, c.add);
    EXPECT_EQ(flagsOf(client.request()), c.result) << c.start;
  }
}

TEST_F(Client, TextsAreCopied) {
  CXTaskDialogMFCClient client(nullptr, services());
  {
    std::u16string title = u"Required field not Mapped";
    std::u16string instruction = u"What would you like to do?";
    client.SetWindowTitle(title);
    client.SetMainInstruction(instruction, 0);
    title.assign(40, u'x');
    instruction.assign(40, u'y');
  }
  EXPECT_EQ(std::u16string_view(systemText(client.request().pszWindowTitle)),
            u"Required field not Mapped");
  EXPECT_EQ(std::u16string_view(systemText(client.request().pszMainInstruction)),
            u"What would you like to do?");
}

TEST_F(Client, ButtonsAndTheDefault) {
  const TASKDIALOG_BUTTON links[] = {{541, recordText(u"Map")}, {542, recordText(u"Ignore")}};
  CXTaskDialogMFCClient client(nullptr, services());
  client.SetDefaultButton(541);
  client.SetButtons(links, 2);
  EXPECT_EQ(field(client.request().pButtons), links);
  EXPECT_EQ(field(client.request().cButtons), 2u);
  EXPECT_EQ(field(client.request().nDefaultButton), 541);
  client.SetButtons(links, 2, 542);
  EXPECT_EQ(field(client.request().nDefaultButton), 542);
}

TEST_F(Client, MainIconIdTurnsTheHandleFlagOff) {
  CXTaskDialogMFCClient client(nullptr, services());
  client.ModifyFlags(0, TDF_USE_HICON_MAIN | TDF_USE_COMMAND_LINKS);
  client.SetMainIcon(11020);
  EXPECT_EQ(flagsOf(client.request()), TDF_USE_COMMAND_LINKS);
  EXPECT_EQ(textOrIdValue(client.request().pszMainIcon), 11020u);
  client.SetMainIcon(warningIconId);
  EXPECT_EQ(textOrIdValue(client.request().pszMainIcon), 0xFFFFu);
}

TEST_F(Client, ThePlatformDialogIsUsedWhenItWorks) {
  CXTaskDialogMFCClient client(nullptr, services());
  EXPECT_EQ(client.DoModal(), resultOk);
  EXPECT_EQ(platform.calls, 1);
  EXPECT_EQ(platform.seen, &client.request());
  EXPECT_EQ(ownCalls, 0);
  EXPECT_EQ(client.GetSelectedButtonId(), 541);
}

TEST_F(Client, APositiveAnswerOfThePlatformIsNoFailure) {
  platform.result = 1;
  CXTaskDialogMFCClient client(nullptr, services());
  EXPECT_EQ(client.DoModal(), 1);
  EXPECT_EQ(ownCalls, 0);
}

TEST_F(Client, TheOwnDialogStandsInForAMissingOrFailingPlatformDialog) {
  const struct {
    const char* what;
    ResultCode missing;
    ResultCode result;
    int platformCalls;
  } cases[] = {
      {"library or entry missing", procedureNotFound, resultOk, 0},
      {"platform dialog failed", resultOk, resultOutOfMemory, 1},
  };
  for (const auto& c : cases) {
    FakeCommonControls controls;
    controls.missing = c.missing;
    controls.result = c.result;
    TaskDialogClientServices s = services();
    s.platformDialog = &controls;
    ownCalls = 0;
    CXTaskDialogMFCClient client(nullptr, s);
    EXPECT_EQ(client.DoModal(), resultOk) << c.what;
    EXPECT_EQ(controls.calls, c.platformCalls) << c.what;
    EXPECT_EQ(ownCalls, 1) << c.what;
    EXPECT_EQ(ownSaw, &client.request()) << c.what;
    EXPECT_EQ(client.GetSelectedButtonId(), 542) << c.what;
    EXPECT_EQ(client.GetSelectedRadioButtonId(), 10) << c.what;
    EXPECT_TRUE(client.IsVerificationChecked()) << c.what;
  }
}

TEST_F(Client, WithoutAPlatformDialogTheOwnOneIsShown) {
  TaskDialogClientServices s = services();
  s.platformDialog = nullptr;
  CXTaskDialogMFCClient client(nullptr, s);
  EXPECT_EQ(client.DoModal(), resultOk);
  EXPECT_EQ(ownCalls, 1);
}

TEST_F(Client, AFailingOwnDialogIsTheAnswerAndTheAnswersStay) {
  platform.missing = procedureNotFound;
  ownResult = static_cast<ResultCode>(0x80070716);
  CXTaskDialogMFCClient client(nullptr, services());
  EXPECT_EQ(client.DoModal(), static_cast<ResultCode>(0x80070716));
  EXPECT_EQ(client.GetSelectedButtonId(), 0);
}

TEST_F(Client, BothDialogsRunInsideTheFramingWithTheHelpPrompt) {
  const WindowHandle page = fakeWindow(10);
  const WindowHandle sheet = fakeWindow(20);
  framing.windows[page].topLevel = sheet;
  framing.windows[page].helpPromptContext = 3;
  platform.missing = procedureNotFound;
  std::uint32_t contextWhileShown = 0;
  WindowHandle ownerWhileShown = nullptr;
  TaskDialogClientServices s = services();
  s.ownDialog = [&](const TASKDIALOGCONFIG* config, int*, int*, int*) {
    contextWhileShown = framing.windows[page].helpPromptContext;
    ownerWhileShown = config->hwndParent;
    return resultOk;
  };
  CXTaskDialogMFCClient client(page, s);
  client.SetMainInstruction(u"Instruction", 5);
  EXPECT_EQ(client.DoModal(), resultOk);
  EXPECT_EQ(contextWhileShown, 0x30005u);
  EXPECT_EQ(framing.windows[page].helpPromptContext, 3u);
  EXPECT_EQ(ownerWhileShown, page);
  EXPECT_EQ(framing.events.front(), "modeless disabled");
  EXPECT_EQ(framing.events.back(), "modeless enabled");
}

// A client whose handlers write down what reached them.
class RecordingClient : public CXTaskDialogMFCClient {
 public:
  using CXTaskDialogMFCClient::CXTaskDialogMFCClient;
  std::vector<std::string> calls;
  bool keepOpen = false;
  bool restartTimer = false;
  bool helpAsUsual = false;
  WindowHandle windowWhenConstructed = nullptr;

 protected:
  void OnDialogConstructed() override {
    windowWhenConstructed = windowHandle();
    calls.push_back("constructed");
  }
  void OnCreated() override { calls.push_back("created"); }
  bool OnButtonClicked(int id) override {
    calls.push_back("button " + std::to_string(id));
    return keepOpen;
  }
  void OnRadioButtonClicked(int id) override { calls.push_back("radio " + std::to_string(id)); }
  void OnHyperlinkClicked(const std::u16string& target) override {
    calls.push_back("link " + std::string(target.begin(), target.end()));
  }
  void OnExpandoButtonClicked(bool expanded) override {
    calls.push_back(std::string("expando ") + (expanded ? "1" : "0"));
  }
  void OnVerificationClicked(bool ticked) override {
    calls.push_back(std::string("verification ") + (ticked ? "1" : "0"));
  }
  void OnHelp() override {
    calls.push_back("help");
    if (helpAsUsual) CXTaskDialogMFCClient::OnHelp();
  }
  bool OnTimer(std::uint32_t ms) override {
    calls.push_back("timer " + std::to_string(ms));
    return restartTimer;
  }
  void OnNavigated() override { calls.push_back("navigated"); }
  void OnDestroyed() override { calls.push_back("destroyed"); }
};

CallbackResult notify(const CXTaskDialogMFCClient& client, std::uint32_t code, WParam wParam = 0,
                      LParam lParam = 0) {
  const TASKDIALOGCONFIG& r = client.request();
  return r.pfCallback(fakeWindow(0xD1A1), code, wParam, lParam, r.lpCallbackData);
}

TEST_F(Client, NotificationsReachTheirHandlers) {
  RecordingClient client(nullptr, services());
  static const char16_t target[] = u"help.htm";
  EXPECT_EQ(notify(client, TDN_DIALOG_CONSTRUCTED), 0);
  EXPECT_EQ(client.windowWhenConstructed, fakeWindow(0xD1A1));
  EXPECT_EQ(client.windowHandle(), fakeWindow(0xD1A1));
  EXPECT_EQ(notify(client, TDN_CREATED), 0);
  EXPECT_EQ(notify(client, TDN_NAVIGATED), 0);
  EXPECT_EQ(notify(client, TDN_BUTTON_CLICKED, 541), 0);
  client.keepOpen = true;
  EXPECT_EQ(notify(client, TDN_BUTTON_CLICKED, 542), 1);
  EXPECT_EQ(notify(client, TDN_HYPERLINK_CLICKED, 0, reinterpret_cast<LParam>(target)), 0);
  EXPECT_EQ(notify(client, TDN_TIMER, 200), 0);
  client.restartTimer = true;
  EXPECT_EQ(notify(client, TDN_TIMER, 1000), 1);
  EXPECT_EQ(notify(client, TDN_RADIO_BUTTON_CLICKED, 11), 0);
  EXPECT_EQ(notify(client, TDN_VERIFICATION_CLICKED, 1), 0);
  EXPECT_EQ(notify(client, TDN_HELP), 0);
  EXPECT_EQ(notify(client, TDN_EXPANDO_BUTTON_CLICKED, 0), 0);
  EXPECT_EQ(notify(client, 99), 0);
  EXPECT_EQ(notify(client, TDN_DESTROYED), 0);
  EXPECT_EQ(client.windowHandle(), nullptr);
  EXPECT_EQ(client.calls,
            (std::vector<std::string>{"constructed", "created", "navigated", "button 541",
                                      "button 542", "link help.htm", "timer 200", "timer 1000",
                                      "radio 11", "verification 1", "help", "expando 0",
                                      "destroyed"}));
}

TEST_F(Client, TheDefaultHandlersLetTheDialogEnd) {
  CXTaskDialogMFCClient client(nullptr, services());
  EXPECT_EQ(notify(client, TDN_BUTTON_CLICKED, 541), 0);
  EXPECT_EQ(notify(client, TDN_TIMER, 1000), 0);
}

TEST_F(Client, TheDefaultHelpAsksTheParent) {
  const WindowHandle parent = fakeWindow(0x77);
  RecordingClient client(parent, services());
  client.helpAsUsual = true;
  notify(client, TDN_DIALOG_CONSTRUCTED);
  notify(client, TDN_HELP);
  ASSERT_EQ(help.sent.size(), 1u);
  EXPECT_EQ(help.sent[0].first, parent);
  const HelpRequest& request = help.sent[0].second;
  EXPECT_EQ(request.contextType, 1);
  EXPECT_EQ(request.controlId, 0);
  EXPECT_EQ(request.item, fakeWindow(0xD1A1));
  EXPECT_EQ(request.contextId, 0u);
  EXPECT_EQ(request.mouse, (Point{320, 240}));

  RecordingClient orphan(nullptr, services());
  orphan.helpAsUsual = true;
  notify(orphan, TDN_HELP);
  EXPECT_EQ(help.sent.size(), 1u);  // no parent, nobody to ask
}

TEST(ClientServices, TheOneArgumentClientUsesTheInstalledServices) {
  int ownCalls = 0;
  TaskDialogClientServices installed;
  installed.ownDialog = [&](const TASKDIALOGCONFIG*, int* button, int*, int*) {
    ++ownCalls;
    *button = 7;
    return resultOk;
  };
  installed.resourceModule = resources;
  installTaskDialogClientServices(installed);
  {
    CXTaskDialogMFCClient client(nullptr);
    EXPECT_EQ(field(client.request().hInstance), resources);
    EXPECT_EQ(client.DoModal(), resultOk);
    EXPECT_EQ(client.GetSelectedButtonId(), 7);
  }
  installTaskDialogClientServices({});
  CXTaskDialogMFCClient bare;
  EXPECT_LT(bare.DoModal(), 0);
  EXPECT_EQ(bare.GetSelectedButtonId(), 0);
  EXPECT_EQ(ownCalls, 1);
}

// The setup sheet's question, shown by the own dialog over the in-memory platform.
class AskingThroughTheClient : public ::testing::Test {
 protected:
  int ask(int clicked) {
    platform.script = [clicked](FakeDialogWindow&, IDialogMessages& dialog) {
      dialog.onCommand(static_cast<WParam>(clicked), 0);
    };
    TaskDialogClientServices services;
    services.ownDialog = ownTaskDialogFunction(platform.services());
    services.resourceModule = test_support::componentModule;
    platform.addString(test_support::componentModule, 11011, u"Required field not Mapped");
    const std::u16string mapText =
        u"Map Required Fields\nReturn to the dialog and map the required fields, beginning with "
        u"'Parameter 4'.";
    const TASKDIALOG_BUTTON links[] = {
        {541, recordText(mapText.c_str())},
        {542, textOrIdFromId(11014)},
    };
    platform.addString(test_support::componentModule, 11014,
                       u"Ignore Requirement\nDo not map the Required fields and close this "
                       u"dialog immediately.");
    CXTaskDialogMFCClient client(nullptr, services);
    client.ModifyFlags(0, TDF_USE_COMMAND_LINKS);
    client.SetMainIcon(11020);
    client.SetWindowTitle(u"Required field not Mapped");
    client.SetMainInstruction(u"One or more fields that are marked as 'Required' have not been "
                              u"mapped. What would you like to do?",
                              0);
    client.SetButtons(links, 2);
    client.SetDefaultButton(541);
    (void)client.DoModal();
    return client.GetSelectedButtonId();
  }
  test_support::FakePlatform platform;
};

TEST_F(AskingThroughTheClient, TheChosenLinkIsTheAnswer) {
  EXPECT_EQ(ask(542), 542);
  EXPECT_EQ(platform.window->focus, 541);  // the default link had the focus
  EXPECT_EQ(platform.window->control(542).text,
            u"Ignore Requirement\nDo not map the Required fields and close this dialog "
            u"immediately.");
  EXPECT_EQ(ask(541), 541);
  EXPECT_EQ(platform.liveObjects(), 0u);
}

}  // namespace
}  // namespace quorlex
