# libFuzzer targets: the command-line splitter, the switch reading and the
# launch-command parser; the .reg reader; the machine.ini reader. The native
# build uses g++; libFuzzer needs clang, so each fuzzer is compiled by clang
# directly. A short run of each is a unit test.
find_program(PURGENT_CLANGXX NAMES clang++ clang++-16 clang++-15 clang++-14)
if(NOT PURGENT_CLANGXX)
  message(STATUS "clang++ not found: no fuzzers")
  return()
endif()

file(GLOB PURGENT_FUZZ_HEADERS CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/app/*.h ${CMAKE_SOURCE_DIR}/src/run/*.h ${CMAKE_SOURCE_DIR}/src/platform/*.h
  ${CMAKE_SOURCE_DIR}/src/shutdown/*.h ${CMAKE_SOURCE_DIR}/src/image/*.h)

# purgent_fuzzer(NAME TEST MAX_LEN SEEDS SOURCES...): builds purgent_NAME_fuzzer
# and adds the unit test TEST, a short run from the seed folder. New inputs go
# to the build tree; the seeds in the source tree stay as they are.
function(purgent_fuzzer name test max_len seeds)
  set(sources ${ARGN})
  set(fuzzer ${CMAKE_BINARY_DIR}/purgent_${name}_fuzzer)
  add_custom_command(OUTPUT ${fuzzer}
    COMMAND ${PURGENT_CLANGXX} -std=c++20 -g -O1
      -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
      -I${CMAKE_SOURCE_DIR}/src ${sources} -o ${fuzzer}
    DEPENDS ${sources} ${PURGENT_FUZZ_HEADERS}
    COMMENT "Building the ${name} fuzzer with clang"
    VERBATIM)
  add_custom_target(purgent_${name}_fuzz ALL DEPENDS ${fuzzer})
  set(corpus ${CMAKE_BINARY_DIR}/fuzz_corpus_${name})
  file(MAKE_DIRECTORY ${corpus})
  add_test(NAME ${test}
    COMMAND ${fuzzer} -runs=30000 -max_total_time=10 -max_len=${max_len} -timeout=10 -rss_limit_mb=1024
      ${corpus} ${seeds})
  set_tests_properties(${test} PROPERTIES LABELS unit TIMEOUT 120)
endfunction()

purgent_fuzzer(app app_command_line_fuzz 512 ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus-app
  ${CMAKE_SOURCE_DIR}/tests/fuzz/app_fuzz.cpp
  ${CMAKE_SOURCE_DIR}/src/app/command_line.cpp
  ${CMAKE_SOURCE_DIR}/src/app/main_form.cpp
  ${CMAKE_SOURCE_DIR}/src/app/launch_command.cpp)

file(GLOB PURGENT_IMAGE_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/image/*.cpp)
purgent_fuzzer(reg_text image_reg_text_fuzz 32768 ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus-reg
  ${CMAKE_SOURCE_DIR}/tests/fuzz/reg_text_fuzz.cpp ${PURGENT_IMAGE_FUZZ_SOURCES})
purgent_fuzzer(machine_ini image_machine_ini_fuzz 4096 ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus-ini
  ${CMAKE_SOURCE_DIR}/tests/fuzz/machine_ini_fuzz.cpp ${PURGENT_IMAGE_FUZZ_SOURCES})
