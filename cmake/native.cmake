# Linux build: the simulated workstation, purgent-sim, unit and e2e tests.
file(GLOB_RECURSE PURGENT_SIM_SOURCES CONFIGURE_DEPENDS src/platform/sim/*.cpp)
add_library(purgent_sim STATIC ${PURGENT_SIM_SOURCES})
target_link_libraries(purgent_sim PUBLIC purgent_core purgent_image)
target_compile_definitions(purgent_sim PUBLIC PURGENT_VERSION="${PROJECT_VERSION}")

# The whole program on a simulated machine, with purgent-sim's command line:
# used by purgent-sim, purgent-bench and the tests.
file(GLOB PURGENT_SIM_RUNNER_SOURCES CONFIGURE_DEPENDS tools/purgent_sim/*.cpp)
list(REMOVE_ITEM PURGENT_SIM_RUNNER_SOURCES "${CMAKE_SOURCE_DIR}/tools/purgent_sim/main.cpp")
add_library(purgent_sim_runner STATIC ${PURGENT_SIM_RUNNER_SOURCES})
target_link_libraries(purgent_sim_runner PUBLIC purgent_sim purgent_report_page)
target_include_directories(purgent_sim_runner PUBLIC tools)

add_executable(purgent-sim tools/purgent_sim/main.cpp)
target_link_libraries(purgent-sim PRIVATE purgent_sim_runner)

# Timing figures of the simulator (not a test).
file(GLOB PURGENT_BENCH_SOURCES CONFIGURE_DEPENDS tools/bench/*.cpp)
add_executable(purgent-bench ${PURGENT_BENCH_SOURCES})
target_link_libraries(purgent-bench PRIVATE purgent_sim_runner purgent_image_generator purgent_fleet)
target_compile_definitions(purgent-bench PRIVATE PURGENT_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
  PURGENT_DEMO_IMAGE="${CMAKE_SOURCE_DIR}/demo/workstation")

# Machine images: large ones for the cost figures, random ones for the
# differential check; and their tests.
file(GLOB PURGENT_IMAGE_GENERATOR_SOURCES CONFIGURE_DEPENDS tools/image_generator/*.cpp)
list(REMOVE_ITEM PURGENT_IMAGE_GENERATOR_SOURCES "${CMAKE_SOURCE_DIR}/tools/image_generator/main.cpp")
add_library(purgent_image_generator STATIC ${PURGENT_IMAGE_GENERATOR_SOURCES})
target_link_libraries(purgent_image_generator PUBLIC purgent_core purgent_image)
target_include_directories(purgent_image_generator PUBLIC tools/image_generator)
add_executable(purgent-generate-image tools/image_generator/main.cpp)
target_link_libraries(purgent-generate-image PRIVATE purgent_image_generator)
target_compile_definitions(purgent-generate-image PRIVATE PURGENT_DEMO_IMAGE="${CMAKE_SOURCE_DIR}/demo/workstation")

# The differential check's comparison of the machines the real program and
# the simulator left.
add_library(purgent_machine_diff STATIC tools/differential/machine_diff.cpp tools/differential/wine_rules.cpp
  tools/differential/log_diff.cpp tools/differential/coverage.cpp)
target_link_libraries(purgent_machine_diff PUBLIC purgent_sim)
target_include_directories(purgent_machine_diff PUBLIC tools/differential)
add_executable(purgent-machine-diff tools/differential/main.cpp)
target_link_libraries(purgent-machine-diff PRIVATE purgent_machine_diff)
add_executable(purgent-diff-coverage tools/differential/coverage_main.cpp)
target_link_libraries(purgent-diff-coverage PRIVATE purgent_machine_diff)

# The demo's account of a run: what went, which bystanders stayed.
add_library(purgent_demo_report STATIC tools/demo_report/demo_report.cpp)
target_link_libraries(purgent_demo_report PUBLIC purgent_image)
target_include_directories(purgent_demo_report PUBLIC tools/demo_report)
add_executable(purgent-demo-report tools/demo_report/main.cpp)
target_link_libraries(purgent-demo-report PRIVATE purgent_demo_report)

# The same account as one HTML page (purgent-sim --report).
file(GLOB PURGENT_REPORT_PAGE_SOURCES CONFIGURE_DEPENDS tools/report/*.cpp)
list(REMOVE_ITEM PURGENT_REPORT_PAGE_SOURCES "${CMAKE_SOURCE_DIR}/tools/report/html_text.cpp")
add_library(purgent_report_page STATIC ${PURGENT_REPORT_PAGE_SOURCES})
target_link_libraries(purgent_report_page PUBLIC purgent_demo_report purgent_html_text)
target_include_directories(purgent_report_page PUBLIC tools/report)

enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB_RECURSE PURGENT_UNIT_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(purgent_unit_tests ${PURGENT_UNIT_SOURCES})
target_link_libraries(purgent_unit_tests PRIVATE purgent_sim_runner purgent_demo_report purgent_image_generator
  purgent_machine_diff purgent_fleet
  GTest::gtest GTest::gtest_main)
target_compile_definitions(purgent_unit_tests PRIVATE
  PURGENT_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
  PURGENT_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  PURGENT_DEMO_IMAGE="${CMAKE_SOURCE_DIR}/demo/workstation")
gtest_discover_tests(purgent_unit_tests PROPERTIES LABELS unit DISCOVERY_TIMEOUT 60)

# The release package of the win32 preset (built by its package target).
add_test(NAME ReleasePackage COMMAND bash "${CMAKE_SOURCE_DIR}/tests/package/check_package.sh"
  "${CMAKE_SOURCE_DIR}/build/win32/purgent-3.5-win32.zip")
set_tests_properties(ReleasePackage PROPERTIES LABELS package)
# One more clean build of the release elsewhere gives the same bytes as the
# win32 preset's (clean in CI).
add_test(NAME ReproducibleRelease COMMAND bash "${CMAKE_SOURCE_DIR}/tests/package/check_reproducible.sh"
  "${CMAKE_SOURCE_DIR}/build/win32")
set_tests_properties(ReproducibleRelease PROPERTIES LABELS package TIMEOUT 1800)

# purgent-sim's report page of the demo, rendered by headless Chromium
# (label browser).
add_test(NAME ReportPageInBrowser COMMAND bash "${CMAKE_SOURCE_DIR}/tests/browser/report_page_test.sh"
  "$<TARGET_FILE:purgent-sim>" "$<TARGET_FILE:purgent-demo-report>" "${CMAKE_SOURCE_DIR}/demo/workstation"
  "${CMAKE_BINARY_DIR}/browser")
set_tests_properties(ReportPageInBrowser PROPERTIES LABELS browser TIMEOUT 300)

# purgent-fleet's page of a folder of purgent-sim's logs, rendered by headless
# Chromium with scripts and without (label browser).
add_test(NAME FleetPageInBrowser COMMAND bash "${CMAKE_SOURCE_DIR}/tests/browser/fleet_page_test.sh"
  "$<TARGET_FILE:purgent-sim>" "$<TARGET_FILE:purgent-fleet>" "${CMAKE_SOURCE_DIR}/demo/workstation"
  "${CMAKE_SOURCE_DIR}/tests/data" "${CMAKE_BINARY_DIR}/browser-fleet")
set_tests_properties(FleetPageInBrowser PROPERTIES LABELS browser TIMEOUT 300)

# The documents' examples, run or checked against the program (label unit,
# so that the quick loop runs them too).
add_test(NAME DocumentExamples COMMAND bash "${CMAKE_SOURCE_DIR}/tests/docs/examples_test.sh"
  "${CMAKE_SOURCE_DIR}" "${CMAKE_BINARY_DIR}")
set_tests_properties(DocumentExamples PROPERTIES LABELS unit TIMEOUT 600)

# The set-up's apt steps against a stale mirror index (label setup), in a
# private apt configuration that reads nothing of the machine's.
add_test(NAME AptFailureHandling COMMAND bash "${CMAKE_SOURCE_DIR}/tests/setup/apt_failure_test.sh")
set_tests_properties(AptFailureHandling PROPERTIES LABELS setup TIMEOUT 300)

include(cmake/e2e.cmake)
include(cmake/fuzz.cmake)
