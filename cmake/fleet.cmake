# purgent-fleet: one report (summary, CSV, HTML page) for the run logs of many
# machines. Portable: a Linux program in the native build, a Windows console
# program (purgent-fleet.exe, in the release package) in the Windows builds.
file(GLOB PURGENT_FLEET_SOURCES CONFIGURE_DEPENDS tools/fleet/*.cpp)
list(REMOVE_ITEM PURGENT_FLEET_SOURCES "${CMAKE_SOURCE_DIR}/tools/fleet/main.cpp"
  "${CMAKE_SOURCE_DIR}/tools/fleet/windows_main.cpp")
add_library(purgent_fleet STATIC ${PURGENT_FLEET_SOURCES})
target_link_libraries(purgent_fleet PUBLIC purgent_image purgent_html_text)
target_include_directories(purgent_fleet PUBLIC tools)

if(WIN32)
  # wmain: the arguments as UTF-16, whatever the system's code page.
  add_executable(purgent-fleet tools/fleet/windows_main.cpp)
  target_compile_options(purgent-fleet PRIVATE -municode)
  # Static and reproducible like purgent.exe.
  target_link_options(purgent-fleet PRIVATE -municode -static -static-libgcc -static-libstdc++ -s
    -Wl,--no-insert-timestamp)
else()
  add_executable(purgent-fleet tools/fleet/main.cpp)
endif()
target_link_libraries(purgent-fleet PRIVATE purgent_fleet)
