// The one table of command codes: which level each code starts a function on, and the
// function. Adding a command is one file in commands/ and one row in commands/program_commands.cpp;
// a code without a row is not in use.
#pragma once

#include "protocol/functions.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace lumora {

// Makes a fresh function object for each start; null when memory ran out.
using FunctionFactory = std::function<std::unique_ptr<Function>()>;

// Conditions on starting a function.
enum CommandFlag : std::uint32_t {
  kCursorModeOnly = 1u << 0, // not while a prompt is open
  kNotWithWindows = 1u << 1, // not while text windows are open
  kOnlyWhenIdle = 1u << 2,   // only when no function of any level is active
  kExclusive = 1u << 3,      // before it starts, its level (and the ones it closes) are freed
  kNotDuringEdit = 1u << 4,  // not while the edit command is the main function
  kOwnKeyCue = 1u << 5,      // the function plays the key cue itself, only when the key is taken
};

// Element types a property key applies to, as bits (1 << type); every type when zero.
constexpr std::uint32_t ElementBit(int type) {
  return 1u << static_cast<unsigned>(type);
}

struct CommandRow {
  int code = 0;
  Level level = Level::kMain;
  FunctionFactory make;
  std::uint32_t flags = kExclusive;
  // Codes that start the same function (a key and its menu-bar label) share a family; zero
  // makes the code its own family.
  int family = 0;
  // Main functions: the element type they make (kElementNone ... kElementPart).
  int elementType = kElementNone;
  // Property functions: the element types they apply to (ElementBit), every type when zero.
  std::uint32_t appliesTo = 0;

  int Family() const { return family != 0 ? family : code; }
};

class CommandTable {
public:
  CommandTable() = default;
  explicit CommandTable(std::vector<CommandRow> rows) : rows_(std::move(rows)) {}

  // A row for a code already in the table replaces it.
  void Add(const CommandRow& row);
  const CommandRow* Find(int code) const;
  std::size_t Size() const { return rows_.size(); }

private:
  std::vector<CommandRow> rows_;
};

} // namespace lumora
