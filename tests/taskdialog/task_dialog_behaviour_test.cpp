#include <gtest/gtest.h>

#include "tests/taskdialog/record_field.h"

#include "taskdialog/task_dialog.h"
#include "tests/taskdialog/recording_painter.h"
#include "tests/taskdialog/task_dialog_fixture.h"

namespace quorlex {
namespace {

using test_support::FakeDialogWindow;
using test_support::Notification;
using test_support::TaskDialogFixture;
using test_support::handleName;

class TaskDialogBehaviour : public TaskDialogFixture {
 protected:
  // The question of the setup sheet: two command links, no other way out.
  void askWithTwoLinks() {
    addFlags(TDF_USE_COMMAND_LINKS);
    config.pszMainInstruction = recordText(u"What would you like to do?");
    setButtons({makeButton(541, u"Map Required Fields\nReturn to the dialog."),
                makeButton(542, u"Ignore Requirement\nClose this dialog.")});
    config.nDefaultButton = 541;
  }
  static void clickOk(FakeDialogWindow&, CXTaskDialog& d) { d.onCommand(idOk, 0); }
  LResult send(std::uint32_t message, WParam wParam = 0, LParam lParam = 0) {
    return dialog->onTaskDialogMessage(message, wParam, lParam).value_or(-12345);
  }
};

TEST_F(TaskDialogBehaviour, NotificationsOfARunInOrder) {
  askWithTwoLinks();
  ASSERT_EQ(run([](FakeDialogWindow&, CXTaskDialog& d) { d.onCommand(542, 0); }), resultOk);
  EXPECT_EQ(callback.codes(), (std::vector<std::uint32_t>{TDN_DIALOG_CONSTRUCTED, TDN_CREATED,
                                                          TDN_BUTTON_CLICKED, TDN_DESTROYED}));
  for (const Notification& n : callback.received) {
    EXPECT_EQ(n.window, window().handle());
    EXPECT_EQ(n.data, test_support::field(config.lpCallbackData));
  }
  EXPECT_EQ(callback.received[2].wParam, 542u);
  EXPECT_EQ(button, 542);
  EXPECT_EQ(radio, -1);
  EXPECT_EQ(verification, 0);
}

TEST_F(TaskDialogBehaviour, InitialisationSetsUpTheWindow) {
  askWithTwoLinks();
  addFlags(TDF_CALLBACK_TIMER);
  config.pszContent = recordText(u"Content");
  config.pszFooter = recordText(u"Footer");
  config.pszVerificationText = recordText(u"Remember");
  std::vector<std::string> events;
  ASSERT_EQ(run([&](FakeDialogWindow& w, CXTaskDialog& d) {
              events = w.events;
              d.onCommand(541, 0);
            }),
            resultOk);
  FakeDialogWindow& w = window();
  const auto has = [&](const std::string& line) {
    return std::find(events.begin(), events.end(), line) != events.end();
  };
  const std::string normalFont = handleName(w.control(ids().content).font);
  const std::string largeFont = handleName(w.control(ids().instruction).font);
  EXPECT_NE(normalFont, largeFont);
  EXPECT_EQ(handleName(w.control(541).font), largeFont);
  EXPECT_EQ(handleName(w.control(ids().footer).font), normalFont);
  EXPECT_EQ(handleName(w.control(ids().verification).font), normalFont);
  EXPECT_TRUE(has("check " + std::to_string(ids().verification) + " 0"));
  EXPECT_TRUE(has("focus 541"));
  EXPECT_TRUE(has("close menu item greyed"));
  EXPECT_TRUE(has("start timer 1 200"));
  EXPECT_TRUE(has("image 541 " + handleName(w.control(541).image)));
  EXPECT_EQ(platform.iconInfo(w.control(541).image).resource, 11021);  // the arrow
  EXPECT_EQ(w.control(541).subclass, "link");
  EXPECT_EQ(w.control(542).subclass, "link");
  EXPECT_EQ(w.control(ids().instruction).subclass, "static");
  EXPECT_EQ(w.control(ids().verification).subclass, "button");
  EXPECT_EQ(w.control(ids().footer).subclass, "static");
  EXPECT_NE(w.control(541).image, nullptr);
  EXPECT_FALSE(has("post close"));
}

TEST_F(TaskDialogBehaviour, TheTextControlsGetTheirColours) {
  config.pszMainInstruction = recordText(u"Instruction");
  config.pszContent = recordText(u"Content");
  config.pszExpandedInformation = recordText(u"Details");
  config.pszFooter = recordText(u"Footer");
  setRadioButtons({makeButton(10, u"Radio")});
  config.pszVerificationText = recordText(u"Check");
  ASSERT_EQ(run(clickOk), resultOk);
  auto staticOf = [&](int id) {
    return static_cast<const CXTaskDialogStatic*>(window().control(id).subclassObject);
  };
  auto buttonOf = [&](int id) {
    return static_cast<const CXTaskDialogButton*>(window().control(id).subclassObject);
  };
  const Colour body = platform.bodyText;
  const struct {
    int id;
    Colour text;
    Colour background;
    Colour brush;
  } statics[] = {{ids().instruction, instructionBlue, white, white},
                 {ids().content, body, white, white},
                 {ids().details, body, white, white},
                 {ids().footer, body, bandGrey, bandGrey}};
  for (const auto& s : statics) {
    const CXTaskDialogStatic* subclass = staticOf(s.id);
    ASSERT_NE(subclass, nullptr);
    EXPECT_EQ(subclass->textColour(), s.text);
    EXPECT_EQ(subclass->backgroundColour(), s.background);
    EXPECT_EQ(platform.colourOf(*subclass->brush()), s.brush);
  }
  EXPECT_EQ(buttonOf(10)->backgroundColour(), white);
  EXPECT_EQ(platform.colourOf(*buttonOf(10)->brush()), white);
  // The check box sits on the grey band.
  EXPECT_EQ(buttonOf(ids().verification)->backgroundColour(), white);
  EXPECT_EQ(platform.colourOf(*buttonOf(ids().verification)->brush()), bandGrey);
}

TEST_F(TaskDialogBehaviour, FooterDetailsAreOnGrey) {
  addFlags(TDF_EXPAND_FOOTER_AREA);
  config.pszExpandedInformation = recordText(u"Details");
  ASSERT_EQ(run(clickOk), resultOk);
  const auto* details =
      static_cast<const CXTaskDialogStatic*>(window().control(ids().details).subclassObject);
  EXPECT_EQ(details->backgroundColour(), bandGrey);
  EXPECT_EQ(platform.colourOf(*details->brush()), bandGrey);
}

TEST_F(TaskDialogBehaviour, TheWindowIsCentredOnTheMonitorsWorkArea) {
  ASSERT_EQ(run([](FakeDialogWindow& w, CXTaskDialog& d) {
              // The work area is 1600 x 1000 from (0, 0).
              EXPECT_EQ(w.frame.left, (1600 - w.frame.width()) / 2);
              EXPECT_EQ(w.frame.top, (1000 - w.frame.height()) / 2);
              d.onCommand(idOk, 0);
            }),
            resultOk);
}

TEST_F(TaskDialogBehaviour, NoCentringRelativeToTheWindowOrWithoutMonitorInformation) {
  addFlags(TDF_POSITION_RELATIVE_TO_WINDOW);
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_EQ(window().frame.left, 50);

  setFlags(config, 0);
  platform.workArea = std::nullopt;
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_EQ(window().frame.left, 50);
}

TEST_F(TaskDialogBehaviour, CancellationDecidesTheCloseBox) {
  config.dwCommonButtons = TDCBF_OK_BUTTON | TDCBF_CANCEL_BUTTON;
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_FALSE(window().contains("close menu item greyed"));

  config.dwCommonButtons = TDCBF_OK_BUTTON;
  addFlags(TDF_ALLOW_DIALOG_CANCELLATION);
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_FALSE(window().contains("close menu item greyed"));
}

TEST_F(TaskDialogBehaviour, EscapeDoesNothingWithoutCancellation) {
  askWithTwoLinks();
  ASSERT_EQ(run([](FakeDialogWindow& w, CXTaskDialog& d) {
              d.onCommand(idCancel, 0);
              EXPECT_FALSE(w.endedWith);
              d.onCommand(541, 0);
            }),
            resultOk);
  EXPECT_TRUE(callback.withCode(TDN_BUTTON_CLICKED).size() == 1);
  EXPECT_EQ(button, 541);
}

TEST_F(TaskDialogBehaviour, EscapeEndsWithTwoWhenCancellationIsAllowed) {
  askWithTwoLinks();
  addFlags(TDF_ALLOW_DIALOG_CANCELLATION);
  ASSERT_EQ(run([](FakeDialogWindow&, CXTaskDialog& d) { d.onCommand(idCancel, 0); }), resultOk);
  const std::vector<Notification> clicks = callback.withCode(TDN_BUTTON_CLICKED);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].wParam, 2u);
  EXPECT_EQ(button, idCancel);
}

