// How long a WAV file sounds: its data chunk's bytes over the format chunk's byte rate.
#pragma once

#include <string_view>

namespace lumora {

// Seconds of sound in the bytes of a RIFF WAVE file; 0 for anything that is not one.
double WavSeconds(std::string_view bytes);

// The same for a file; 0 when it cannot be read. Reads the header chunks only.
double WavFileSeconds(const std::string& path);

} // namespace lumora
