// Message boxes: one-line windows that show a message with its sound cue, for a while or until
// the user has seen it.
#pragma once

#include "util/text_pair.h"

#include <string>
#include <string_view>

namespace lumora {

struct TextScreen;

// A box centred in the window with the text highlighted; plays the cue, waits `seconds` on the
// clock (0: no wait) and closes the box. Before the window exists the text goes to the console.
void ShowMessage(TextScreen& screen, int sound, std::string_view text, double seconds);
void ShowMessage(TextScreen& screen, int sound, const TextPair& text, double seconds);

// A box at row 3, column 2 with the error cue. With acknowledge the box stays and the result is
// 88888 until AcknowledgeNotice sees a key; without, the text is also printed on the console,
// the box stays 2 seconds and the result is 0.
int ShowNotice(TextScreen& screen, std::string_view text, bool acknowledge);
int ShowNotice(TextScreen& screen, const TextPair& text, bool acknowledge);

// A message that would not fit `room` columns with the start of the file path it names
// ("...") left out, so that what happened to the file stays in view; unchanged when it fits or
// names no path long enough to help.
std::string FitMessage(std::string_view text, int room);

// The dispatcher hands each key to an open notice: a non-zero raw key closes it (result 0),
// anything else leaves it open (88888). With no notice waiting the result is 0.
int AcknowledgeNotice(TextScreen& screen, int rawKey);
bool NoticeWaiting(const TextScreen& screen);
// A note of what was just done, shown after the prompt on row 1 without waiting and without a
// cue, until the next key or click clears it (ClearNote). Before the window exists it goes to
// the console.
void ShowNote(TextScreen& screen, std::string_view text);
void ShowNote(TextScreen& screen, const TextPair& text, std::string_view detail);
void ClearNote(TextScreen& screen);

// Writes a waiting notice's text again into its box, emptied by a full repaint.
void RewriteNotice(TextScreen& screen);

} // namespace lumora