TEST_F(TaskDialogBehaviour, AVetoKeepsTheDialogOpenAndRecordsNoAnswer) {
  setRadioButtons({makeButton(10, u"One"), makeButton(11, u"Two")});
  config.dwCommonButtons = TDCBF_YES_BUTTON | TDCBF_NO_BUTTON;
  callback.respond = [](const Notification& n) {
    return n.code == TDN_BUTTON_CLICKED && n.wParam == static_cast<WParam>(idYes)
               ? callbackVeto
               : callbackContinue;
  };
  ASSERT_EQ(run([](FakeDialogWindow& w, CXTaskDialog& d) {
              d.onCommand(idYes, 0);
              EXPECT_FALSE(w.endedWith);
              w.setChecked(10, false);
              w.setChecked(11, true);
              d.onCommand(idNo, 0);
            }),
            resultOk);
  EXPECT_EQ(button, idNo);
  EXPECT_EQ(radio, 11);  // recorded when No ended it, not when Yes was vetoed
}

TEST_F(TaskDialogBehaviour, RadioButtonsStartAndEnd) {
  setRadioButtons({makeButton(10, u"One"), makeButton(11, u"Two")});
  ASSERT_EQ(run([](FakeDialogWindow& w, CXTaskDialog& d) {
              EXPECT_TRUE(w.control(10).checked);
              EXPECT_FALSE(w.control(11).checked);
              d.onCommand(idOk, 0);
            }),
            resultOk);
  EXPECT_EQ(radio, 10);

  config.nDefaultRadioButton = 11;
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_EQ(radio, 11);

  addFlags(TDF_NO_DEFAULT_RADIO_BUTTON);
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_EQ(radio, -1);
}

