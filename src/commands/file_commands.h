// The commands that read, save and clear the whole drawing: F6, F7 and Alt+F7.
#pragma once

#include "commands/text_variables.h"
#include "protocol/command.h"
#include "protocol/texts.h"
#include "ui/ask_file_name.h"
#include "ui/ask_yes_no.h"

#include <string>

namespace lumora {

struct Drawing;

inline constexpr TextPair kNothingToSave{"Nothing to be saved !"_l1, "Ei tallennettavaa !"_l1};
inline constexpr TextPair kDrwAtTheEnd{"At the end should be '.drw' !"_l1,
                                       "At the end should be '.drw' !"_l1};
inline constexpr TextPair kNewDrawingTitle{"New drawing: "_l1, "Kuvan tyhjennys: "_l1};
inline constexpr TextPair kNewDrawingQuestion{"New drawing ?"_l1, "Kuvan tyhjennys ?"_l1};

// The title of a file command, with the subdirectory the file dialog is in ("sub/"), cut to
// what the prompt line holds for that command.
struct FileTitle {
  std::string en;
  std::string fi;
  TextPair Pair() const { return {en, fi}; }
};
FileTitle MakeFileTitle(int code, std::string_view subdirectory);

// Only a drawing with unsaved lines or texts is worth a warning.
bool UnsavedWork(const Drawing& drawing);

// The drawing, its name and its origins change only when the whole file was read.
class ReadDrawing final : public Command {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  enum class Step { kUnsaved, kFile, kScript };
  int AskFile(Control& control, const CommandRow& row);
  int Read(Control& control, const CommandRow& row);

  Step step_ = Step::kUnsaved;
  AskYesNo question_;
  AskFileName dialog_;
  FileDialogArgs args_;
  FileTitle title_;
  std::string path_;
};

// The drawing is renamed only once its file is written; a refused replace writes nothing.
class SaveDrawing final : public Command {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  enum class Step { kFile };
  int Write(Control& control, const CommandRow& row);

  Step step_ = Step::kFile;
  AskFileName dialog_;
  FileDialogArgs args_;
  FileTitle title_;
  std::string path_;
};

class NewDrawing final : public Command {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  enum class Step { kQuestion };
  int Ask(Control& control);

  Step step_ = Step::kQuestion;
  AskYesNo question_;
};

inline constexpr TextPair kUpdatingTitle{"Updating drawing: "_l1, "Kuvan päivitys: "_l1};
inline constexpr TextPair kUpdatingQuestion{"Updating drawing ?"_l1, "Kuvan päivitys ?"_l1};

// Update texts: the #name# references of every text filled, in list order, from one table
// started empty; a question the user leaves with Esc leaves that text as it was.
class UpdateTexts final : public Command {
protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  enum class Step { kQuestion, kFilling };
  int Fill(Control& control, const CommandRow& row);

  Step step_ = Step::kQuestion;
  AskYesNo question_;
  TextElement* text_ = nullptr; // the text being filled
  TextSubstitution fill_;
  std::string result_;
};

} // namespace lumora
