// Every command of the program, in the one table the dispatcher reads.
#pragma once

#include "protocol/command_table.h"

namespace lumora {

CommandTable ProgramCommands();

} // namespace lumora
