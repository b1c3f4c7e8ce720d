#pragma once

#include <cstddef>
#include <string>

// Handing the start over to another installed program that the registry
// names: when that program's window is already open nothing is started,
// otherwise the program is started and given a moment to finish.
namespace HandOver {

// The title of the other program's window.
constexpr const char* WindowTitle = "ORVEL LUMET";
// The quoted command line of 256 UTF-16 units, terminator included, holds
// at most this many characters of the program.
constexpr size_t MaxProgramLength = 253;
// How long the panel waits for the started program to end.
constexpr int WaitMs = 3000;

// Starts program (a byte string in the system's code page) unless its
// window is open and waits up to WaitMs for it to end. Returns true when the
// panel is to end: the program's window is open, or the program was started.
// Returns false, having started nothing, when the name is too long for the
// command line or names nothing that can be started (empty, missing, not
// executable, a folder, or a relative name that Linux would have to take
// from the current folder): the panel then starts normally.
bool Run(const std::string& program);

// Platform parts.
// The length of program in UTF-16 units.
size_t ProgramLength(const std::string& program);
// Whether a top-level window titled WindowTitle exists.
bool IsWindowOpen();
// Starts program with the panel's environment and directory and waits up to
// WaitMs for it to end; a program still running is left running. False when
// it could not be started.
bool StartAndWait(const std::string& program);

} // namespace HandOver
