# procstat.exe: a process's handle, private-memory and GDI/USER counts;
# opencost.exe: the handles the system's own DirectShow keeps per open of
# the driver. Both for the soak run under Wine.
add_executable(procstat ${CMAKE_CURRENT_LIST_DIR}/procstat.cpp)
target_compile_options(procstat PRIVATE ${RC_WARNINGS})
target_link_libraries(procstat PRIVATE user32 psapi ntdll)
add_executable(opencost ${CMAKE_CURRENT_LIST_DIR}/opencost.cpp)
target_compile_options(opencost PRIVATE ${RC_WARNINGS})
target_link_libraries(opencost PRIVATE ole32 oleaut32 uuid strmiids ntdll)
