#include "control/recover_headless.h"

#include "control/app.h"
#include "control/startup_headless.h"
#include "files/headless_environment.h"
#include "files/recovery_files.h"
#include "util/quoted.h"

namespace lumora {

bool RecoverLogHeadless(App& app, const std::string& logPath, const std::string& output,
                        StepCodec& codec, std::string& report) {
  const RecoveryLogContents log = ReadRecoveryLogFile(logPath);
  if (!log.headerRead) {
    report = Quoted(logPath) + " is not a recovery log";
    return false;
  }
  HeadlessFileEnvironment env;
  const RebuildResult rebuilt = RebuildFromLog(app.store, env, app.fileState, logPath, log, codec);
  if (!rebuilt.read) {
    report = "the checkpoint '" + CheckpointPathOf(logPath, log.header.checkpoint) +
             "' the log starts from cannot be read";
    return false;
  }
  if (!WriteDrawingHeadless(app, output, report)) return false;
  report = std::to_string(rebuilt.applied) + " of " + std::to_string(log.steps.size()) +
           " steps recovered" + (rebuilt.damaged ? ", a damaged tail dropped" : "");
  return true;
}

} // namespace lumora
