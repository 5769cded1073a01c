# cmake -DSOURCE_DIR=<checkout> -DEXE=<purgent.exe> -DFLEET=<purgent-fleet.exe>
#       -DGUIDE=<guide text> -DSTAGE=<folder> -DZIP=<zip> -P release_zip.cmake
# The same commit always gives the same bytes: the entries in a fixed order,
# with fixed permissions, the commit's time (or SOURCE_DATE_EPOCH) and no
# extra attributes (zip -X: no owner ids, no extended timestamps).
if(DEFINED ENV{SOURCE_DATE_EPOCH} AND NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git -C "${SOURCE_DIR}" log -1 --format=%ct
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR epoch STREQUAL "")
    message(FATAL_ERROR "no commit time for the package: not a git checkout; set SOURCE_DATE_EPOCH")
  endif()
endif()

file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}")
file(COPY_FILE "${EXE}" "${STAGE}/purgent.exe")
file(COPY_FILE "${FLEET}" "${STAGE}/purgent-fleet.exe")
# Notepad on older Windows shows a text without CR LF line ends as one line.
file(READ "${GUIDE}" guide)
string(REPLACE "\r\n" "\n" guide "${guide}")
string(REPLACE "\n" "\r\n" guide "${guide}")
get_filename_component(guide_name "${GUIDE}" NAME)
file(WRITE "${STAGE}/${guide_name}" "${guide}")

set(OUTPUT "${STAGE}/SHA256SUMS")
set(FILES "${STAGE}/purgent.exe;${STAGE}/purgent-fleet.exe;${STAGE}/${guide_name}")
include("${CMAKE_CURRENT_LIST_DIR}/sha256sums.cmake")

set(entries purgent.exe purgent-fleet.exe ${guide_name} SHA256SUMS)
foreach(entry IN LISTS entries)
  file(CHMOD "${STAGE}/${entry}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()
execute_process(COMMAND touch -d @${epoch} ${entries} WORKING_DIRECTORY "${STAGE}" COMMAND_ERROR_IS_FATAL ANY)
# zip adds to an existing archive and writes local times.
file(REMOVE "${ZIP}")
set(ENV{TZ} UTC)
execute_process(COMMAND zip -X -D -q "${ZIP}" ${entries} WORKING_DIRECTORY "${STAGE}" COMMAND_ERROR_IS_FATAL ANY)

file(READ "${STAGE}/SHA256SUMS" sums)
file(SHA256 "${ZIP}" zip_hash)
get_filename_component(zip_name "${ZIP}" NAME)
get_filename_component(zip_dir "${ZIP}" DIRECTORY)
file(WRITE "${zip_dir}/SHA256SUMS" "${sums}${zip_hash}  ${zip_name}\n")
