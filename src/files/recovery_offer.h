// What start-up does with the logs of programs that died: each is looked at once. A log that
// holds nothing unsaved goes quietly, a damaged one is reported and kept aside, and the first
// that holds unsaved work is offered to the user, who rebuilds the drawing from it or keeps it
// aside.
#pragma once

#include "files/recovery_files.h"
#include "files/recovery_writer.h"
#include "util/clock.h"
#include "util/text_pair.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lumora {

inline constexpr TextPair kRecoverTitle{"Recover unsaved drawing '"_l1,
                                        "Palautetaanko tallentamaton piirustus '"_l1};
inline constexpr TextPair kRecoverSteps{"' (%s steps, saved at %s) "_l1,
                                        "' (%s vaihetta, tallennettu %s) "_l1};
inline constexpr TextPair kRecoverOneStep{"' (%s step, saved at %s) "_l1,
                                          "' (%s vaihe, tallennettu %s) "_l1};
inline constexpr TextPair kRecoverQuestion{"?"_l1, "?"_l1};
inline constexpr TextPair kRecoveryDamaged{"Damaged recovery log kept aside: "_l1,
                                           "Vioittunut palautusloki jätetty talteen: "_l1};

struct RecoveryOffer {
  OrphanedLog orphan; // its lock is held until the offer is answered
  RecoveryLogContents log;
};

// A moment as the seconds of its local calendar date and time (what the log's header keeps).
std::int64_t CalendarSeconds(const LocalDateTime& moment);
// "YYYYMMDD-HHMMSS", for the names of logs kept aside.
std::string FileStamp(const LocalDateTime& moment);

// Looks through the folder's orphaned logs and answers the first worth offering.
std::optional<RecoveryOffer> TakeRecoveryOffer(const std::string& directory, FileReporter& reporter,
                                               const std::string& stamp);

// "Recover unsaved drawing 'NAME' (N steps, saved at TIME) " in the language, Latin-1; the
// question mark is the question's own.
std::string RecoveryTitle(const RecoveryOffer& offer, Language language);

// Yes: the drawing is rebuilt from the log and counts as unsaved with its name; the writer's
// log starts afresh from it, and the old log goes. A log whose checkpoint cannot be read is
// reported and kept aside instead.
RebuildResult AcceptRecovery(RecoveryOffer& offer, ElementStore& store, FileEnvironment& env,
                             DrawingFileState& state, StepCodec& codec, RecoveryWriter& writer,
                             std::int64_t now, const std::string& stamp);
// No: the log is kept aside and never offered again.
void DeclineRecovery(RecoveryOffer& offer, const std::string& stamp);

} // namespace lumora
