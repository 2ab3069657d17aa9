# Windows build: RemoteControl.exe, the Windows-side tools and their tests.
enable_language(RC)
file(GLOB RC_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/os/win32/*.cpp)
file(GLOB RC_RESOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/*.rc)

configure_file(${CMAKE_SOURCE_DIR}/src/resources/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)

add_executable(RemoteControl WIN32 ${RC_WIN32_SOURCES} ${RC_RESOURCES})
target_include_directories(RemoteControl PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_BINARY_DIR}/generated)
target_compile_options(RemoteControl PRIVATE ${RC_WARNINGS})
# The exe's objects hold the real boundary calls the core library needs.
target_link_libraries(RemoteControl PRIVATE rc_core user32 gdi32 shell32 advapi32 setupapi ole32 oleaut32 uuid strmiids)
# Loadable on Windows XP: the PE header must not ask for a newer system.
target_link_options(RemoteControl PRIVATE
  -Wl,--major-os-version,5,--minor-os-version,1
  -Wl,--major-subsystem-version,5,--minor-subsystem-version,1)

# The exe as we ship it, whatever the build type: stripped, and since the
# program neither throws nor asks a type at run time, without the exception
# and RTTI support of the static runtime (about 85 KB). libstdc++ turns on
# MinGW's own printf, which brings float formatting the program never uses;
# stdio.h read first with it off keeps msvcrt's. Function sections with
# --gc-sections drop nothing here and cost 1.5 KB of padding. The
# relocations stay: Vista and 7 move the image (ASLR) for about 3 KB.
set(RC_SHIP_COMPILE_OPTIONS -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
    -D__USE_MINGW_ANSI_STDIO=0 "SHELL:-include stdio.h")
target_compile_options(rc_core PRIVATE ${RC_SHIP_COMPILE_OPTIONS})
target_compile_options(RemoteControl PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${RC_SHIP_COMPILE_OPTIONS}>")
target_link_options(RemoteControl PRIVATE -s)

file(GLOB tool_dirs LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tools/*)
foreach(dir IN LISTS tool_dirs)
  if(EXISTS ${dir}/win32.cmake)
    include(${dir}/win32.cmake)
  endif()
endforeach()

# Tests of the Windows build: import checks here, the Wine runs in tests/e2e.
include(${CMAKE_SOURCE_DIR}/tests/win32.cmake)
include(${CMAKE_SOURCE_DIR}/installer/installer.cmake)
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/e2e.cmake)
  include(${CMAKE_SOURCE_DIR}/tests/e2e/e2e.cmake)
elseif(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
  add_subdirectory(${CMAKE_SOURCE_DIR}/tests/e2e ${CMAKE_BINARY_DIR}/tests/e2e)
endif()
