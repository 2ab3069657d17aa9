# The virtual tuner DLL (regsvr32-registered stand-in for the card's
# capture driver) and the small client that proves it under Wine.
set(VT_DIR ${CMAKE_SOURCE_DIR}/tools/vtuner)
add_library(vtuner SHARED
  ${VT_DIR}/dll_main.cpp ${VT_DIR}/filter.cpp ${VT_DIR}/registration.cpp
  ${VT_DIR}/requests.cpp ${VT_DIR}/feed.cpp ${VT_DIR}/settings.cpp ${VT_DIR}/vtuner.def)
set_target_properties(vtuner PROPERTIES PREFIX "" OUTPUT_NAME vtuner)
target_compile_options(vtuner PRIVATE ${RC_WARNINGS})
target_link_libraries(vtuner PRIVATE advapi32 ole32 uuid strmiids)

add_executable(probe_client ${VT_DIR}/probe_client.cpp)
target_compile_options(probe_client PRIVATE ${RC_WARNINGS})
target_link_libraries(probe_client PRIVATE setupapi ole32 oleaut32 uuid strmiids)
