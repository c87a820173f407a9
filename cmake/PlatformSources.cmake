# morvo_platform_sources(VAR): drops from the list VAR the sources of the other platform.
# A concern with two implementations has one header and a ...Posix.cpp and a ...Win32.cpp
# beside it; the build picks the one for its target.
function(morvo_platform_sources var)
  set(sources ${${var}})
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "Posix(_test)?\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "Win32(_test)?\\.cpp$")
  endif()
  set(${var} ${sources} PARENT_SCOPE)
endfunction()