TEST_F(TaskDialogBehaviour, ClickingARadioButtonNotifiesWithTheWholeCommand) {
  setRadioButtons({makeButton(10, u"One"), makeButton(11, u"Two")});
  ASSERT_EQ(run([](FakeDialogWindow& w, CXTaskDialog& d) {
              d.onCommand((1u << 16) | 11u, 0);
              EXPECT_FALSE(w.endedWith);
              d.onCommand(idOk, 0);
            }),
            resultOk);
  const std::vector<Notification> clicks = callback.withCode(TDN_RADIO_BUTTON_CLICKED);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].wParam, (1u << 16) | 11u);
  EXPECT_EQ(clicks[0].lParam, 0);
}

TEST_F(TaskDialogBehaviour, TheCheckBox) {
  config.pszVerificationText = recordText(u"Remember");
  addFlags(TDF_VERIFICATION_FLAG_CHECKED);
  ASSERT_EQ(run([this](FakeDialogWindow& w, CXTaskDialog& d) {
              const int box = ids().verification;
              EXPECT_TRUE(w.control(box).checked);
              w.setChecked(box, false);
              d.onCommand(static_cast<WParam>(box), 0);
              EXPECT_EQ(send(TDM_CLICK_VERIFICATION, 1, 0), 0);
              EXPECT_TRUE(w.control(box).checked);
              EXPECT_NE(w.focus, box);
              send(TDM_CLICK_VERIFICATION, 0, 1);
              EXPECT_FALSE(w.control(box).checked);
              EXPECT_EQ(w.focus, box);
              send(TDM_CLICK_VERIFICATION, 1, 0);
              d.onCommand(idOk, 0);
            }),
            resultOk);
  // Only the click notified; the messages did not.
  const std::vector<Notification> clicks = callback.withCode(TDN_VERIFICATION_CLICKED);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].wParam, 0u);
  EXPECT_EQ(verification, 1);
}

