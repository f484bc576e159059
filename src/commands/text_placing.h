// What the commands that add texts and measures share: the string shortened for a prompt, the
// text's outline carried by the cursor, the "+" marks of measured points, and making and taking
// back a text element.
#pragma once

#include "protocol/command_state.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace lumora {

struct TextElement;

// The string buffer of the text commands, with its terminator.
inline constexpr std::size_t kTextBufferSize = 1000;
// A string this long or longer is shown in a prompt as its start and "...".
inline constexpr std::size_t kShortenedLimit = 20;

inline constexpr TextPair kSelectTypeOfText{"^SELECT TYPE OF TEXT ! "_l1,
                                            "^VALITSE TEKSTITYYPPI ! "_l1};
inline constexpr TextPair kNoString{"No string !"_l1, "Ei tekstiä !"_l1};

// A string of limit characters or more becomes its first limit - 4 characters and "...".
std::string Shortened(std::string_view text, std::size_t limit = kShortenedLimit);

// The element in the making takes the current text attributes, so the status line shows them.
void TakeTextAttributes(Control& control);

// The cursor carries the outline of the string as the current text attributes will draw it.
void CarryTextOutline(Control& control, std::string_view text);
// No outline and no rubber line on the cursor.
void DropPreview(Control& control);
// A rubber line from the point to the cursor.
void RubberLineFrom(Control& control, const Point& from);

// Makes a text of the current text attributes and draws it; null when the store refused.
TextElement* PlaceText(Control& control, std::span<const Point> points, std::string_view text);
// Whether the text is still one of the drawing's.
bool InDrawing(const Control& control, const TextElement* text);
// Erases and deletes the text, keeping its string and points; false when it is gone already.
bool TakeBackText(Control& control, TextElement*& text, std::string& string, Point* points,
                  int count);

void MarkPoint(Control& control, const Point& point);
void UnmarkPoint(Control& control, const Point& point);
void UnmarkAll(Control& control);

} // namespace lumora
