// Turning a read DXF scene into elements: blocks are placed as parts (nested as they nest),
// layers numbered in order of first use, and a whole drawing gets its limits from what was
// read and a scale at which it fits a sheet.
#pragma once

#include "files/dxf_scene.h"
#include "files/file_environment.h"
#include "files/placement.h"

#include <string>

namespace lumora {

class ElementStore;
struct PartElement;

// Deepest block nesting, and what one file may unfold into, counted as a cost per element, per
// point, per letter and per hatch line (the plan, the drawing's records and the work of drawing
// and plotting them together) before anything is built: a file beyond it is refused, so that
// reading it stays near a gigabyte and drawing and plotting it near a few seconds.
inline constexpr int kMaxBlockDepth = 32;
inline constexpr double kDxfBytesPerElement = 400.0;
inline constexpr double kDxfBytesPerPoint = 48.0;
// A filling waits for the end of the plan with its placed boundary and the look-ups that pair
// it with drawn lines: it costs this much more than an element.
inline constexpr double kDxfBytesPerFilling = 600.0;
// Every letter of a text is kept with every copy of the text, and drawn and plotted stroke by
// stroke: it costs what its strokes take on paper, at least one. A stroke goes on from the one
// before it, which a dash does not, and costs less than a dash. Where the fonts are not at hand
// a letter counts as this many strokes, a letter of an average word.
inline constexpr double kDxfBytesPerLetterStroke = 24.0;
inline constexpr double kDxfStrokesPerLetter = 200.0 / kDxfBytesPerLetterStroke;
// A hatch line is drawn and plotted whenever its filling is, and kept as its pieces: what the
// fillings read will draw (each line across a boundary, in as many pieces as the boundary cuts
// it into) counts at this much a piece.
inline constexpr double kDxfBytesPerHatchLine = 800.0;
// A dash of a dashed line or hatch is a stroke of its own on paper: what the plot writes for it
// and the time it takes (it keeps nothing). At this much a dash the budget holds about thirty
// million of them, a plot of ten seconds at the most (dashes that run slant or round, both
// their ends changing in both directions, write twice what dashes along the page's edges do).
// Dashes repeat a quarter millimetre apart on paper at the least: so many make kilometres of
// line, an A0 sheet ruled a millimetre apart several times over.
inline constexpr double kDxfBytesPerDash = 32.0;
// A dash on an arc or circle goes to paper as its chord where the two cannot be told apart;
// one that bends visibly goes as a curve, which takes this many times what a chord takes.
inline constexpr double kDxfDashCurveWeight = 3.0;
// How far from its chord, in millimetres on paper, the middle of a dash bends at the least to be
// sent as a curve: half the finest step the plot draws in.
inline constexpr double kDxfVisibleBendMm = 0.005;
// An arc or circle stretched by unequal scales becomes the ellipse it is, as a line of points.
inline constexpr double kDxfPointsPerStretchedRound = 361.0;
// The drawing and plotting a file may ask for, and the memory it may take as a multiple of that:
// a read keeps to about a gigabyte and the plot of it to a few seconds.
inline constexpr double kMaxDxfBytes = 1024.0 * 1024 * 1024;
inline constexpr double kDxfMemoryPerWork = 1.25;
// Every placement walked costs its time even where it makes nothing (an insert of a missing
// block, or a dimension's): it is counted as this many bytes, so that the one budget bounds the
// walk too, at about 10^7 placements. A placement that makes a part costs what an element costs.
inline constexpr double kDxfBytesPerPlacement = 128.0;

// Checks the scene, then replaces the drawing (container null) or adds into the container.
// The scene's drawing-level points are taken over: the scene serves no second build.
// 1 = read; 0 = refused, or the whole drawing could not be built (a message was shown), and
// the drawing is as it was; -1 = adding into the container failed part way (the store said
// why): what was added is taken back, the container is the caller's to delete.
int BuildDxfScene(ElementStore& store, FileEnvironment& env, DxfScene& scene,
                  PartElement* container, const Placement& placement, bool draw,
                  double budgetBytes = kMaxDxfBytes);

// The first standard scale (1, 2 or 5 times a power of ten) at which the extents (in
// millimetres) fit the sheet, turned to the extents' orientation.
double ScaleToFit(double widthMm, double heightMm, double sheetWidth, double sheetHeight);

} // namespace lumora