TEST_F(TaskDialogBehaviour, ElementTexts) {
  platform.addString(test_support::componentModule, 11013, u"From the component");
  config.pszContent = recordText(u"Content");
  config.pszMainInstruction = recordText(u"Instruction");
  ASSERT_EQ(run([this](FakeDialogWindow& w, CXTaskDialog& d) {
              EXPECT_EQ(send(TDM_SET_ELEMENT_TEXT, TDE_CONTENT,
                             reinterpret_cast<LParam>(u"New content")),
                        1);
              EXPECT_EQ(w.control(ids().content).text, u"New content");
              EXPECT_EQ(send(TDM_UPDATE_ELEMENT_TEXT, TDE_MAIN_INSTRUCTION, 11013), 1);
              EXPECT_EQ(w.control(ids().instruction).text, u"From the component");
              w.clearLog();
              EXPECT_EQ(send(TDM_SET_ELEMENT_TEXT, 4, reinterpret_cast<LParam>(u"x")), 1);
              EXPECT_EQ(send(TDM_SET_ELEMENT_TEXT, TDE_FOOTER, reinterpret_cast<LParam>(u"x")), 1);
              EXPECT_EQ(send(TDM_UPDATE_ELEMENT_TEXT, TDE_FOOTER, reinterpret_cast<LParam>(u"x")),
                        0);
              EXPECT_TRUE(w.events.empty());
              d.onCommand(idOk, 0);
            }),
            resultOk);
  EXPECT_EQ(callback.codes().size(), 4u);  // the messages sent no notification
}

TEST_F(TaskDialogBehaviour, ClickButtonFocusesAndPosts) {
  config.dwCommonButtons = TDCBF_OK_BUTTON | TDCBF_RETRY_BUTTON;
  ASSERT_EQ(run([this](FakeDialogWindow& w, CXTaskDialog& d) {
              EXPECT_EQ(send(TDM_CLICK_BUTTON, idRetry, 0), 1);
              EXPECT_EQ(w.focus, idRetry);
              ASSERT_EQ(w.postedCommands.size(), 1u);
              EXPECT_EQ(w.postedCommands[0].first, static_cast<WParam>(idRetry));
              EXPECT_EQ(send(TDM_CLICK_BUTTON, 999, 0), 0);  // no such control
              w.postSucceeds = false;
              EXPECT_EQ(send(TDM_CLICK_BUTTON, idOk, 0), 0);
              d.onCommand(w.postedCommands[0].first, w.postedCommands[0].second);
            }),
            resultOk);
  EXPECT_EQ(button, idRetry);
}

TEST_F(TaskDialogBehaviour, EnablingButtonsAndRadioButtons) {
  setRadioButtons({makeButton(10, u"One")});
  config.dwCommonButtons = TDCBF_OK_BUTTON | TDCBF_CANCEL_BUTTON;
  ASSERT_EQ(run([this](FakeDialogWindow& w, CXTaskDialog& d) {
              EXPECT_EQ(send(TDM_ENABLE_BUTTON, idOk, 0), 0);
              EXPECT_FALSE(w.control(idOk).enabled);
              send(TDM_ENABLE_RADIO_BUTTON, 10, 0);
              EXPECT_FALSE(w.control(10).enabled);
              send(TDM_ENABLE_RADIO_BUTTON, idCancel, 0);  // not a radio button
              EXPECT_TRUE(w.control(idCancel).enabled);
              send(TDM_CLICK_RADIO_BUTTON, 10);
              EXPECT_EQ(w.focus, 10);
              d.onCommand(idCancel, 0);
            }),
            resultOk);
}

TEST_F(TaskDialogBehaviour, ClickRadioButtonTicksOnlyThatOne) {
  setRadioButtons({makeButton(10, u"One"), makeButton(11, u"Two"), makeButton(12, u"Three")});
  ASSERT_EQ(run([this](FakeDialogWindow& w, CXTaskDialog& d) {
              EXPECT_EQ(send(TDM_CLICK_RADIO_BUTTON, 12), 0);
              EXPECT_FALSE(w.control(10).checked);
              EXPECT_FALSE(w.control(11).checked);
              EXPECT_TRUE(w.control(12).checked);
              send(TDM_CLICK_RADIO_BUTTON, idOk);  // not a radio button: nothing
              EXPECT_TRUE(w.control(12).checked);
              d.onCommand(idOk, 0);
            }),
            resultOk);
  EXPECT_EQ(radio, 12);
  EXPECT_TRUE(callback.withCode(TDN_RADIO_BUTTON_CLICKED).empty());
}

