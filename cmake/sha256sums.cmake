# cmake -DOUTPUT=<file> -DFILES=<path;path...> -P sha256sums.cmake
# Writes the checksums the way sha256sum prints them, so that
# "sha256sum -c SHA256SUMS" checks an unpacked package.
set(lines "")
foreach(path IN LISTS FILES)
  file(SHA256 "${path}" hash)
  get_filename_component(name "${path}" NAME)
  string(APPEND lines "${hash}  ${name}\n")
endforeach()
file(WRITE "${OUTPUT}" "${lines}")
