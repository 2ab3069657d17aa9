# The installer (target `installer`, not part of `all`: makensis is only
# needed to ship) and the checks on what we ship: the exe's size (label
# release), the installer's build and the versions that must agree (label
# installer).
find_program(RC_MAKENSIS NAMES makensis)
set(RC_INSTALLER ${CMAKE_BINARY_DIR}/RemoteControl-${PROJECT_VERSION}-setup.exe)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(RC_NSIS_TARGET -DTARGET=amd64-unicode)
endif()
if(RC_MAKENSIS)
  add_custom_command(
    OUTPUT ${RC_INSTALLER}
    COMMAND ${RC_MAKENSIS} -V2 -WX -DVERSION=${PROJECT_VERSION} -DEXE=$<TARGET_FILE:RemoteControl>
            -DOUTFILE=${RC_INSTALLER} ${RC_NSIS_TARGET} ${CMAKE_CURRENT_LIST_DIR}/RemoteControl.nsi
    DEPENDS RemoteControl ${CMAKE_CURRENT_LIST_DIR}/RemoteControl.nsi
            ${CMAKE_SOURCE_DIR}/src/resources/remote_control.ico
    COMMENT "makensis: RemoteControl-${PROJECT_VERSION}-setup.exe"
    VERBATIM)
else()
  add_custom_command(
    OUTPUT ${RC_INSTALLER}
    COMMAND ${CMAKE_COMMAND} -E echo "makensis is needed for the installer (scripts/setup.sh installs nsis)"
    COMMAND ${CMAKE_COMMAND} -E false
    VERBATIM)
endif()
add_custom_target(installer DEPENDS ${RC_INSTALLER})

find_program(RC_PYTHON3 NAMES python3 REQUIRED)
set(RC_RELEASE_CHECK ${RC_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/release/check_release.py)

# 100 KB: the exe stays a small download and a small resident. The ceiling
# is for the 32-bit exe we ship, not the 64-bit build Wine-only hosts run.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME release.size
           COMMAND ${RC_RELEASE_CHECK} size --exe $<TARGET_FILE:RemoteControl> --max-bytes 102400)
  set_tests_properties(release.size PROPERTIES LABELS release)
endif()

add_test(NAME installer.build
         COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target installer)
set_tests_properties(installer.build PROPERTIES LABELS installer FIXTURES_SETUP rc_installer TIMEOUT 300)
add_test(NAME installer.versions
         COMMAND ${RC_RELEASE_CHECK} versions --exe $<TARGET_FILE:RemoteControl>
                 --installer ${RC_INSTALLER} --version ${PROJECT_VERSION})
# The checker itself: another version must fail every one of the eight
# fields that carry it, About's text included.
add_test(NAME installer.versions.checker
         COMMAND ${RC_RELEASE_CHECK} versions --exe $<TARGET_FILE:RemoteControl>
                 --installer ${RC_INSTALLER} --version ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.9999)
set_tests_properties(installer.versions installer.versions.checker
                     PROPERTIES LABELS installer FIXTURES_REQUIRED rc_installer)
set_tests_properties(installer.versions.checker PROPERTIES PASS_REGULAR_EXPRESSION "\n8 faults\n")
