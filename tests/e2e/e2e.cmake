# End-to-end runs under Wine (label e2e): one 32-bit prefix per run made by a
# fixture, the virtual tuner as the card's driver, the real RemoteControl.exe.
find_program(RC_WINE NAMES wine)
find_program(RC_XVFB NAMES Xvfb)
find_program(RC_PYTHON3 NAMES python3)
if(RC_WINE AND RC_XVFB AND RC_PYTHON3 AND TARGET RemoteControl AND TARGET vtuner AND TARGET taskbar)
  enable_testing()
  set(E2E_CMD ${RC_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/e2e/e2e_cases.py
      --world ${CMAKE_BINARY_DIR}/e2e-world --src ${CMAKE_SOURCE_DIR}
      --exe $<TARGET_FILE:RemoteControl> --vtuner $<TARGET_FILE:vtuner>
      --probe $<TARGET_FILE:probe_client> --remote $<TARGET_FILE:remote>
      --taskbar $<TARGET_FILE:taskbar>)

  add_test(NAME e2e.world.setup COMMAND ${E2E_CMD} setup)
  set_tests_properties(e2e.world.setup PROPERTIES FIXTURES_SETUP e2e_world TIMEOUT 300)
  add_test(NAME e2e.world.teardown COMMAND ${E2E_CMD} teardown)
  set_tests_properties(e2e.world.teardown PROPERTIES FIXTURES_CLEANUP e2e_world TIMEOUT 60)
  set(E2E_TESTS e2e.world.setup e2e.world.teardown)

  foreach(case IN ITEMS vtuner_probe capture_press odd_devices_first main_device_probe main_device_7160 reader_type1
                        idle_second all_fail_mend)
    add_test(NAME e2e.${case} COMMAND ${E2E_CMD} run ${case})
    set_tests_properties(e2e.${case} PROPERTIES FIXTURES_REQUIRED e2e_world TIMEOUT 120)
    list(APPEND E2E_TESTS e2e.${case})
  endforeach()
  # Dialogs, tray menu and mouse keys, seen and clicked through X; the
  # confirmed shutdown makes a prefix of its own.
  if(TARGET standin)
    set(DIALOG_CMD ${RC_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/e2e/dialog_cases.py
        --world ${CMAKE_BINARY_DIR}/e2e-world --src ${CMAKE_SOURCE_DIR}
        --exe $<TARGET_FILE:RemoteControl> --vtuner $<TARGET_FILE:vtuner>
        --probe $<TARGET_FILE:probe_client> --remote $<TARGET_FILE:remote>
        --standin $<TARGET_FILE:standin>)
    foreach(case IN ITEMS shutdown_cancel setting_stores menu_switch mouse_keys second_copy_setting
                          shutdown_confirm)
      add_test(NAME e2e.${case} COMMAND ${DIALOG_CMD} run ${case})
      set_tests_properties(e2e.${case} PROPERTIES FIXTURES_REQUIRED e2e_world TIMEOUT 300)
      list(APPEND E2E_TESTS e2e.${case})
    endforeach()
  endif()
  foreach(case IN ITEMS shell_settings_key shell_remote_off shell_second_copy shell_hidden_window
                        shell_version_resource shell_explorer_restart)
    add_test(NAME e2e.${case} COMMAND ${E2E_CMD} run ${case})
    set_tests_properties(e2e.${case} PROPERTIES FIXTURES_REQUIRED e2e_world TIMEOUT 60)
    list(APPEND E2E_TESTS e2e.${case})
  endforeach()
  # The eight TV applications as stand-ins started and driven by the program.
  if(TARGET standin)
    set(E2E_APPS_CMD ${RC_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/e2e/cases_apps.py
        --world ${CMAKE_BINARY_DIR}/e2e-world --src ${CMAKE_SOURCE_DIR}
        --exe $<TARGET_FILE:RemoteControl> --vtuner $<TARGET_FILE:vtuner>
        --probe $<TARGET_FILE:probe_client> --remote $<TARGET_FILE:remote>
        --standin $<TARGET_FILE:standin>)
    foreach(case IN ITEMS app_arcsoft_tv5 app_totalmedia app_media_center app_powercinema
                          app_tvenhance app_orbisk app_orbisk_center app_savrin app_priority
                          app_letter_case app_user_keymap app_broken_keymap)
      add_test(NAME e2e.${case} COMMAND ${E2E_APPS_CMD} run ${case})
      set_tests_properties(e2e.${case} PROPERTIES FIXTURES_REQUIRED e2e_world TIMEOUT 90)
      list(APPEND E2E_TESTS e2e.${case})
    endforeach()
  endif()
  # A machine that cannot run 32-bit programs skips them (exit 77), visibly.
  set_tests_properties(${E2E_TESTS} PROPERTIES LABELS e2e RESOURCE_LOCK e2e_wine SKIP_RETURN_CODE 77)
endif()

# The setup program under Wine, in a prefix of its own: install, update over
# a running copy, uninstall with and without the settings.
if(RC_WINE AND RC_XVFB AND RC_PYTHON3 AND TARGET installer AND TARGET vtuner)
  add_test(NAME e2e.installer
           COMMAND ${RC_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/e2e/cases_installer.py
                   --world ${CMAKE_BINARY_DIR}/installer-world --src ${CMAKE_SOURCE_DIR}
                   --exe $<TARGET_FILE:RemoteControl> --installer ${RC_INSTALLER}
                   --version ${PROJECT_VERSION} --vtuner $<TARGET_FILE:vtuner> run install_update_uninstall)
  set_tests_properties(e2e.installer PROPERTIES LABELS "e2e;wine" FIXTURES_REQUIRED rc_installer
                       RESOURCE_LOCK e2e_wine SKIP_RETURN_CODE 77 TIMEOUT 600)
endif()
