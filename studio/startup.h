#pragma once

#include <QStringList>

namespace vek {
struct StartupOptions;
}  // namespace vek

namespace vek::ui {

class InstanceChannel;
class Workbench;

// The files the command line names, in order.
QStringList filesToOpen(const StartupOptions& options);

// Opens the command line's files once the message loop runs, and those that later starts hand
// over through `channel` (if any) as they come.
void serveFiles(Workbench& workbench, InstanceChannel* channel, const QStringList& files);

// The whole program: parses the command line, creates the windows, runs the message loop.
int runVekstudio(int argc, char* argv[]);

}  // namespace vek::ui
