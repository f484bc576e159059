// The start-up question over a log left by a program that died: yes rebuilds its drawing, no
// keeps the log aside. Either way the program then goes on as usual.
#pragma once

#include "files/recovery_offer.h"
#include "protocol/command.h"
#include "ui/ask_yes_no.h"

#include <string>

namespace lumora {

class RecoverDrawing final : public Command {
public:
  RecoverDrawing(RecoveryOffer offer, StepCodec& codec, RecoveryWriter& writer)
      : offer_(std::move(offer)), codec_(codec), writer_(writer) {}

protected:
  int Start(Control& control, const CommandRow& row) override;
  int Continue(Control& control, const CommandRow& row) override;

private:
  int Ask(Control& control);
  void Answer(Control& control, int answer);

  RecoveryOffer offer_;
  StepCodec& codec_;
  RecoveryWriter& writer_;
  std::string titleEn_;
  std::string titleFi_;
  AskYesNo question_;
};

} // namespace lumora
