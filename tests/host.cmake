# Scenario checks: rcsim plays each docs/scenarios/*.scn and compares its
# effect log with the lines the scenario expects.
if(TARGET rcsim)
  file(GLOB RC_SCENARIOS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/scenarios/*.scn)
  foreach(scn IN LISTS RC_SCENARIOS)
    get_filename_component(name ${scn} NAME_WE)
    add_test(NAME scenario.${name} COMMAND rcsim --check ${scn})
    set_tests_properties(scenario.${name} PROPERTIES LABELS scenario)
  endforeach()
endif()

# Includes point down the floors only (docs/architecture.md).
find_package(Python3 COMPONENTS Interpreter)
if(Python3_FOUND)
  add_test(NAME floors COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/floors/check_floors.py
           ${CMAKE_SOURCE_DIR}/src)
  set_tests_properties(floors PROPERTIES LABELS unit)
endif()

# The export under docs/keymaps/ is what the keymaps tool writes today.
if(TARGET keymaps)
  add_test(NAME keymaps.export COMMAND keymaps --check ${CMAKE_SOURCE_DIR}/docs/keymaps)
  set_tests_properties(keymaps.export PROPERTIES LABELS unit)
endif()

# The key-map file tests read the example in docs/keymaps.md.
if(TARGET rc_unit_tests)
  target_compile_definitions(rc_unit_tests PRIVATE RC_DOCS_DIR="${CMAKE_SOURCE_DIR}/docs")
endif()

# The soak: 100000 presses in a world that keeps changing, the fuzz targets'
# invariants after every step (tests/fuzz/world_soak.cpp).
add_executable(world_soak ${CMAKE_SOURCE_DIR}/tests/fuzz/world_soak.cpp)
target_compile_options(world_soak PRIVATE ${RC_WARNINGS})
target_link_libraries(world_soak PRIVATE rc_core rc_sim)
add_test(NAME soak.world COMMAND world_soak 100000)
set_tests_properties(soak.world PROPERTIES LABELS soak TIMEOUT 600)
