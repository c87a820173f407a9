# `cmake --install` of each component into a fresh prefix holds exactly the files it should,
# and the installed programs find libvka.so from there.
#   cmake -DBUILD_DIR=... -DPREFIX_ROOT=... -P InstallLayout.cmake
function(expect_layout component expected)
  set(prefix ${PREFIX_ROOT}/${component})
  file(REMOVE_RECURSE ${prefix})
  execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --component ${component}
                          --prefix ${prefix}
                  RESULT_VARIABLE result OUTPUT_QUIET)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install of ${component} failed")
  endif()
  file(GLOB_RECURSE installed RELATIVE ${prefix} ${prefix}/*)
  list(SORT installed)
  list(SORT expected)
  if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "${component} installs [${installed}], expected [${expected}]")
  endif()
endfunction()

# The libvka.so that the dynamic loader picks for program.
function(expect_library program library)
  execute_process(COMMAND ldd ${program} OUTPUT_VARIABLE linked RESULT_VARIABLE result)
  string(REGEX MATCH "libvka\\.so => ([^ ]+)" found "${linked}")
  get_filename_component(wanted ${library} REALPATH)
  get_filename_component(got "${CMAKE_MATCH_1}" REALPATH)
  if(NOT result EQUAL 0 OR NOT got STREQUAL wanted)
    message(FATAL_ERROR "${program} loads libvka.so from '${CMAKE_MATCH_1}', not ${library}")
  endif()
endfunction()

set(game MorvoPatcher libvka.so)
if(NOT EXISTS ${BUILD_DIR}/bin/MorvoPatcher)
  set(game libvka.so)
endif()
expect_layout(game "${game}")
expect_layout(tools "bin/mkconfig;bin/mkpatch;bin/patchrun;bin/vka;lib/libvka.so")

if(EXISTS ${PREFIX_ROOT}/game/MorvoPatcher)
  expect_library(${PREFIX_ROOT}/game/MorvoPatcher ${PREFIX_ROOT}/game/libvka.so)
endif()
expect_library(${PREFIX_ROOT}/tools/bin/patchrun ${PREFIX_ROOT}/tools/lib/libvka.so)
execute_process(COMMAND ${PREFIX_ROOT}/tools/bin/vka --help RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the installed vka does not run")
endif()
