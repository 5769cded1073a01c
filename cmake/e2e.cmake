# End-to-end tests under Wine, in throwaway prefixes copied from the templates
# that scripts/setup.sh caches. Built natively. Label `wine`: the win64 build
# under wine64. Label `win32`: the shipped win32 build under the emulated
# 32-bit Wine of the 32-bit runner's root, in a 32-bit prefix and in a WoW64
# one (tests named Win32* and Wow64*, by their suite or their instantiation).
set(PURGENT_WIN64_DIR "${CMAKE_SOURCE_DIR}/build/win64" CACHE PATH
  "Build folder of the win64 preset (purgent.exe and the e2e helpers)")
set(PURGENT_WIN32_DIR "${CMAKE_SOURCE_DIR}/build/win32" CACHE PATH
  "Build folder of the win32 preset (the shipped purgent.exe and its i686 e2e helpers)")
set(PURGENT_ARTIFACT_DIR "${CMAKE_SOURCE_DIR}/build/artifacts" CACHE PATH
  "Where the e2e tests leave screenshots")

file(GLOB PURGENT_E2E_SOURCES CONFIGURE_DEPENDS tests/e2e/*.cpp)
add_executable(purgent_e2e_tests ${PURGENT_E2E_SOURCES})
target_link_libraries(purgent_e2e_tests PRIVATE purgent_sim_runner purgent_demo_report purgent_fleet
  GTest::gtest GTest::gtest_main)
add_dependencies(purgent_e2e_tests purgent-sim)
target_compile_definitions(purgent_e2e_tests PRIVATE
  PURGENT_WIN64_DIR="${PURGENT_WIN64_DIR}"
  PURGENT_WIN32_DIR="${PURGENT_WIN32_DIR}"
  PURGENT_DEMO_IMAGE="${CMAKE_SOURCE_DIR}/demo/workstation"
  PURGENT_ARTIFACT_DIR="${PURGENT_ARTIFACT_DIR}"
  PURGENT_SIM_EXE="$<TARGET_FILE:purgent-sim>"
  PURGENT_DEFAULT_CACHE="/var/cache/purgent"
  PURGENT_IN_I386_ROOT="${CMAKE_SOURCE_DIR}/scripts/in-i386-root.sh"
  PURGENT_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
set(PURGENT_WIN32_TESTS "Win32*:Wow64*")
gtest_discover_tests(purgent_e2e_tests TEST_FILTER "-${PURGENT_WIN32_TESTS}"
  PROPERTIES LABELS wine TIMEOUT 600 DISCOVERY_TIMEOUT 60)
gtest_discover_tests(purgent_e2e_tests TEST_FILTER "${PURGENT_WIN32_TESTS}"
  PROPERTIES LABELS win32 TIMEOUT 600 DISCOVERY_TIMEOUT 60)

# The differential check on a few random workstations, every option set: the
# real purgent.exe under Wine against purgent-sim (label differential). The
# script builds what it needs; between them the seeds exercise every row of
# the coverage table that any seed of the long run does (value deletions by
# type, forced deletions, junctions, logged-on and left-over hives, protected
# keys, COM servers, Messenger, a shared program folder, a profile on D:).
# Three rounds of about 45 s per seed on an idle machine, several times that on
# a busy one; a program that hangs is ended by the script's limit per run.
add_test(NAME DifferentialSeeds COMMAND bash "${CMAKE_SOURCE_DIR}/tools/differential/run.sh" --seeds 47-52)
set_tests_properties(DifferentialSeeds PROPERTIES LABELS differential TIMEOUT 1800
  ENVIRONMENT "PURGENT_DIFF_WORK=${CMAKE_BINARY_DIR}/differential")
