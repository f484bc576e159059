#include "control/dispatch_fixture.h"
#include "protocol/command.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

// A drawing command that notes which handler each code reached; 'p' opens a prompt mode.
class Noting final : public DrawingCommand {
public:
  explicit Noting(std::string& notes) : notes_(notes) {}

protected:
  int Start(Control& control, const CommandRow& row) override {
    BeginFunction(control, row);
    notes_ += "start ";
    return kStillRunning;
  }
  int Act(Control& control, const CommandRow& /*row*/) override {
    const int code = control.In().code;
    if (code == kContinueTick) return kStillRunning; // an open entry's redraw
    notes_ += "act ";
    if (code == 'p') control.state.inputMode = kModeTextEntry;
    if (code == kCodeEnter) control.state.inputMode = kModeCursor;
    return kStillRunning;
  }
  int Back(Control& /*control*/, const CommandRow& /*row*/) override {
    notes_ += "back ";
    return kStillRunning;
  }

private:
  std::string& notes_;
};

TEST(DrawingCommand, SharedKeysReachTheirHandlersOnlyInCursorMode) {
  DispatchFixture f;
  std::string notes;
  f.table.Add({kCodeAddLine, Level::kMain, [&] { return std::make_unique<Noting>(notes); }});
  f.Key(kCodeAddLine);
  f.Key(kCodeBackspace);
  f.Key(kCodeTab); // no meaning given: not in use, and the command runs on
  EXPECT_EQ(f.Cues().back(), kSoundSmallError);
  f.Key('p');
  f.Key(kCodeBackspace); // a prompt of the command owns the key now
  f.Key(kCodeEnter);
  EXPECT_EQ(notes, "start back act act act ");
  EXPECT_TRUE(LevelActive(f.control, Level::kMain));
  f.Key(kCodeEsc);
  EXPECT_FALSE(LevelActive(f.control, Level::kMain));
}

} // namespace
} // namespace lumora
