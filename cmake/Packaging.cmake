# Installation and packages.
#   component "game":  what a game folder receives: the launcher and the archive library side
#                      by side (on Windows once the launcher is built there)
#   component "tools": vka, mkpatch, mkconfig, patchrun; on Linux in bin/ with libvka.so in
#                      lib/, on Windows all beside VKA.dll, where Windows looks for it
# `cmake --install BUILD --prefix DIR --component game`, or `./dev package` for one .tar.gz
# (Linux) or .zip (Windows x86 and x64) of each component.
include(GNUInstallDirs)

if(WIN32)
  set(MORVO_TOOLS_BINDIR .)
  set(MORVO_TOOLS_LIBDIR .)
else()
  set(MORVO_TOOLS_BINDIR ${CMAKE_INSTALL_BINDIR})
  set(MORVO_TOOLS_LIBDIR ${CMAKE_INSTALL_LIBDIR})
endif()

# The program finds the library beside itself, as in the build folder.
set(MORVO_PACKAGED_COMPONENTS tools)
if(TARGET MorvoPatcher)
  set_target_properties(MorvoPatcher PROPERTIES INSTALL_RPATH "$ORIGIN")
  install(TARGETS MorvoPatcher RUNTIME DESTINATION . COMPONENT game)
endif()
if(TARGET MorvoPatcher OR NOT WIN32)
  list(APPEND MORVO_PACKAGED_COMPONENTS game)
endif()
if(TARGET vka)
  # A DLL is a runtime file, a shared object a library one; the import library stays out.
  install(TARGETS vka LIBRARY DESTINATION . COMPONENT game RUNTIME DESTINATION . COMPONENT game)
  install(TARGETS vka LIBRARY DESTINATION ${MORVO_TOOLS_LIBDIR} COMPONENT tools
                      RUNTIME DESTINATION ${MORVO_TOOLS_LIBDIR} COMPONENT tools)
endif()

# On Linux the tools find libvka.so in ../lib from wherever the prefix lands.
foreach(tool vka_tool mkpatch mkconfig patchrun)
  if(TARGET ${tool})
    set_target_properties(${tool} PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
    install(TARGETS ${tool} RUNTIME DESTINATION ${MORVO_TOOLS_BINDIR} COMPONENT tools)
  endif()
endforeach()

set(CPACK_PACKAGE_NAME "MorvoPatcher")
set(CPACK_PACKAGE_VENDOR "Morvo Patcher")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Game patch client, its archive library and tools")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
if(WIN32)
  set(CPACK_GENERATOR "ZIP")
  # x86 and x64 by name; CPack alone would call both win32.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
  else()
    set(CPACK_SYSTEM_NAME win32)
  endif()
else()
  set(CPACK_GENERATOR "TGZ")
endif()
set(CPACK_STRIP_FILES TRUE)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${MORVO_PACKAGED_COMPONENTS})
set(CPACK_COMPONENT_GAME_DISPLAY_NAME "Game folder: the launcher and the archive library")
set(CPACK_COMPONENT_TOOLS_DISPLAY_NAME "Operator tools: vka, mkpatch, mkconfig, patchrun")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
include(CPack)
