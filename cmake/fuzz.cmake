# libFuzzer target for the command-line splitter, the switch reading and the
# launch-command parser. The native build uses g++; libFuzzer needs clang, so
# the fuzzer is compiled by clang directly. A short run is a unit test.
find_program(PURGENT_CLANGXX NAMES clang++ clang++-16 clang++-15 clang++-14)
if(NOT PURGENT_CLANGXX)
  message(STATUS "clang++ not found: no command-line fuzzer")
  return()
endif()

set(PURGENT_FUZZ_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/fuzz/app_fuzz.cpp
  ${CMAKE_SOURCE_DIR}/src/app/command_line.cpp
  ${CMAKE_SOURCE_DIR}/src/app/main_form.cpp
  ${CMAKE_SOURCE_DIR}/src/app/launch_command.cpp)
file(GLOB PURGENT_FUZZ_HEADERS CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/app/*.h ${CMAKE_SOURCE_DIR}/src/platform/*.h ${CMAKE_SOURCE_DIR}/src/shutdown/*.h)
set(PURGENT_FUZZER ${CMAKE_BINARY_DIR}/purgent_app_fuzzer)

add_custom_command(OUTPUT ${PURGENT_FUZZER}
  COMMAND ${PURGENT_CLANGXX} -std=c++17 -g -O1
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
    -I${CMAKE_SOURCE_DIR}/src ${PURGENT_FUZZ_SOURCES} -o ${PURGENT_FUZZER}
  DEPENDS ${PURGENT_FUZZ_SOURCES} ${PURGENT_FUZZ_HEADERS}
  COMMENT "Building the command-line fuzzer with clang"
  VERBATIM)
add_custom_target(purgent_app_fuzz ALL DEPENDS ${PURGENT_FUZZER})

# New inputs go to the build tree; the seeds in the source tree stay as they are.
set(PURGENT_FUZZ_CORPUS ${CMAKE_BINARY_DIR}/fuzz_corpus)
file(MAKE_DIRECTORY ${PURGENT_FUZZ_CORPUS})
add_test(NAME app_command_line_fuzz
  COMMAND ${PURGENT_FUZZER} -runs=30000 -max_total_time=10 -max_len=512
    ${PURGENT_FUZZ_CORPUS} ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus)
set_tests_properties(app_command_line_fuzz PROPERTIES LABELS unit TIMEOUT 120)
