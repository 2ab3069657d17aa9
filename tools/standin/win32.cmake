# The stand-in TV application; the e2e runs copy it under each
# application's executable name.
add_executable(standin WIN32 ${CMAKE_CURRENT_LIST_DIR}/standin.cpp)
target_compile_options(standin PRIVATE ${RC_WARNINGS})
target_link_libraries(standin PRIVATE user32)
