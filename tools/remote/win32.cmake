# remote.exe: feeds key presses to the virtual tuner.
add_executable(remote ${CMAKE_SOURCE_DIR}/tools/remote/remote.cpp)
target_compile_options(remote PRIVATE ${RC_WARNINGS})
target_link_libraries(remote PRIVATE advapi32)
