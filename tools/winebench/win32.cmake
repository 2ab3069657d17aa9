# The benchmark's floors under Wine (scripts/bench.sh): pollfloor.exe polls
# the card as the program does and nothing else; trayfloor.exe adds one tray
# icon and waits for another program's.
set(RC_POLLFLOOR_SOURCES ${RC_WIN32_SOURCES})
list(FILTER RC_POLLFLOOR_SOURCES EXCLUDE REGEX "winmain\\.cpp$")
add_executable(pollfloor ${CMAKE_CURRENT_LIST_DIR}/pollfloor.cpp ${RC_POLLFLOOR_SOURCES})
target_include_directories(pollfloor PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_compile_options(pollfloor PRIVATE ${RC_WARNINGS})
target_link_libraries(pollfloor PRIVATE rc_core user32 gdi32 shell32 advapi32 setupapi ole32 oleaut32 uuid strmiids)

add_executable(trayfloor ${CMAKE_CURRENT_LIST_DIR}/trayfloor.cpp)
target_compile_options(trayfloor PRIVATE ${RC_WARNINGS})
target_link_libraries(trayfloor PRIVATE user32 shell32)
