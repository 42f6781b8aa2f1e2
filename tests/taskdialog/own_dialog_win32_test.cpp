// The own dialog on screen under the platform's window manager: where its controls sit, what
// its bands and command links look like, how its details, callback messages and timer behave,
// and that it gives back every GDI and window object it makes.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "taskdialog/background_bands.h"
#include "taskdialog/dialog_runner_win32.h"
#include "taskdialog/own_dialog_platform_win32.h"
#include "tests/taskdialog/on_screen_win32.h"

namespace quorlex::test_support {
namespace {

const std::string requiredQuestion = R"({"windowTitle": "Required field not Mapped",
  "mainInstruction": "One or more fields that are marked as 'Required' have not been mapped. What would you like to do?",
  "mainIcon": 11020, "flags": ["TDF_USE_COMMAND_LINKS"], "defaultButton": 541,
  "buttons": [{"id": 541, "text": "Map Required Fields\nReturn to the dialog and map the required fields, beginning with 'Parameter 4'."},
              {"id": 542, "text": "Ignore Requirement\nDo not map the Required fields and close this dialog immediately."}]})";

struct LayoutCase {
  const char* title;
  std::string json;  // without the title
};

std::string titled(const LayoutCase& c) { return R"({"windowTitle": ")" + std::string(c.title) + "\", " + c.json.substr(1); }

const LayoutCase layoutCases[] = {
    {"Common buttons only", R"({"mainInstruction": "Three common buttons", "content": "Placed OK, Retry, Cancel.", "commonButtons": ["OK", "Cancel", "Retry"]})"},
    {"Custom push buttons", R"({"mainIcon": "information", "mainInstruction": "Save the changes?", "commonButtons": ["Cancel"],
       "buttons": [{"id": 100, "text": "&Save"}, {"id": 101, "text": "Do&n't save"}], "defaultButton": 101})"},
    {"Links with glyph", R"({"mainInstruction": "Pick one", "flags": ["TDF_USE_COMMAND_LINKS"],
       "buttons": [{"id": 100, "text": "First\nWith a note below it"}, {"id": 101, "text": "Second, no note"}]})"},
    {"Links without glyph", R"({"mainInstruction": "Pick one", "flags": ["TDF_USE_COMMAND_LINKS", "TDF_USE_COMMAND_LINKS_NO_ICON"],
       "buttons": [{"id": 100, "text": "First\nWith a note"}, {"id": 101, "text": "Second"}]})"},
    {"Radio buttons", R"({"mainInstruction": "Choose", "commonButtons": ["OK"], "defaultRadioButton": 11,
       "radioButtons": [{"id": 10, "text": "Ten"}, {"id": 11, "text": "Eleven"}, {"id": 12, "text": "Twelve"}]})"},
    {"Verification", R"({"mainInstruction": "Go on?", "commonButtons": ["Yes", "No"], "verificationText": "Do not ask again",
       "flags": ["TDF_VERIFICATION_FLAG_CHECKED"]})"},
    {"Details collapsed", R"({"mainInstruction": "Details below", "content": "Content", "commonButtons": ["OK"],
       "expandedInformation": "The details, on two\nlines."})"},
    {"Details expanded", R"({"mainInstruction": "Details below", "content": "Content", "commonButtons": ["OK"],
       "expandedInformation": "The details, on two\nlines.", "flags": ["TDF_EXPANDED_BY_DEFAULT"]})"},
    {"Footer details collapsed", R"({"mainInstruction": "Details in the footer", "commonButtons": ["OK"], "footer": "The footer",
       "expandedInformation": "Footer details", "flags": ["TDF_EXPAND_FOOTER_AREA"]})"},
    {"Footer details expanded", R"({"mainInstruction": "Details in the footer", "commonButtons": ["OK"], "footer": "The footer",
       "expandedInformation": "Footer details", "flags": ["TDF_EXPAND_FOOTER_AREA", "TDF_EXPANDED_BY_DEFAULT"]})"},
    {"Footer with icon", R"({"mainIcon": "error", "mainInstruction": "It failed", "commonButtons": ["Close"],
       "footer": "A footer taller than its icon,\non two lines.", "footerIcon": "information"})"},
    {"Hyperlinks", R"({"mainInstruction": "Links", "commonButtons": ["OK"], "flags": ["TDF_ENABLE_HYPERLINKS"],
       "content": "See <A HREF=\"https://example.org/\">the page</A> for more.", "footer": "<A HREF=\"f\">Footer link</A>"})"},
    {"Progress bar", R"({"mainInstruction": "Working", "commonButtons": ["Cancel"], "flags": ["TDF_SHOW_PROGRESS_BAR"]})"},
    {"Marquee", R"({"mainInstruction": "Working", "commonButtons": ["Cancel"], "flags": ["TDF_SHOW_MARQUEE_PROGRESS_BAR"]})"},
    {"Timer", R"({"mainInstruction": "Ticking", "commonButtons": ["OK"], "flags": ["TDF_CALLBACK_TIMER"]})"},
    {"Right to left", R"({"mainIcon": "warning", "mainInstruction": "Mirrored reading", "content": "Text", "commonButtons": ["OK", "Cancel"],
       "flags": ["TDF_RTL_LAYOUT"]})"},
    {"Width given", R"({"mainInstruction": "A narrow dialog whose instruction wraps over several lines", "commonButtons": ["OK"], "width": 120})"},
};

