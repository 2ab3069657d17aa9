# Fuzz targets (label fuzz): each runs for RC_FUZZ_SECONDS from its seed
# corpus under ASan and UBSan; what it learns goes to the build tree, never
# into the committed seeds. scripts/fuzz.sh runs them longer.
include(${CMAKE_SOURCE_DIR}/cmake/sim.cmake)
set(RC_FUZZ_SECONDS 20 CACHE STRING "Seconds each fuzz target runs under ctest")

file(GLOB RC_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(source IN LISTS RC_FUZZ_SOURCES)
  get_filename_component(name ${source} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" surface ${name})
  add_executable(${name} ${source})
  target_compile_options(${name} PRIVATE ${RC_WARNINGS})
  target_link_libraries(${name} PRIVATE rc_core rc_sim)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  if(surface STREQUAL "scenario")
    # The scenario reader of rcsim, without its main.
    file(GLOB reader CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/rcsim/scenario*.cpp)
    target_sources(${name} PRIVATE ${reader})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tools/rcsim)
  endif()
  set(learned ${CMAKE_BINARY_DIR}/corpus/${surface})
  file(MAKE_DIRECTORY ${learned})
  add_test(NAME fuzz.${surface}
           COMMAND ${name} -max_total_time=${RC_FUZZ_SECONDS} -seed=1 -print_final_stats=1
                   ${learned} ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${surface})
  set_tests_properties(fuzz.${surface} PROPERTIES LABELS fuzz TIMEOUT 300)
endforeach()
