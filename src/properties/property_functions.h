// The property functions of the command table: the four dialogs (key 2 or the properties
// label), the key letters that open one selector directly, the shape switch o and the
// mirroring step <. They work on the current attributes of the main function's element type,
// and when they end the main function is told once with kCodePropertiesChanged.
#pragma once

#include "properties/value_selector.h"
#include "protocol/command.h"

#include <optional>
#include <string>
#include <vector>

namespace lumora {

class PropertyDialog final : public Command {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  struct Line {
    Attribute attribute;
    TextPair label;
    bool closedSwitch = false; // the "closed" line of the line dialog
  };

  void BuildLines(const Control& control);
  void Rebuild(const Control& control);
  void ShowPrompt(Control& control);
  int Choose(Control& control, const CommandRow& row);
  int Close(Control& control, const CommandRow& row);

  int kind_ = 0;
  std::vector<Line> lines_;
  std::vector<std::string> texts_;
  int width_ = 1;
  bool windowOpen_ = false;
  bool changed_ = false;
  std::optional<ValueSelector> selector_;
};

// One key letter: its selector at once, on the set of the element type.
class PropertyKey final : public Command {
public:
  explicit PropertyKey(Attribute attribute) : attribute_(attribute) {}

protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  int Finish(Control& control, const CommandRow& row, int result);

  Attribute attribute_;
  std::optional<ValueSelector> selector_;
};

// o: the element in the making becomes its partner shape (open and closed line, arc and circle).
class ShapeSwitch final : public Function {
public:
  int Step(Control& control, const CommandRow& row) override;
};

// <: the part's next mirroring.
class MirrorStep final : public Function {
public:
  int Step(Control& control, const CommandRow& row) override;
};

// The partner of a line shape: 1 open and 2 closed line, 3 arc and 4 circle.
std::uint32_t PartnerShape(std::uint32_t shape);

} // namespace lumora
