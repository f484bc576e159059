// The bases of the commands. A Command begins on its first code and continues on the later
// ones; a DrawingCommand also answers the keys every drawing command shares: Backspace takes
// one step back, Tab completes, Ctrl+Enter is the alternative finish and Esc cancels. Each
// command keeps its own `enum class Step`.
#pragma once

#include "protocol/command_table.h"
#include "protocol/functions.h"

namespace lumora {

class Command : public Function {
public:
  int Step(Control& control, const CommandRow& row) final;

protected:
  // The first code: begin the function (BeginFunction(control, row)) and set the prompt.
  virtual int Start(Control& control, const CommandRow& row) = 0;
  // Every later code.
  virtual int Continue(Control& control, const CommandRow& row) = 0;

private:
  bool started_ = false;
};

class DrawingCommand : public Command {
protected:
  // In cursor mode the shared keys go to their own handlers; while a prompt of the command is
  // open, or a part of it that reads every key itself, they belong to that, and every code goes
  // to Act.
  int Continue(Control& control, const CommandRow& row) final;

  virtual int Act(Control& control, const CommandRow& row) = 0;
  // True while a part of the command reads every key itself (a list to choose from, the element
  // selection, a question, a file dialog, a result waiting for any key).
  virtual bool InnerStepOwnsKeys() const { return false; }
  // Each of these answers "Not in use !" unless the command gives the key a meaning.
  virtual int Back(Control& control, const CommandRow& row);
  virtual int Complete(Control& control, const CommandRow& row);
  virtual int Alternative(Control& control, const CommandRow& row);
  // Esc ends the command.
  virtual int Cancel(Control& control, const CommandRow& row);

  // Ends the command's level: kFinished.
  static int Finish(Control& control, const CommandRow& row);
  // "Not in use !" with the small-error cue: kStillRunning.
  static int NotInUse(Control& control);
};

} // namespace lumora
