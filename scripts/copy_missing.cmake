# Copies the delivered data (SOURCE) into the program folder (DEST), only the
# files that are missing there, so a rebuild keeps what the user changed.
# Usage: cmake -DSOURCE=dir -DDEST=dir -P copy_missing.cmake
file(GLOB_RECURSE files RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(file IN LISTS files)
  if(NOT EXISTS "${DEST}/${file}")
    get_filename_component(folder "${DEST}/${file}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    file(COPY "${SOURCE}/${file}" DESTINATION "${folder}")
  endif()
endforeach()
