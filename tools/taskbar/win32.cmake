# taskbar.exe: plays a restarting Explorer to the programs' tray icons, and
# the system's power notices to the top-level windows.
add_executable(taskbar ${CMAKE_CURRENT_LIST_DIR}/taskbar.cpp)
target_compile_options(taskbar PRIVATE ${RC_WARNINGS})
target_link_libraries(taskbar PRIVATE user32 shell32)
