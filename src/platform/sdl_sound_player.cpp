#include "platform/sdl_sound_player.h"

#include <SDL.h>
#include <algorithm>
#include <vector>

namespace lumora {
namespace {

constexpr int kDeviceRate = 22050;
constexpr Uint16 kDeviceSamples = 512;
constexpr Uint8 kDeviceChannels = 1;
// A cue is a short sound: a long file put in its place is cut here rather than hold the window.
constexpr Uint64 kLongestCueMs = 10000;
constexpr Uint32 kPollMs = 5;

// The WAV converted to the device's format, or empty when it cannot be read.
std::vector<Uint8> LoadConverted(const std::string& path, const SDL_AudioSpec& device) {
  SDL_AudioSpec fileSpec;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV(path.c_str(), &fileSpec, &buffer, &length) == nullptr) return {};
  SDL_AudioCVT cvt;
  const int built = SDL_BuildAudioCVT(&cvt, fileSpec.format, fileSpec.channels, fileSpec.freq,
                                      device.format, device.channels, device.freq);
  std::vector<Uint8> out;
  if (built == 0) {
    out.assign(buffer, buffer + length);
  } else if (built > 0 && cvt.len_mult > 0) {
    out.resize(static_cast<std::size_t>(length) * static_cast<std::size_t>(cvt.len_mult));
    std::copy(buffer, buffer + length, out.begin());
    cvt.buf = out.data();
    cvt.len = static_cast<int>(length);
    if (SDL_ConvertAudio(&cvt) == 0) {
      out.resize(static_cast<std::size_t>(cvt.len_cvt));
    } else {
      out.clear();
    }
  }
  SDL_FreeWAV(buffer);
  return out;
}

} // namespace

SdlSoundPlayer::~SdlSoundPlayer() {
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlSoundPlayer::OpenDevice() {
  if (tried_) return device_ != 0;
  tried_ = true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  subsystem_ = true;
  SDL_AudioSpec wanted{};
  wanted.freq = kDeviceRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = kDeviceChannels;
  wanted.samples = kDeviceSamples;
  SDL_AudioSpec got{};
  device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &got, 0);
  if (device_ == 0) return false;
  rate_ = got.freq;
  bytesPerSecond_ = got.freq * got.channels * static_cast<int>(SDL_AUDIO_BITSIZE(got.format) / 8);
  if (rate_ > 0 && bytesPerSecond_ > 0) return true;
  SDL_CloseAudioDevice(device_);
  device_ = 0;
  return false;
}

bool SdlSoundPlayer::Play(const std::string& path) {
  if (!OpenDevice()) return false;
  SDL_AudioSpec device{};
  device.freq = rate_;
  device.format = AUDIO_S16SYS;
  device.channels = kDeviceChannels;
  const std::vector<Uint8> samples = LoadConverted(path, device);
  if (samples.empty()) return false;

  SDL_ClearQueuedAudio(device_);
  if (SDL_QueueAudio(device_, samples.data(), static_cast<Uint32>(samples.size())) != 0) {
    return false;
  }
  SDL_PauseAudioDevice(device_, 0);
  // The call returns when the sound has ended: wait for the queue to drain, then for the
  // device's last buffer. A device that stops taking data is given up on after the sound's
  // own length and a margin.
  const Uint64 soundMs =
      static_cast<Uint64>(samples.size()) * 1000u / static_cast<Uint64>(bytesPerSecond_);
  const Uint32 tailMs = static_cast<Uint32>(kDeviceSamples * 1000 / rate_) + 1;
  const Uint64 limitMs = std::min<Uint64>(soundMs + 2 * tailMs, kLongestCueMs);
  const Uint64 start = SDL_GetTicks64();
  while (SDL_GetQueuedAudioSize(device_) > 0 && SDL_GetTicks64() - start < limitMs) {
    SDL_Delay(kPollMs);
  }
  if (SDL_GetQueuedAudioSize(device_) == 0) {
    SDL_Delay(tailMs);
  } else {
    SDL_ClearQueuedAudio(device_);
  }
  SDL_PauseAudioDevice(device_, 1);
  return true;
}

} // namespace lumora
