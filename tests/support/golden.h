// Exact comparison of rendered images with the reviewed pictures in tests/golden/.
//
// On a mismatch, or when the golden picture does not exist yet, NAME.out.png (what was drawn)
// and NAME.diff.png (differing pixels in red over a dimmed copy) are written to
// <build>/test-tmp/golden/ and the assertion fails. Look at the output, then promote it with
// tools/accept-golden NAME.
#pragma once

#include "view/png.h"
#include "view/soft_canvas.h"

#include <gtest/gtest.h>
#include <string>

namespace lumora::testing {

::testing::AssertionResult MatchesGolden(const RgbImage& image, const std::string& name);
::testing::AssertionResult MatchesGolden(const SoftCanvas& canvas, const std::string& name);

// Where the outputs of failed comparisons go.
std::string GoldenOutputDir();

} // namespace lumora::testing
