# The release package of the Windows build (cmake --build --preset win32
# --target package): purgent-<version>-<win32|win64>.zip holding purgent.exe,
# purgent-fleet.exe, the administrator's guide and their SHA256SUMS; SHA256SUMS beside the zip
# adds the zip's own sum, so the published sums are not only inside what they
# check. Built by cmake/release_zip.cmake, reproducibly.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(PURGENT_PACKAGE_SYSTEM win64)
else()
  set(PURGENT_PACKAGE_SYSTEM win32)
endif()
set(PURGENT_PACKAGE_ZIP
  "${CMAKE_BINARY_DIR}/purgent-${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}-${PURGENT_PACKAGE_SYSTEM}.zip")
set(PURGENT_GUIDE "${CMAKE_SOURCE_DIR}/packaging/AdminGuide.txt")

# Always rerun: the zip carries the commit's time, which no file dependency sees.
add_custom_target(package
  COMMAND "${CMAKE_COMMAND}" -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DEXE=$<TARGET_FILE:purgent>
          -DFLEET=$<TARGET_FILE:purgent-fleet> -DGUIDE=${PURGENT_GUIDE} -DSTAGE=${CMAKE_BINARY_DIR}/release -DZIP=${PURGENT_PACKAGE_ZIP}
          -P "${CMAKE_SOURCE_DIR}/cmake/release_zip.cmake"
  DEPENDS purgent purgent-fleet
  COMMENT "Release package ${PURGENT_PACKAGE_ZIP}"
  VERBATIM)
