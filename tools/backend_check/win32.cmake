# The Win32 backend and the stand-in, run under Wine (label wine).
set(RC_BACKEND_CHECK_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/backend_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/standin_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dialog_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dialog_check.rc)
foreach(part IN ITEMS dialogs driver host input kernel menu messages power shell timers window windows)
  list(APPEND RC_BACKEND_CHECK_SOURCES ${CMAKE_SOURCE_DIR}/src/os/win32/win32_${part}.cpp)
endforeach()
add_executable(backend_check ${RC_BACKEND_CHECK_SOURCES})
target_include_directories(backend_check PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR})
target_compile_options(backend_check PRIVATE ${RC_WARNINGS})
target_link_libraries(backend_check PRIVATE user32 shell32 advapi32)

find_program(RC_WINE NAMES wine)
if(RC_WINE)
  add_test(NAME wine.backend_and_standin
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run_under_wine.sh $<TARGET_FILE:backend_check>
                   $<TARGET_FILE:standin> ${CMAKE_BINARY_DIR}/wine-backend-check)
  set_tests_properties(wine.backend_and_standin PROPERTIES LABELS wine TIMEOUT 300 SKIP_RETURN_CODE 77)
endif()
