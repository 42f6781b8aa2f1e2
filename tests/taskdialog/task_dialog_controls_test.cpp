#include "taskdialog/task_dialog_controls.h"

#include <gtest/gtest.h>

#include "tests/taskdialog/recording_painter.h"

namespace quorlex {
namespace {

using test_support::RecordingPainter;

const BrushHandle whiteBrush = reinterpret_cast<BrushHandle>(0xB1);
const BrushHandle greyBrush = reinterpret_cast<BrushHandle>(0xB2);

TEST(TaskDialogStatic, AnswersItsColoursAndPaintsItsBand) {
  CXTaskDialogStatic instruction;
  EXPECT_EQ(instruction.textColour(), 0x000000u);  // black on white until initialised
  EXPECT_EQ(instruction.backgroundColour(), white);

  instruction.initialise(instructionBlue, bandGrey, &greyBrush);
  RecordingPainter dc;
  EXPECT_EQ(instruction.onControlColour(dc), greyBrush);
  EXPECT_EQ(dc.ops, (std::vector<std::string>{"background colour F0F0F0", "text colour 993300"}));

  RecordingPainter erase;
  EXPECT_EQ(instruction.onEraseBackground(erase, {0, 0, 40, 20}), 1);
  EXPECT_EQ(erase.ops, std::vector<std::string>{"fill (0,0)-(40,20) F0F0F0"});
}

TEST(TaskDialogButton, PaintsItsTextTransparentlyOnTheBrush) {
  CXTaskDialogButton checkBox;
  checkBox.initialise(white, &greyBrush);
  RecordingPainter dc;
  EXPECT_EQ(checkBox.onControlColour(dc), greyBrush);
  EXPECT_EQ(dc.ops, std::vector<std::string>{"transparent"});
  RecordingPainter erase;
  EXPECT_EQ(checkBox.onEraseBackground(erase, {0, 0, 90, 17}), 0);
  EXPECT_EQ(erase.ops, std::vector<std::string>{"fill (0,0)-(90,17) FFFFFF"});
}

TEST(TaskDialogIconStatic, DrawsTheDialogsCurrentIcon) {
  IconHandle icon = nullptr;
  CXTaskDialogIconStatic main;
  main.initialise(&icon, true);
  RecordingPainter none;
  EXPECT_EQ(main.onPaint(none), 0);
  EXPECT_TRUE(none.ops.empty());

  icon = reinterpret_cast<IconHandle>(0x1C0);  // replaced after the control was set up
  RecordingPainter large;
  main.onPaint(large);
  EXPECT_EQ(large.ops, std::vector<std::string>{"icon 1c0 (0,0)-(32,32)"});

  CXTaskDialogIconStatic footer;
  footer.initialise(&icon, false);
  RecordingPainter small;
  footer.onPaint(small);
  EXPECT_EQ(small.ops, std::vector<std::string>{"icon 1c0 (0,0)-(16,16)"});
}

}  // namespace
}  // namespace quorlex