// A control id whose click ends the dialog.
int endingId(const TaskDialogLayout& layout) {
  if (!layout.commandLinkIds.empty()) return layout.commandLinkIds.front();
  if (!layout.customPushButtonIds.empty()) return layout.customPushButtonIds.front();
  return layout.commonButtonIds.front();
}

void end(HWND dialog, int id) { click(GetDlgItem(dialog, id)); }

int messageFontHeight() { return static_cast<int>(nonClientMetrics()->lfMessageFont.lfHeight); }

std::set<int> largeFontIds(const TaskDialogLayout& layout) {
  std::set<int> ids(layout.commandLinkIds.begin(), layout.commandLinkIds.end());
  if (layout.ids.instruction != -1) ids.insert(layout.ids.instruction);
  return ids;
}

std::set<int> normalFontIds(const TaskDialogLayout& layout) {
  std::set<int> ids(layout.commonButtonIds.begin(), layout.commonButtonIds.end());
  ids.insert(layout.customPushButtonIds.begin(), layout.customPushButtonIds.end());
  ids.insert(layout.radioButtonIds.begin(), layout.radioButtonIds.end());
  for (int id : {layout.ids.content, layout.ids.details, layout.ids.detailsButton, layout.ids.progressBar,
                 layout.ids.verification, layout.ids.footer}) {
    if (id != -1) ids.insert(id);
  }
  return ids;
}

TEST(OwnDialogOnScreen, EveryControlSitsAtItsLayoutRectangleInItsFont) {
  std::vector<LayoutCase> cases(std::begin(layoutCases), std::end(layoutCases));
  cases.push_back({"Required field not Mapped", requiredQuestion});
  const int normal = messageFontHeight();
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.title);
    auto read = request(c.json.find("windowTitle") == std::string::npos ? titled(c) : c.json);
    ShownDialog shown(read->config(ownModule()), true);
    HWND dialog = shown.window(std::wstring(c.title, c.title + std::strlen(c.title)));
    ASSERT_NE(dialog, nullptr);
    const TaskDialogLayout& layout = shown.own().layout();
    RECT client{};
    (void)GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, layout.client.width);
    EXPECT_EQ(client.bottom, layout.client.height);
    for (const DialogItem& item : layout.items) {
      HWND control = GetDlgItem(dialog, item.id);
      ASSERT_NE(control, nullptr) << "control " << item.id;
      EXPECT_EQ(rectInClient(dialog, control), item.pixels) << "control " << item.id;
    }
    for (int id : largeFontIds(layout)) EXPECT_EQ(fontHeight(GetDlgItem(dialog, id)), normal * 3 / 2) << id;
    for (int id : normalFontIds(layout)) EXPECT_EQ(fontHeight(GetDlgItem(dialog, id)), normal) << id;
    end(dialog, endingId(layout));
    EXPECT_EQ(shown.answers().button, endingId(layout));
  }
}

