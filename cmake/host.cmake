# Host build: the core against the simulated desktop, unit tests, rcsim.
find_package(GTest REQUIRED)

include(${CMAKE_SOURCE_DIR}/cmake/sim.cmake)

file(GLOB RC_UNIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
if(RC_UNIT_SOURCES)
  add_executable(rc_unit_tests ${RC_UNIT_SOURCES})
  target_compile_options(rc_unit_tests PRIVATE ${RC_WARNINGS})
  target_include_directories(rc_unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/unit)
  target_link_libraries(rc_unit_tests PRIVATE rc_core rc_sim GTest::gtest GTest::gtest_main)
  include(GoogleTest)
  gtest_discover_tests(rc_unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS unit)
endif()

file(GLOB RC_RCSIM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/rcsim/*.cpp)
if(RC_RCSIM_SOURCES)
  add_executable(rcsim ${RC_RCSIM_SOURCES})
  set_target_properties(rcsim PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  target_compile_options(rcsim PRIVATE ${RC_WARNINGS})
  target_link_libraries(rcsim PRIVATE rc_core rc_sim)
endif()

# rcbench: the key timer's procedure called in a loop over a scenario's
# world, for callgrind (scripts/bench.sh). It reads worlds as rcsim does.
file(GLOB RC_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/bench/*.cpp)
if(RC_BENCH_SOURCES AND RC_RCSIM_SOURCES)
  set(RC_SCENARIO_SOURCES ${RC_RCSIM_SOURCES})
  list(FILTER RC_SCENARIO_SOURCES EXCLUDE REGEX "/main\\.cpp$")
  add_executable(rcbench ${RC_BENCH_SOURCES} ${RC_SCENARIO_SOURCES})
  set_target_properties(rcbench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  target_include_directories(rcbench PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(rcbench PRIVATE ${RC_WARNINGS})
  target_link_libraries(rcbench PRIVATE rc_core rc_sim)
endif()

# keymaps: the built-in key maps written out as key-map files and charts.
file(GLOB RC_KEYMAPS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/keymaps/*.cpp)
if(RC_KEYMAPS_SOURCES)
  add_executable(keymaps ${RC_KEYMAPS_SOURCES})
  set_target_properties(keymaps PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  target_compile_options(keymaps PRIVATE ${RC_WARNINGS})
  target_link_libraries(keymaps PRIVATE rc_core rc_sim)
endif()

foreach(extra IN ITEMS ${CMAKE_SOURCE_DIR}/tests/host.cmake)
  if(EXISTS ${extra})
    include(${extra})
  endif()
endforeach()
