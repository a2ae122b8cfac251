#pragma once
// The few shell services the client uses.
#include <QString>

namespace platform {

// Hands the address to the desktop's default handler (a browser for web addresses).
bool ShellOpen(const QString &address);

// The user's documents folder without a trailing separator; empty when unknown.
QString DocumentsFolder();

// Ends the process at once with the exit code: no clean-up, nothing saved, running
// background work cut off.
[[noreturn]] void TerminateProcessNow(int exitCode);

} // namespace platform