TEST(OwnDialogOnScreen, BandsArePaintedWhiteGreyAndLined) {
  const LayoutCase cases[] = {
      {"Required field not Mapped", requiredQuestion},
      {"Three bands", R"({"windowTitle": "Three bands", "mainInstruction": "Bands", "commonButtons": ["OK"], "footer": "The footer",
         "expandedInformation": "Footer details", "flags": ["TDF_EXPAND_FOOTER_AREA", "TDF_EXPANDED_BY_DEFAULT"]})"},
      {"Two bands", R"({"windowTitle": "Two bands", "mainInstruction": "Bands", "commonButtons": ["OK"], "footer": "The footer"})"},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.title);
    auto read = request(c.json);
    ShownDialog shown(read->config(ownModule()), true);
    HWND dialog = shown.window(std::wstring(c.title, c.title + std::strlen(c.title)));
    ASSERT_NE(dialog, nullptr);
    const TaskDialogLayout& layout = shown.own().layout();
    const ScreenCapture capture = ScreenCapture::ofClient(dialog);
    // Sampled at x 3, left of every control.
    for (const Band& band : backgroundBands(layout.client, layout.sep1, layout.sep2, layout.sep3)) {
      for (int y : {band.rect.top, (band.rect.top + band.rect.bottom - 1) / 2, band.rect.bottom - 1}) {
        EXPECT_EQ(capture.at(3, y), band.colour) << "y " << y;
      }
    }
    if (std::string(c.title) == "Required field not Mapped") {
      EXPECT_EQ(capture.count({0, 0, capture.width(), capture.height()}, bandGrey), 0) << "the question is all white";
    } else {
      EXPECT_GT(capture.count({0, 0, capture.width(), capture.height()}, lineColour), 0);
    }
    end(dialog, endingId(layout));
    (void)shown.answers();
  }
}

TEST(OwnDialogOnScreen, CommandLinkTurnsHotUnderThePointerAndShowsItsPressedFace) {
  auto read = request(requiredQuestion);
  ShownDialog shown(read->config(ownModule()), true);
  HWND dialog = shown.window(L"Required field not Mapped");
  ASSERT_NE(dialog, nullptr);
  HWND link = GetDlgItem(dialog, 541);
  const Rect area = rectInClient(dialog, link);
  auto image = [&] { return reinterpret_cast<HICON>(SendMessageW(link, BM_GETIMAGE, IMAGE_ICON, 0)); };
  auto colourCount = [&](Colour colour) { return ScreenCapture::ofClient(dialog).count(area, colour); };

  (void)SetCursorPos(0, 0);
  (void)PostMessageW(link, WM_MOUSELEAVE, 0, 0);
  settle(dialog);
  const HICON arrow = image();
  ASSERT_NE(arrow, nullptr);
  EXPECT_GT(colourCount(linkTextColour), 0);
  EXPECT_EQ(colourCount(linkHotTextColour), 0);

  RECT screen{};
  (void)GetWindowRect(link, &screen);
  (void)SetCursorPos((screen.left + screen.right) / 2, (screen.top + screen.bottom) / 2);
  (void)PostMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(area.width() / 2, area.height() / 2));
  settle(dialog);
  EXPECT_GT(colourCount(linkHotTextColour), 0) << "hot text";
  EXPECT_NE(image(), arrow) << "the hot arrow";
  EXPECT_NE(image(), nullptr);

  (void)SetCursorPos(0, 0);
  (void)PostMessageW(link, WM_MOUSELEAVE, 0, 0);
  settle(dialog);
  EXPECT_EQ(colourCount(linkHotTextColour), 0) << "back to normal";
  EXPECT_GT(colourCount(linkTextColour), 0);
  EXPECT_EQ(image(), arrow);

  const int x = area.left + 5;
  const int y = (area.top + area.bottom) / 2;
  EXPECT_EQ(ScreenCapture::ofClient(dialog).at(x, y), white);
  (void)SendMessageW(link, BM_SETSTATE, TRUE, 0);
  settle(dialog);
  EXPECT_EQ(ScreenCapture::ofClient(dialog).at(x, y), linkPressedFace);
  EXPECT_GT(colourCount(linkTextColour), 0) << "blue text while pressed";
  (void)SendMessageW(link, BM_SETSTATE, FALSE, 0);

  click(GetDlgItem(dialog, 542));
  EXPECT_EQ(shown.answers().button, 542);
}

