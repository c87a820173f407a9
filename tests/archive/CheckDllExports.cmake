# cmake -DOBJDUMP=... -DLIBRARY=VKA.dll -P CheckDllExports.cmake
# Fails unless the DLL's export table names exactly the four functions, undecorated.
execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} -p ${LIBRARY} failed")
endif()
# The name pointer table: "[Ordinal/Name Pointer] Table", then one "\t[   0] NAME" line per
# export, then a blank line.
if(NOT dump MATCHES "\\[Ordinal/Name Pointer\\] Table\n(([^\n]+\n)*)")
  message(FATAL_ERROR "${LIBRARY} has no export name table")
endif()
string(REGEX MATCHALL "\\] [^\n]+" rows "${CMAKE_MATCH_1}")
list(TRANSFORM rows REPLACE "\\] " "")
list(SORT rows)
set(expected VKA_CheckVersion VKA_Fusion VKA_GetFileCount VKA_Repack)
if(NOT rows STREQUAL expected)
  message(FATAL_ERROR "${LIBRARY} exports [${rows}], expected [${expected}]")
endif()
