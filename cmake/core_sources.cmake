# The sources of the core library (QtCore only), for the main build and for
# the fuzzing build, which compiles them again with clang's sanitizers.
function(nettv_core_sources out src)
  file(GLOB sources CONFIGURE_DEPENDS
    ${src}/base/*.cpp ${src}/base/*.h ${src}/app/*.cpp ${src}/app/*.h
    ${src}/library/*.cpp ${src}/library/*.h ${src}/playback/*.cpp ${src}/playback/*.h
    ${src}/monitor/*.cpp ${src}/monitor/*.h ${src}/search/*.cpp ${src}/search/*.h
    ${src}/playlists/*.cpp ${src}/playlists/*.h ${src}/history/*.cpp ${src}/history/*.h)
  set(${out} ${sources} PARENT_SCOPE)
endfunction()
