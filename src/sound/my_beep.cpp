#include "sound/my_beep.h"

#include "sound/sound_player.h"
#include "sound/wav_length.h"

#include <array>
#include <filesystem>
#include <system_error>

namespace lumora {
namespace {

enum class Group { kKey, kError, kNotice };

struct Cue {
  int id;
  std::string_view file;
  Group group;
};

constexpr std::array<Cue, 5> kCues{{
    {kSoundKey, "Sounds/DIGIT.WAV", Group::kKey},
    {kSoundError, "Sounds/ERROR.WAV", Group::kError},
    {kSoundSmallError, "Sounds/LITTLE_ERROR.WAV", Group::kError},
    {kSoundNotice, "Sounds/NOTICE.WAV", Group::kNotice},
    {kSoundWaiting, "Sounds/WAITING.WAV", Group::kNotice},
}};

const Cue* FindCue(int id) {
  for (const Cue& cue : kCues) {
    if (cue.id == id) return &cue;
  }
  return nullptr;
}

bool& PlayedFlag(SoundState& sound, Group group) {
  switch (group) {
  case Group::kKey:
    return sound.keyPlayed;
  case Group::kError:
    return sound.errorPlayed;
  case Group::kNotice:
    break;
  }
  return sound.noticePlayed;
}

std::string CuePath(const SoundState& sound, const Cue& cue) {
  std::string path = sound.home;
  if (!path.empty() && path.back() != '/') path += '/';
  path += cue.file;
  return path;
}

bool IsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

} // namespace

void MyBeep(SoundState& sound, int id) {
  const Cue* cue = FindCue(id);
  if (cue == nullptr) {
    if (sound.console != nullptr) *sound.console << "\nMyBeep(" << id << ") unknown" << std::flush;
    return;
  }
  bool& played = PlayedFlag(sound, cue->group);
  if (played) return;
  const std::string path = CuePath(sound, *cue);
  // Missing files and a failing device are not worth a message: the cue is only a hint.
  if (sound.player != nullptr && IsFile(path)) sound.player->Play(path);
  played = true;
}

double CueSeconds(SoundState& sound, int id) {
  const Cue* cue = FindCue(id);
  if (cue == nullptr) return 0.0;
  if (!sound.cueSecondsRead || sound.cueHome != sound.home) {
    for (std::size_t k = 0; k < kCues.size(); ++k) {
      sound.cueSeconds[k] = WavFileSeconds(CuePath(sound, kCues[k]));
    }
    sound.cueHome = sound.home;
    sound.cueSecondsRead = true;
  }
  return sound.cueSeconds[static_cast<std::size_t>(cue - kCues.data())];
}

void ClearSoundGroups(SoundState& sound) {
  sound.keyPlayed = false;
  sound.errorPlayed = false;
  sound.noticePlayed = false;
}

std::string_view SoundFileOf(int id) {
  const Cue* cue = FindCue(id);
  return cue == nullptr ? std::string_view{} : cue->file;
}

int SoundCueOfPath(std::string_view path) {
  for (const Cue& cue : kCues) {
    const std::string_view file = cue.file;
    if (path.size() >= file.size() && path.substr(path.size() - file.size()) == file &&
        (path.size() == file.size() || path[path.size() - file.size() - 1] == '/')) {
      return cue.id;
    }
  }
  return 0;
}

} // namespace lumora