TEST_F(TaskDialogBehaviour, ProgressBarMessages) {
  addFlags(TDF_SHOW_PROGRESS_BAR);
  ASSERT_EQ(run([this](FakeDialogWindow& w, CXTaskDialog& d) {
              const int bar = ids().progressBar;
              EXPECT_EQ(send(TDM_SET_PROGRESS_BAR_RANGE, 0, 0x00C80000), 0x640000);
              EXPECT_EQ(send(TDM_SET_PROGRESS_BAR_POS, 40), 0);
              EXPECT_EQ(send(TDM_SET_PROGRESS_BAR_POS, 60), 40);
              EXPECT_EQ(send(TDM_SET_PROGRESS_BAR_STATE, 2), 1);
              EXPECT_EQ(send(TDM_SET_MARQUEE_PROGRESS_BAR, 1, 30), 1);
              EXPECT_NE(w.control(bar).style & windowStyle::marquee, 0u);
              EXPECT_TRUE(w.contains("marquee " + std::to_string(bar) + " 30"));
              EXPECT_EQ(send(TDM_SET_MARQUEE_PROGRESS_BAR, 0, 0), 0);
              EXPECT_EQ(w.control(bar).style & windowStyle::marquee, 0u);
              d.onCommand(idOk, 0);
            }),
            resultOk);
}

TEST_F(TaskDialogBehaviour, AMarqueeBarStartsAtTwentyMilliseconds) {
  addFlags(TDF_SHOW_MARQUEE_PROGRESS_BAR);
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_TRUE(window().contains("marquee " + std::to_string(ids().progressBar) + " 20"));
}

TEST_F(TaskDialogBehaviour, MessagesTheDialogDoesNotHandle) {
  ASSERT_EQ(run([](FakeDialogWindow&, CXTaskDialog& d) {
              EXPECT_FALSE(d.onTaskDialogMessage(TDM_NAVIGATE_PAGE, 0, 0));
              EXPECT_FALSE(d.onTaskDialogMessage(TDM_SET_PROGRESS_BAR_MARQUEE, 0, 0));
              d.onCommand(idOk, 0);
            }),
            resultOk);
}

TEST_F(TaskDialogBehaviour, ElevationSetsTheShieldAndTakesItAway) {
  askWithTwoLinks();
  config.dwCommonButtons = TDCBF_OK_BUTTON;
  ASSERT_EQ(run([this](FakeDialogWindow& w, CXTaskDialog& d) {
              const IconHandle arrow = w.control(541).image;
              EXPECT_EQ(send(TDM_SET_BUTTON_ELEVATION_REQUIRED_STATE, 541, 1), 0);
              const test_support::IconInfo shield = platform.iconInfo(w.control(541).image);
              EXPECT_EQ(shield.resource, 11025);
              EXPECT_EQ(shield.size, 16);
              send(TDM_SET_BUTTON_ELEVATION_REQUIRED_STATE, 541, 0);
              EXPECT_EQ(w.control(541).image, arrow);
              EXPECT_EQ(platform.iconInfo(arrow).resource, 11021);
              send(TDM_SET_BUTTON_ELEVATION_REQUIRED_STATE, idOk, 1);
              send(TDM_SET_BUTTON_ELEVATION_REQUIRED_STATE, idOk, 0);
              EXPECT_EQ(w.control(idOk).image, nullptr);  // a push button has no arrow
              d.onCommand(541, 0);
            }),
            resultOk);
}

TEST_F(TaskDialogBehaviour, LinksWithoutGlyphLoseTheShieldToNothing) {
  askWithTwoLinks();
  addFlags(TDF_USE_COMMAND_LINKS_NO_ICON);
  ASSERT_EQ(run([this](FakeDialogWindow& w, CXTaskDialog& d) {
              EXPECT_EQ(w.control(541).image, nullptr);
              send(TDM_SET_BUTTON_ELEVATION_REQUIRED_STATE, 541, 1);
              EXPECT_NE(w.control(541).image, nullptr);
              send(TDM_SET_BUTTON_ELEVATION_REQUIRED_STATE, 541, 0);
              EXPECT_EQ(w.control(541).image, nullptr);
              d.onCommand(541, 0);
            }),
            resultOk);
}

