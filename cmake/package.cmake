# The release package of the Windows build: purgent.exe, the README and their
# SHA-256 checksums in purgent-<version>-<win32|win64>.zip
# (cmake --build --preset win32 --target package).
set(PURGENT_CHECKSUMS "${CMAKE_BINARY_DIR}/SHA256SUMS")
add_custom_command(OUTPUT "${PURGENT_CHECKSUMS}"
  COMMAND "${CMAKE_COMMAND}" -DOUTPUT=${PURGENT_CHECKSUMS}
          "-DFILES=$<TARGET_FILE:purgent>;${CMAKE_SOURCE_DIR}/README.md"
          -P "${CMAKE_SOURCE_DIR}/cmake/sha256sums.cmake"
  DEPENDS purgent "${CMAKE_SOURCE_DIR}/README.md" "${CMAKE_SOURCE_DIR}/cmake/sha256sums.cmake"
  COMMENT "Checksums of the release files"
  VERBATIM)
add_custom_target(purgent_checksums ALL DEPENDS "${PURGENT_CHECKSUMS}")

install(TARGETS purgent RUNTIME DESTINATION .)
install(FILES README.md "${PURGENT_CHECKSUMS}" DESTINATION .)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(PURGENT_PACKAGE_SYSTEM win64)
else()
  set(PURGENT_PACKAGE_SYSTEM win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME purgent)
set(CPACK_PACKAGE_VENDOR "Brenolith Inc")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
set(CPACK_PACKAGE_FILE_NAME "purgent-${CPACK_PACKAGE_VERSION}-${PURGENT_PACKAGE_SYSTEM}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
