#include "files/recovery_offer.h"

#include "model/element_store.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

namespace lumora {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// What the question's text may take of its row and leave the answers room.
constexpr std::size_t kRecoverTitleColumns = 82;

void KeepAside(const std::string& logPath, std::uint64_t checkpoint, FileReporter& reporter,
               const std::string& stamp) {
  const std::string aside = PutLogAside(logPath, checkpoint, stamp);
  const auto slash = aside.rfind('/');
  reporter.ShowError(std::string(kRecoveryDamaged.In(reporter.CurrentLanguage())) +
                     (slash == std::string::npos ? aside : aside.substr(slash + 1)));
}

std::string Replace(std::string_view pattern, const std::string& first, const std::string& second) {
  std::string out(pattern);
  out.replace(out.find("%s"), 2, first);
  out.replace(out.find("%s"), 2, second);
  return out;
}

} // namespace

std::int64_t CalendarSeconds(const LocalDateTime& moment) {
  const std::chrono::sys_days day{std::chrono::year{moment.year} /
                                  static_cast<unsigned>(moment.month) /
                                  static_cast<unsigned>(moment.day)};
  return std::int64_t{day.time_since_epoch().count()} * kSecondsPerDay + moment.hour * 3600 +
         moment.minute * 60 + moment.second;
}

std::string FileStamp(const LocalDateTime& m) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", m.year, m.month, m.day, m.hour,
                m.minute, m.second);
  return text;
}

std::optional<RecoveryOffer> TakeRecoveryOffer(const std::string& directory, FileReporter& reporter,
                                               const std::string& stamp) {
  std::error_code error;
  for (OrphanedLog& orphan : FindOrphanedLogs(directory)) {
    RecoveryLogContents log = ReadRecoveryLogFile(orphan.logPath);
    if (!log.headerRead) {
      KeepAside(orphan.logPath, 0, reporter, stamp);
    } else if (!std::filesystem::is_regular_file(
                   CheckpointPathOf(orphan.logPath, log.header.checkpoint), error)) {
      // Its steps start from a checkpoint that is gone: there is nothing to do them on.
      KeepAside(orphan.logPath, log.header.checkpoint, reporter, stamp);
    } else if (log.steps.empty() && !log.header.unsaved) {
      RemoveLogFiles(orphan.logPath); // all it holds is in a drawing file
    } else {
      return RecoveryOffer{.orphan = std::move(orphan), .log = std::move(log)};
    }
  }
  return std::nullopt;
}

std::string RecoveryTitle(const RecoveryOffer& offer, Language language) {
  const LocalDateTime at = CalendarOf(offer.log.header.savedAt);
  char time[32];
  // The Finnish wording is the longer: its date goes without the year, as Finns write it.
  if (language == Language::kFinnish)
    std::snprintf(time, sizeof time, "%d.%d. %02d:%02d", at.day, at.month, at.hour, at.minute);
  else
    std::snprintf(time, sizeof time, "%04d-%02d-%02d %02d:%02d", at.year, at.month, at.day, at.hour,
                  at.minute);
  const std::size_t steps = offer.log.steps.size();
  const std::string title(kRecoverTitle.In(language));
  const std::string rest = Replace((steps == 1 ? kRecoverOneStep : kRecoverSteps).In(language),
                                   std::to_string(steps), time);
  // A long name is cut so that the answers stay on the question's row.
  std::string name = offer.log.header.name;
  const std::size_t room =
      kRecoverTitleColumns - std::min(kRecoverTitleColumns, title.size() + rest.size());
  if (name.size() > room) name = room > 3 ? name.substr(0, room - 3) + "..." : "...";
  return title + name + rest;
}

RebuildResult AcceptRecovery(RecoveryOffer& offer, ElementStore& store, FileEnvironment& env,
                             DrawingFileState& state, StepCodec& codec, RecoveryWriter& writer,
                             std::int64_t now, const std::string& stamp) {
  const std::string& logPath = offer.orphan.logPath;
  const RebuildResult result = RebuildFromLog(store, env, state, logPath, offer.log, codec);
  if (!result.read) {
    store.ClearDrawing(); // nothing half read stays
    KeepAside(logPath, offer.log.header.checkpoint, env, stamp);
  } else {
    // The old log goes only once a new one holds everything it did.
    if (writer.IsOpen() && writer.Checkpoint(now)) RemoveLogFiles(logPath);
  }
  offer.orphan.lock.Release();
  return result;
}

void DeclineRecovery(RecoveryOffer& offer, const std::string& stamp) {
  PutLogAside(offer.orphan.logPath, offer.log.header.checkpoint, stamp);
  offer.orphan.lock.Release();
}

} // namespace lumora
