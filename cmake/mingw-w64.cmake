# Cross-compiles the programs that have no windows for Windows with MinGW-w64:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DVEK_MINGW_ARCH=i686 -DVEK_BUILD_GUI=OFF
# VEK_MINGW_ARCH is i686 (the game's 32 bits; the default) or x86_64.
set(VEK_MINGW_ARCH "i686" CACHE STRING "MinGW-w64 target: i686 or x86_64")
set_property(CACHE VEK_MINGW_ARCH PROPERTY STRINGS i686 x86_64)
if(NOT VEK_MINGW_ARCH MATCHES "^(i686|x86_64)$")
    message(FATAL_ERROR "VEK_MINGW_ARCH must be i686 or x86_64, not ${VEK_MINGW_ARCH}")
endif()
# The try_compile projects must see the same choice.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VEK_MINGW_ARCH)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VEK_MINGW_ARCH})
set(triple ${VEK_MINGW_ARCH}-w64-mingw32)

# The POSIX thread model: std::thread and std::mutex are complete in it.
find_program(CMAKE_C_COMPILER NAMES ${triple}-gcc-posix ${triple}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${triple}-g++-posix ${triple}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${triple}-windres windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs that run from any folder: the compiler's runtime is linked in, not shipped beside.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