// The platform's display, with the client-area animation preference turned off.
class DisplayWithoutAnimation final : public IDisplay {
 public:
  std::unique_ptr<ITextMeasurer> openMeasuringContext() override { return display_.openMeasuringContext(); }
  std::optional<std::int32_t> messageFontHeight() override { return display_.messageFontHeight(); }
  std::optional<int> monitorWidthNearest(WindowHandle window) override { return display_.monitorWidthNearest(window); }
  int screenWidth() override { return display_.screenWidth(); }
  std::optional<Rect> monitorWorkAreaNearest(WindowHandle window) override {
    return display_.monitorWorkAreaNearest(window);
  }
  DialogBaseUnits dialogBaseUnits() override { return display_.dialogBaseUnits(); }
  Colour buttonTextColour() override { return display_.buttonTextColour(); }
  std::uint32_t platformMajorVersion() override { return 6; }
  bool clientAreaAnimation() override { return false; }

 private:
  Win32Display display_;
};

const char* detailsRequest = R"({"windowTitle": "Details toggle", "mainInstruction": "Details", "content": "Content",
  "commonButtons": ["OK"], "expandedInformation": "Line one of the details\nline two\nline three"})";

// The window heights seen from the click until they stay the same for a while.
std::vector<int> heightsAfterToggle(HWND dialog, HWND detailsButton) {
  auto height = [&] {
    RECT frame{};
    (void)GetWindowRect(dialog, &frame);
    return static_cast<int>(frame.bottom - frame.top);
  };
  std::vector<int> heights{height()};
  click(detailsButton);
  for (int still = 0; still < 500; still += 2) {
    pause(2);
    if (const int now = height(); now != heights.back()) {
      heights.push_back(now);
      still = 0;
    }
  }
  return heights;
}

TEST(OwnDialogOnScreen, DetailsGrowTheWindowInWholeStepsOrAtOnce) {
  for (const bool animated : {true, false}) {
    SCOPED_TRACE(animated ? "animated" : "at once");
    Win32TaskDialogResources resources;
    Win32Graphics graphics;
    DisplayWithoutAnimation still;
    Win32Display display;
    Win32DialogRunner runner;
    const OwnDialogServices services{resources, graphics, animated ? static_cast<IDisplay&>(display) : still, runner};
    auto read = request(detailsRequest);
    ShownDialog shown(read->config(ownModule()), true, services);
    HWND dialog = shown.window(L"Details toggle");
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(shown.own().animates(), animated) << "the platform's animation preference";
    const TaskDialogLayout& layout = shown.own().layout();
    const DialogItem& details = *std::find_if(layout.items.begin(), layout.items.end(),
                                              [&](const DialogItem& item) { return item.id == layout.ids.details; });
    const int delta = details.pixels.height() + 10;
    const int step = std::max(delta / 10, 1);
    const Rect okBefore = rectInClient(dialog, GetDlgItem(dialog, idOk));

    const std::vector<int> heights = heightsAfterToggle(dialog, GetDlgItem(dialog, layout.ids.detailsButton));
    const int grown = heights.back() - heights.front();
    if (animated) {
      EXPECT_EQ(grown, (delta + step - 1) / step * step);
      EXPECT_GT(heights.size(), 3u) << "seen in steps";
      for (int h : heights) EXPECT_EQ((h - heights.front()) % step, 0) << "a whole step";
    } else {
      EXPECT_EQ(grown, delta);
      EXPECT_EQ(heights.size(), 2u) << "at once";
    }
    EXPECT_EQ(rectInClient(dialog, GetDlgItem(dialog, idOk)), okBefore.movedBy(0, delta));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, layout.ids.details)));
    EXPECT_EQ(windowText(GetDlgItem(dialog, layout.ids.detailsButton)), L"Hide &details <<");
    click(GetDlgItem(dialog, idOk));
    EXPECT_EQ(shown.answers().button, idOk);
  }
}

// A callback that drives the dialog with task-dialog messages and ends it from the timer.
struct DrivingCallback {
  std::vector<std::uint32_t> notifications;
  std::vector<std::uint32_t> timerTicks;
  LRESULT previousPosition = -1;

