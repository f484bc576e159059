// Quitting: Esc with nothing running, or the window being closed. An unsaved drawing is
// protected by a question.
#pragma once

#include "protocol/command.h"
#include "ui/ask_yes_no.h"

namespace lumora {

inline constexpr TextPair kQuitTitle{"Quitting Lumora-program: "_l1,
                                     "Lumora-ohjelman lopetus: "_l1};
inline constexpr TextPair kNotSavedTitle{"You have not saved drawing: "_l1,
                                         "Et ole muistanut tallentaa: "_l1};
inline constexpr TextPair kAreYouSure{"^ARE YOU SURE ? "_l1, "^OLETKO VARMA ? "_l1};
inline constexpr TextPair kQuitting{"Quitting ?"_l1, "Lopetus ?"_l1};
inline constexpr TextPair kNotSaved{"You have not saved drawing !"_l1,
                                    "Et ole muistanut tallentaa !"_l1};

// Where the wish to quit came from.
enum class QuitOrigin {
  kKey,         // Esc: always asked
  kWindowClose, // the window was closed: a saved drawing ends at once
};

class Quit final : public Command {
public:
  explicit Quit(QuitOrigin origin = QuitOrigin::kKey) : origin_(origin) {}

protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  int Ask(Control& control);

  QuitOrigin origin_;
  TextPair title_ = kQuitTitle;
  AskYesNo question_;
};

} // namespace lumora
