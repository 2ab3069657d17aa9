# The simulated desktop, linked with the core for every host build.
file(GLOB RC_SIM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/os/sim/*.cpp)
add_library(rc_sim STATIC ${RC_SIM_SOURCES} ${RC_EMPTY_SOURCE})
target_include_directories(rc_sim PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(rc_sim PRIVATE ${RC_WARNINGS})
# The core calls the simulated desktop, and the desktop calls back into the
# core (window and timer procedures): CMake repeats the pair on link lines.
target_link_libraries(rc_core PUBLIC rc_sim)
target_link_libraries(rc_sim PUBLIC rc_core)