  static HRESULT CALLBACK call(HWND dialog, UINT code, WPARAM wParam, LPARAM, LONG_PTR data) {
    auto& self = *reinterpret_cast<DrivingCallback*>(data);
    self.notifications.push_back(code);
    if (code == TDN_CREATED) {
      (void)SendMessageW(dialog, TDM_SET_ELEMENT_TEXT, TDE_CONTENT, reinterpret_cast<LPARAM>(L"Changed by the callback"));
      (void)SendMessageW(dialog, TDM_CLICK_VERIFICATION, TRUE, FALSE);
      (void)SendMessageW(dialog, TDM_CLICK_RADIO_BUTTON, 11, 0);
      (void)SendMessageW(dialog, TDM_ENABLE_BUTTON, 100, FALSE);
      self.previousPosition = SendMessageW(dialog, TDM_SET_PROGRESS_BAR_POS, 40, 0);
    }
    if (code == TDN_TIMER) {
      self.timerTicks.push_back(static_cast<std::uint32_t>(wParam));
      if (self.timerTicks.size() == 6) (void)SendMessageW(dialog, TDM_CLICK_BUTTON, IDOK, 0);
    }
    return S_OK;
  }
};

TEST(OwnDialogOnScreen, CallbackMessagesActAndTheTimerTicksAboutEvery200Ms) {
  auto read = request(R"({"windowTitle": "Driven by its callback", "mainInstruction": "Driven", "content": "Original",
    "commonButtons": ["OK"], "buttons": [{"id": 100, "text": "Other"}], "verificationText": "Ticked by the callback",
    "radioButtons": [{"id": 10, "text": "Ten"}, {"id": 11, "text": "Eleven"}],
    "flags": ["TDF_SHOW_PROGRESS_BAR", "TDF_CALLBACK_TIMER"]})");
  DrivingCallback callback;
  TASKDIALOGCONFIG config = read->config(ownModule());
  config.pfCallback = &DrivingCallback::call;
  config.lpCallbackData = reinterpret_cast<LONG_PTR>(&callback);
  ShownDialog shown(config, true);
  HWND dialog = shown.window(L"Driven by its callback");
  ASSERT_NE(dialog, nullptr);
  const TaskDialogLayout& layout = shown.own().layout();
  EXPECT_EQ(windowText(GetDlgItem(dialog, layout.ids.content)), L"Changed by the callback");
  EXPECT_EQ(IsDlgButtonChecked(dialog, layout.ids.verification), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 11), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 10), BST_UNCHECKED);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, 100)));
  EXPECT_EQ(SendMessageW(GetDlgItem(dialog, layout.ids.progressBar), PBM_GETPOS, 0, 0), 40);

  const Answers& answers = shown.answers();
  EXPECT_EQ(answers.button, IDOK);
  EXPECT_EQ(answers.radioButton, 11);
  EXPECT_EQ(answers.verification, 1);
  EXPECT_EQ(callback.previousPosition, 0);
  EXPECT_EQ(std::count(callback.notifications.begin(), callback.notifications.end(), TDN_VERIFICATION_CLICKED), 0)
      << "a message sends no notification";
  ASSERT_EQ(callback.timerTicks.size(), 6u);
  const double average = (callback.timerTicks.back() - callback.timerTicks.front()) / 5.0;
  EXPECT_GE(average, 150.0);
  EXPECT_LE(average, 400.0);
  EXPECT_GE(callback.timerTicks.front(), 150u);
}

// The platform's drawing objects and icons, each counted from when it is made until released.
class CountingObjects final : public IGraphics, public ITaskDialogResources {
 public:
  BrushHandle createSolidBrush(Colour colour) override { return made(graphics_.createSolidBrush(colour)); }
  PenHandle createSolidPen(Colour colour, int width) override { return made(graphics_.createSolidPen(colour, width)); }
  FontHandle createMessageFont(std::int32_t height) override { return made(graphics_.createMessageFont(height)); }
  IconHandle copyIcon(IconHandle icon) override { return made(graphics_.copyIcon(icon)); }
  void release(BrushHandle brush) override { released(brush), graphics_.release(brush); }
  void release(PenHandle pen) override { released(pen), graphics_.release(pen); }
  void release(FontHandle font) override { released(font), graphics_.release(font); }
  void release(IconHandle icon) override { released(icon), graphics_.release(icon); }

