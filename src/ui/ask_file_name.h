// The file dialog of the commands that read and save drawings and parts: the name asked or
// chosen from a list of the kind's directory, one level of subdirectory entered, left or
// created, a missing file noticed and an existing one replaced only after a question. A step
// machine: called once per code until it answers.
#pragma once

#include "ui/ask_state.h"
#include "ui/ask_str.h"
#include "ui/ask_yes_no.h"
#include "ui/select_str.h"
#include "util/text_pair.h"

#include <string>
#include <vector>

namespace lumora {

// Results besides kStillRunning and the Esc and back of the prompts.
inline constexpr int kFileAccepted = 1;
inline constexpr int kFileNotReplaced = 0;
inline constexpr int kFileNotCreatable = -1;

inline constexpr int kMaxListedFiles = 200;
inline constexpr std::size_t kCurrentPartNameMax = 39; // a 40-byte name with its terminator

inline constexpr TextPair kWriteName{"^WRITE NAME ? "_l1, "^ANNA NIMI ? "_l1};
inline constexpr TextPair kSelectFromList{"^SELECT FROM LIST ! "_l1, "^VALITSE LISTASTA ! "_l1};
inline constexpr TextPair kNotInDirectory{"Not in directory !"_l1, "Ei olla hakemistossa !"_l1};
inline constexpr TextPair kAlreadyInDirectory{"Already in directory !"_l1,
                                              "Ollaan jo hakemistossa !"_l1};
inline constexpr TextPair kScriptNameRefused{"A name with .txt is read as a script !"_l1,
                                             "Nimi, jossa on .txt, luetaan skriptinä !"_l1};
inline constexpr TextPair kNewDirectory{"New directory !"_l1, "Uusi hakemisto !"_l1};
inline constexpr TextPair kNoFiles{"No files !"_l1, "Ei tiedostoja !"_l1};
inline constexpr TextPair kGiveName{"You have to give name !"_l1, "Nimi täytyy antaa !"_l1};
inline constexpr TextPair kFileExistsMessage{"File exists !"_l1, "Tiedosto löytyy !"_l1};

struct FileDialogArgs {
  int command = kCodeReadDrawing;
  TextPair title{};
  std::string home; // the program directory
  // Saving a drawing: the name proposed instead of the drawing's own (the name as typed when
  // it is asked again).
  std::string proposal;
};

class AskFileName {
public:
  // kFileAccepted with the full path in `path`, kFileNotReplaced, kFileNotCreatable, the Esc
  // or back of the prompts, or kStillRunning. `Name()` is then the accepted name without its
  // directory; the caller names the drawing after it once the file was read or written.
  int Ask(Control& control, PromptState& prompts, const FileDialogArgs& args, std::string& path);
  const std::string& Name() const { return name_; }

private:
  enum class Step { kIdle, kName, kList, kCreate, kNotFound, kReplace, kCannotCreate };

  int Start(Control& control, PromptState& prompts, const FileDialogArgs& args, std::string& path);
  int AskName(Control& control, PromptState& prompts, std::string_view initial);
  AskStrArgs NameArgs() const;
  int ShowList(Control& control, PromptState& prompts, std::string_view pattern);
  int Handle(Control& control, PromptState& prompts, std::string name, std::string& path);
  int EnterDirectory(Control& control, PromptState& prompts, const std::string& directory,
                     const std::string& rest, std::string& path);
  int Final(Control& control, PromptState& prompts, const std::string& name, std::string& path);
  int Accept(Control& control, PromptState& prompts);
  int Refuse(Control& control, PromptState& prompts, const TextPair& text);
  int WaitForNotice(Control& control, PromptState& prompts, std::string_view text, Step step);
  bool NoticeDone(Control& control);
  int AfterNotice(Control& control, PromptState& prompts);
  int Finish(int result);

  int StepName(Control& control, PromptState& prompts, std::string& path);
  int StepList(Control& control, PromptState& prompts, std::string& path);
  int StepCreate(Control& control, PromptState& prompts, std::string& path);
  int StepReplace(Control& control, PromptState& prompts);

  std::string& Subdirectory(PromptState& prompts) const;
  std::string Directory(PromptState& prompts) const;
  bool Saving() const;

  Step step_ = Step::kIdle;
  int command_ = 0;
  std::string kind_;
  std::string home_;
  TextPair title_;
  std::string typed_; // the name as typed, for asking again
  std::string name_;  // the final name, without directory
  std::string newDirectory_;
  std::string rest_; // what follows a subdirectory being created
  std::string questionEn_;
  std::string questionFi_;
  std::vector<std::string> items_;
  std::vector<bool> directories_;
  SelectArgs listArgs_;
  SavedPromptState noticeSaved_;
  AskYesNo question_;
};

} // namespace lumora
