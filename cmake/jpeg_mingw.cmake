# libjpeg for the MinGW builds: Debian's libjpeg-turbo, cross-built as a static
# library by scripts/setup.sh into the cache folder (outside git).
if(DEFINED ENV{PURGENT_CACHE} AND NOT "$ENV{PURGENT_CACHE}" STREQUAL "")
  set(_purgent_cache "$ENV{PURGENT_CACHE}")
else()
  set(_purgent_cache /var/cache/purgent)
endif()
set(PURGENT_JPEG_ROOT "${_purgent_cache}/libjpeg-${CMAKE_SYSTEM_PROCESSOR}" CACHE PATH
  "libjpeg built for this MinGW target (lib/libjpeg.a, include/)")

if(NOT EXISTS "${PURGENT_JPEG_ROOT}/lib/libjpeg.a" OR
   NOT EXISTS "${PURGENT_JPEG_ROOT}/include/jpeglib.h")
  message(FATAL_ERROR "No libjpeg in PURGENT_JPEG_ROOT=${PURGENT_JPEG_ROOT}; "
    "run scripts/setup.sh (as root) to build it")
endif()

add_library(purgent_jpeg STATIC IMPORTED)
set_target_properties(purgent_jpeg PROPERTIES
  IMPORTED_LOCATION "${PURGENT_JPEG_ROOT}/lib/libjpeg.a"
  INTERFACE_INCLUDE_DIRECTORIES "${PURGENT_JPEG_ROOT}/include")
