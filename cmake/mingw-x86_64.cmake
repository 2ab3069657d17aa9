# Toolchain: 64-bit Windows by MinGW-w64, win32 thread model, static runtime.
# The same sources as the shipped 32-bit exe, for Wine runs on hosts that
# cannot execute 32-bit code (Wine then runs only 64-bit programs).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
find_program(CMAKE_CXX_COMPILER NAMES x86_64-w64-mingw32-g++-win32 x86_64-w64-mingw32-g++)
find_program(CMAKE_RC_COMPILER NAMES x86_64-w64-mingw32-windres)
if(NOT CMAKE_CXX_COMPILER OR NOT CMAKE_RC_COMPILER)
  message(FATAL_ERROR "x86_64-w64-mingw32 g++ and windres are needed (scripts/setup.sh installs them)")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Windows XP SP3 is the oldest target.
add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 NTDDI_VERSION=0x05010300)
# The boundary carries 32-bit values: programs stay below 2 GB, where their
# module handle and a timer procedure's address fit it.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-static -static-libgcc -static-libstdc++ -Wl,--image-base,0x10000000 -Wl,--disable-high-entropy-va")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
