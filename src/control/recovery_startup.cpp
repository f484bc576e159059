#include "control/recovery_startup.h"

#include "commands/recover_drawing.h"
#include "control/app.h"
#include "control/dispatch.h"

namespace lumora {

void StartRecovery(App& app, StepCodec& codec) {
  const std::string folder = RecoveryDirectoryOf(app.home);
  const LocalDateTime now = app.clock.LocalTime();
  // The orphans are locked first, so the program's own log never takes one's slot.
  std::optional<RecoveryOffer> offer = TakeRecoveryOffer(folder, app.fileEnv, FileStamp(now));
  if (app.recovery.Open(folder, CalendarSeconds(now))) app.recoveryJournal.Opened();
  if (!offer) return;
  CommandRow row;
  row.code = kCodeRecoverDrawing;
  row.level = Level::kMain;
  StartOwnFunction(app.control, row,
                   std::make_unique<RecoverDrawing>(std::move(*offer), codec, app.recovery));
}

} // namespace lumora
