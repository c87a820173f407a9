# Checks a Windows .zip package: it holds exactly the expected files, side by side at its top
# (unpacked into a folder, they lie where the programs find VKA.dll), and no program or DLL in it needs a DLL of the compiler's runtimes or of
# zlib (a game folder has nothing but what the package brings).
#   cmake -DPACKAGE=X.zip -DEXPECTED="vka.exe;VKA.dll" -DOBJDUMP=objdump -P CheckWindowsPackage.cmake
set(unpacked ${PACKAGE}.contents)
file(REMOVE_RECURSE ${unpacked})
file(MAKE_DIRECTORY ${unpacked})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${PACKAGE} WORKING_DIRECTORY ${unpacked}
                RESULT_VARIABLE unpackFailed)
if(unpackFailed)
  message(FATAL_ERROR "${PACKAGE}: cannot be unpacked")
endif()

file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${unpacked} ${unpacked}/*)
set(wanted ${EXPECTED})
list(SORT found)
list(SORT wanted)
if(NOT found STREQUAL wanted)
  string(REPLACE ";" " " found "${found}")
  string(REPLACE ";" " " wanted "${wanted}")
  message(FATAL_ERROR "${PACKAGE} holds: ${found}\n  expected: ${wanted}")
endif()

foreach(name ${found})
  if(NOT name MATCHES "\\.(exe|dll)$")
    continue()
  endif()
  execute_process(COMMAND ${OBJDUMP} -p ${unpacked}/${name} OUTPUT_VARIABLE headers
                  RESULT_VARIABLE dumpFailed)
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
  if(dumpFailed OR NOT imports)
    message(FATAL_ERROR "${name}: not a Windows program or DLL")
  endif()
  foreach(import ${imports})
    string(REPLACE "DLL Name: " "" import "${import}")
    if(import MATCHES "^(libstdc\\+\\+|libgcc|libwinpthread|zlib|libz)")
      message(FATAL_ERROR "${name} needs ${import}, which the package does not bring")
    endif()
  endforeach()
endforeach()
file(REMOVE_RECURSE ${unpacked})
message(STATUS "${PACKAGE}: ${EXPECTED}")
