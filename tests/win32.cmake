# Import-table checks on RemoteControl.exe (label imports): the exe must load
# on Windows XP SP3, and the checker itself is proved on listings with one
# fault added.
find_program(RC_PYTHON3 NAMES python3 REQUIRED)
# They concern the 32-bit exe we ship; a 64-bit build only runs under Wine.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
find_program(RC_OBJDUMP NAMES i686-w64-mingw32-objdump ${CMAKE_OBJDUMP} REQUIRED)

set(RC_IMPORTS_DIR ${CMAKE_SOURCE_DIR}/tests/imports)
set(RC_IMPORTS_ARGS
    --objdump ${RC_OBJDUMP}
    --allow ${RC_IMPORTS_DIR}/xp_sp3_allowed.txt
    --deny ${RC_IMPORTS_DIR}/xp_denied.txt)

add_test(NAME imports.RemoteControl
         COMMAND ${RC_PYTHON3} ${RC_IMPORTS_DIR}/check_imports.py
                 --exe $<TARGET_FILE:RemoteControl> ${RC_IMPORTS_ARGS})
set_tests_properties(imports.RemoteControl PROPERTIES LABELS imports)

foreach(fault IN ITEMS extra-function denied-functions denied-in-allow-list foreign-dll
                       ordinal-import os-version-5.2 subsystem-version-6.0 64-bit-image
                       no-import-table)
  add_test(NAME imports.checker.${fault}
           COMMAND ${RC_PYTHON3} ${RC_IMPORTS_DIR}/test_check_imports.py ${fault}
                   --exe $<TARGET_FILE:RemoteControl> ${RC_IMPORTS_ARGS})
  set_tests_properties(imports.checker.${fault} PROPERTIES LABELS imports)
endforeach()
endif()

# Dialog templates (label resources): every control of every dialog in the
# exe has the id, position and size the .rc script gives it.
add_test(NAME resources.dialog_templates
         COMMAND ${RC_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/resources/check_dialogs.py
                 --exe $<TARGET_FILE:RemoteControl>
                 --rc ${CMAKE_SOURCE_DIR}/src/resources/remote_control.rc)
set_tests_properties(resources.dialog_templates PROPERTIES LABELS resources)
