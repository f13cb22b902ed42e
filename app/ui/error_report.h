#pragma once

#include <functional>

namespace vek::ui {

struct AppContext;

// Runs a command at the event boundary: an exception it throws stops the command and is shown
// by the application's default error report, in the interface language. What the command had
// done stays done. Returns false when the command failed.
bool runGuarded(const AppContext& context, const std::function<void()>& command);

// Shows what whole-file writes tell (a broken hard link) in a box with the file on a second
// line, until uninstallWriteNotices.
void installWriteNotices(const AppContext& context);
void uninstallWriteNotices();

}  // namespace vek::ui
