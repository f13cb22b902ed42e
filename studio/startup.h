#pragma once

namespace vek::ui {

// The whole program: parses the command line, creates the windows, runs the message loop.
int runVekstudio(int argc, char* argv[]);

}  // namespace vek::ui