TEST_F(TaskDialogBehaviour, ReplacingIcons) {
  config.pszMainIcon = textOrIdFromId(warningIconId);
  config.pszFooterIcon = textOrIdFromId(warningIconId);
  config.pszFooter = recordText(u"Footer");
  addFlags(TDF_CAN_BE_MINIMIZED);
  ASSERT_EQ(run([this](FakeDialogWindow& w, CXTaskDialog& d) {
              const auto* mainStatic = static_cast<const CXTaskDialogIconStatic*>(
                  w.control(ids().mainIcon).subclassObject);
              auto drawnMain = [&] {
                test_support::RecordingPainter dc;
                mainStatic->onPaint(dc);
                return dc.ops;
              };
              const std::size_t before = platform.liveObjects();
              w.clearLog();
              send(TDM_UPDATE_ICON, TDIE_ICON_MAIN, errorIconId);
              EXPECT_EQ(platform.liveObjects(), before);  // the old copy went, a new one came
              ASSERT_EQ(drawnMain().size(), 1u);
              const auto handle = static_cast<std::uintptr_t>(
                  std::stoull(drawnMain()[0].substr(5), nullptr, 16));
              const IconHandle icon = reinterpret_cast<IconHandle>(handle);
              EXPECT_EQ(platform.iconInfo(icon).resource, 11023);
              EXPECT_EQ(platform.iconInfo(icon).size, 32);
              EXPECT_TRUE(w.contains("invalidate " + std::to_string(ids().mainIcon)));
              EXPECT_TRUE(w.contains("window icons " + handleName(icon) + " " + handleName(icon)));

              send(TDM_UPDATE_ICON, TDIE_ICON_FOOTER, 0);
              EXPECT_EQ(platform.liveObjects(), before - 1);
              EXPECT_TRUE(w.contains("invalidate " + std::to_string(ids().footerIcon)));

              w.clearLog();
              send(TDM_UPDATE_ICON, TDIE_ICON_MAIN, 0);
              EXPECT_TRUE(drawnMain().empty());
              EXPECT_TRUE(w.contains("window icons none none"));
              EXPECT_TRUE(w.contains("invalidate"));
              d.onCommand(idOk, 0);
            }),
            resultOk);
  dialog.reset();
  EXPECT_EQ(platform.liveObjects(), 0u);
}

TEST_F(TaskDialogBehaviour, MinimisableDialogsShowTheMainIconOnTheWindow) {
  config.pszMainIcon = textOrIdFromId(informationIconId);
  addFlags(TDF_CAN_BE_MINIMIZED);
  ASSERT_EQ(run(clickOk), resultOk);
  bool found = false;
  for (const std::string& e : window().events) found |= e.rfind("window icons ", 0) == 0 && e != "window icons none none";
  EXPECT_TRUE(found);
}

TEST_F(TaskDialogBehaviour, TheMainIconsSound) {
  const struct {
    std::uint16_t icon;
    std::vector<std::uint32_t> alerts;
  } cases[] = {{errorIconId, {0x10}},
               {warningIconId, {0x30}},
               {informationIconId, {0x40}},
               {shieldIconId, {}},
               {0, {}}};
  for (const auto& c : cases) {
    platform.alerts.clear();
    config.pszMainIcon = textOrIdFromId(c.icon);
    ASSERT_EQ(run(clickOk), resultOk);
    EXPECT_EQ(platform.alerts, c.alerts) << c.icon;
  }
}

TEST_F(TaskDialogBehaviour, TimerTicksFromCreationAndRestartsOnRequest) {
  addFlags(TDF_CALLBACK_TIMER);
  platform.ticks = 5000;
  callback.respond = [](const Notification& n) {
    return n.code == TDN_TIMER && n.wParam >= 1000 ? callbackVeto : callbackContinue;
  };
  ASSERT_EQ(run([this](FakeDialogWindow& w, CXTaskDialog& d) {
              EXPECT_EQ(w.timers.at(1), 200u);
              platform.ticks = 5800;
              d.onTimer(1);
              platform.ticks = 6000;
              d.onTimer(1);  // 1000: asks for a restart
              platform.ticks = 6200;
              d.onTimer(1);
              d.onTimer(2);  // no animation running: nothing
              d.onCommand(idOk, 0);
            }),
            resultOk);
  std::vector<WParam> elapsed;
  for (const Notification& n : callback.withCode(TDN_TIMER)) elapsed.push_back(n.wParam);
  EXPECT_EQ(elapsed, (std::vector<WParam>{800, 1000, 200}));
  EXPECT_TRUE(window().timers.empty());  // stopped when the window went
}

