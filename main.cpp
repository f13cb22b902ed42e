#include "studio/startup.h"

int main(int argc, char* argv[]) { return vek::ui::runVekstudio(argc, argv); }