  std::optional<std::u16string> loadString(ModuleHandle module, std::uint16_t id) override {
    return resources_.loadString(module, id);
  }
  IconHandle loadIcon(ModuleHandle module, std::uint16_t id, int size) override {
    return made(resources_.loadIcon(module, id, size));
  }
  ModuleHandle componentModule() override { return resources_.componentModule(); }
  std::u16string hostExecutableName() override { return resources_.hostExecutableName(); }
  std::uint32_t lastError() override { return resources_.lastError(); }

  std::size_t live() const { return live_.size(); }
  std::size_t made() const { return made_; }

 private:
  template <class Handle>
  Handle made(Handle handle) {
    if (handle != nullptr) {
      live_.insert(handle);
      ++made_;
    }
    return handle;
  }
  void released(const void* handle) { EXPECT_EQ(live_.erase(handle), 1u) << "released twice or never made"; }

  Win32Graphics graphics_;
  Win32TaskDialogResources resources_;
  std::set<const void*> live_;
  std::size_t made_ = 0;
};

TEST(OwnDialogOnScreen, FiftyDialogsGiveBackEveryGdiAndUserObject) {
  auto read = request(R"({"windowTitle": "Counted", "mainIcon": "shield", "mainInstruction": "Counted", "content": "Text",
    "flags": ["TDF_USE_COMMAND_LINKS"], "buttons": [{"id": 100, "text": "Link\nNote"}], "footer": "Footer",
    "footerIcon": "warning", "verificationText": "Check", "expandedInformation": "Details"})");
  CountingObjects objects;
  Win32Display display;
  Win32DialogRunner runner;
  const OwnDialogServices services{objects, objects, display, runner};
  auto showOnce = [&] {
    HWND dialog = nullptr;
    HWND link = nullptr;
    {
      ShownDialog shown(read->config(ownModule()), true, services);
      dialog = shown.window(L"Counted");
      ASSERT_NE(dialog, nullptr);
      link = GetDlgItem(dialog, 100);
      (void)PostMessageW(link, WM_MOUSEMOVE, 0, 0);  // hot tracking swaps the arrows
      click(link);
      EXPECT_EQ(shown.answers().button, 100);
    }
    EXPECT_FALSE(IsWindow(dialog)) << "the window and its controls are gone";
    EXPECT_FALSE(IsWindow(link));
    EXPECT_EQ(objects.live(), 0u) << "every brush, pen, font and icon released with the dialog";
  };
  showOnce();  // the platform's first-use objects
  // The platform's own count, where it keeps one (Wine answers 0).
  const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  for (int i = 0; i < 50; ++i) showOnce();
  EXPECT_GT(objects.made(), 50u * 10);
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi);
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user);
}

TEST(OwnDialogOnScreen, ScreenshotWithDetailsRadioButtonsVerificationAndFooter) {
  (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  auto read = request(R"({"windowTitle": "Release setup", "mainIcon": "information",
    "mainInstruction": "How should the documents be released?",
    "content": "The gateway answered every test post. Choose how the documents of this batch go out.",
    "radioButtons": [{"id": 10, "text": "One post per document"}, {"id": 11, "text": "One post per batch"}],
    "commonButtons": ["OK", "Cancel"], "verificationText": "Use this choice for every batch",
    "expandedInformation": "Gateway: https://as400.example.com/rpc/quorlex/\nExit program: QUORLEX in QGPL",
    "flags": ["TDF_EXPANDED_BY_DEFAULT"], "footer": "Settings are stored in the document class.",
    "footerIcon": "shield"})");
  ShownDialog shown(read->config(ownModule()), true);
  HWND dialog = shown.window(L"Release setup");
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(ScreenCapture::ofWindow(dialog).savePng(screenshotPath(L"task-dialog-own-details.png")));
  click(GetDlgItem(dialog, IDOK));
  EXPECT_EQ(shown.answers().radioButton, 10);
  CoUninitialize();
}

}  // namespace
}  // namespace quorlex::test_support