TEST_F(TaskDialogBehaviour, MessagesAfterTheWindowWentDoNothing) {
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_FALSE(dialog->onTaskDialogMessage(TDM_CLICK_BUTTON, idOk, 0));
  dialog->onCommand(idOk, 0);
  EXPECT_EQ(callback.withCode(TDN_BUTTON_CLICKED).size(), 1u);
}

TEST_F(TaskDialogBehaviour, DestroyStopsTheTimersAndNotifiesLast) {
  addFlags(TDF_CALLBACK_TIMER);
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_TRUE(window().contains("stop timer 1"));
  EXPECT_EQ(callback.codes().back(), TDN_DESTROYED);
}

TEST_F(TaskDialogBehaviour, HyperlinkAndHelpNotifications) {
  static const char16_t target[] = u"https://example.org/help";
  addFlags(TDF_ENABLE_HYPERLINKS);
  config.pszContent = recordText(u"See <A HREF=\"https://example.org/help\">help</A>");
  ASSERT_EQ(run([](FakeDialogWindow&, CXTaskDialog& d) {
              d.onClick(reinterpret_cast<LParam>(target));
              d.onHelp();
              d.onCommand(idOk, 0);
            }),
            resultOk);
  const std::vector<Notification> links = callback.withCode(TDN_HYPERLINK_CLICKED);
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].wParam, 0u);
  EXPECT_EQ(links[0].lParam, reinterpret_cast<LParam>(target));
  EXPECT_EQ(callback.withCode(TDN_HELP).size(), 1u);
}

TEST_F(TaskDialogBehaviour, ACallbackMaySendMessagesFromInsideANotification) {
  config.pszContent = recordText(u"Before");
  callback.respond = [this](const Notification& n) {
    if (n.code == TDN_CREATED) {
      dialog->onTaskDialogMessage(TDM_SET_ELEMENT_TEXT, TDE_CONTENT,
                                  reinterpret_cast<LParam>(u"After"));
    }
    return callbackContinue;
  };
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_EQ(window().control(ids().content).text, u"After");
}

TEST_F(TaskDialogBehaviour, WithoutACallbackNothingIsCalled) {
  config.pfCallback = nullptr;
  config.dwCommonButtons = TDCBF_OK_BUTTON;
  ASSERT_EQ(run(clickOk), resultOk);
  EXPECT_EQ(button, idOk);
}

TEST_F(TaskDialogBehaviour, LinksWithoutPensPostACloseRequest) {
  askWithTwoLinks();
  platform.failPens = true;
  ASSERT_EQ(run([](FakeDialogWindow& w, CXTaskDialog& d) {
              EXPECT_TRUE(w.contains("post close"));
              d.onCommand(idCancel, 0);  // what the close request becomes: ignored here
              EXPECT_FALSE(w.endedWith);
              d.onCommand(541, 0);
            }),
            resultOk);
}

TEST_F(TaskDialogBehaviour, TheBackgroundIsPaintedInBands) {
  config.pszMainInstruction = recordText(u"Hello");
  config.pszFooter = recordText(u"Footer");
  ASSERT_EQ(run([](FakeDialogWindow& w, CXTaskDialog& d) {
              test_support::RecordingPainter dc;
              EXPECT_EQ(d.onEraseBackground(dc), 1);
              const std::string width = std::to_string(w.client.width);
              const int sep1 = d.layout().sep1;
              const int sep2 = d.layout().sep2;
              ASSERT_NE(sep2, -1);
              EXPECT_EQ(dc.ops.front(), "fill (0,0)-(" + width + "," + std::to_string(sep1) +
                                            ") FFFFFF");
              EXPECT_EQ(dc.ops.back(), "fill (0," + std::to_string(sep2 + 1) + ")-(" + width +
                                           "," + std::to_string(w.client.height) + ") F0F0F0");
              EXPECT_EQ(dc.ops.size(), 6u);
              d.onCommand(idOk, 0);
            }),
            resultOk);
}

}  // namespace
}  // namespace quorlex
