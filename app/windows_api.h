#pragma once

// The Windows API without the min and max macros, which would break std::min and std::max.
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif
