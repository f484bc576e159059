// The expectations and outputs of event files: the prompt, the rows, messages, sounds, element
// counts, the end of the program; screenshots compared with golden pictures, saves and dumps.
#pragma once

#include "control/event_player.h"
#include "geometry/point.h"
#include "view/view.h"

#include <string>
#include <string_view>

namespace lumora {

struct App;
class GlyphRecordingCanvas;
class RecordingSoundPlayer;
class SoftCanvas;

// The next blank-separated word of a line, which moves past it (and the blanks after it).
std::string_view NextWord(std::string_view& line);
// Window pixels and drawing points as the lines give them.
bool ReadPixel(std::string_view& line, WindowPixel& pixel, std::string& problem);
bool ReadPoint(std::string_view& line, Point& point, std::string& problem);

struct EventChecks {
  App& app;
  SoftCanvas& canvas;
  GlyphRecordingCanvas& recorder;
  RecordingSoundPlayer& sounds;
  const PlayOptions& options;
  std::string eventDirectory; // files the event file names are found from here

  // An event line starts: what was shown and heard before it is forgotten.
  void NewEvent();
  bool Expect(std::string_view word, std::string_view rest, std::string& problem);
  bool Output(std::string_view word, std::string_view rest, std::string& problem);
};

} // namespace lumora
