# Windows build: RemoteControl.exe and the Windows-side tools.
enable_language(RC)
file(GLOB RC_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/os/win32/*.cpp)
file(GLOB RC_RESOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/*.rc)

add_executable(RemoteControl WIN32 ${RC_WIN32_SOURCES} ${RC_RESOURCES})
target_include_directories(RemoteControl PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_compile_options(RemoteControl PRIVATE ${RC_WARNINGS})
target_link_libraries(RemoteControl PRIVATE rc_core user32 gdi32 shell32 advapi32 setupapi ole32 oleaut32 uuid strmiids)
# The portable core calls the backend, the backend calls back into the core.
target_link_libraries(rc_core PUBLIC)
set_target_properties(RemoteControl PROPERTIES LINK_FLAGS "-Wl,--major-os-version,5,--minor-os-version,1,--major-subsystem-version,5,--minor-subsystem-version,1")

file(GLOB tool_dirs LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tools/*)
foreach(dir IN LISTS tool_dirs)
  if(EXISTS ${dir}/win32.cmake)
    include(${dir}/win32.cmake)
  endif()
endforeach()
