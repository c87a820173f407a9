# Installation and packages.
#   component "game":  what a game folder receives: MorvoPatcher and libvka.so side by side
#   component "tools": vka, mkpatch, mkconfig, patchrun in bin/, libvka.so in lib/
# `cmake --install BUILD --prefix DIR --component game`, or `./dev package` for one .tar.gz of
# each component.
include(GNUInstallDirs)

# The program finds libvka.so beside itself, as in the build folder.
if(TARGET MorvoPatcher)
  set_target_properties(MorvoPatcher PROPERTIES INSTALL_RPATH "$ORIGIN")
  install(TARGETS MorvoPatcher RUNTIME DESTINATION . COMPONENT game)
endif()
if(TARGET vka)
  install(TARGETS vka LIBRARY DESTINATION . COMPONENT game)
  install(TARGETS vka LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT tools)
endif()

# The tools find libvka.so in ../lib from wherever the prefix lands.
foreach(tool vka_tool mkpatch mkconfig patchrun)
  if(TARGET ${tool})
    set_target_properties(${tool} PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
    install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
  endif()
endforeach()

set(CPACK_PACKAGE_NAME "MorvoPatcher")
set(CPACK_PACKAGE_VENDOR "Morvo Patcher")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Game patch client, its archive library and tools")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR "TGZ")
set(CPACK_STRIP_FILES TRUE)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game tools)
set(CPACK_COMPONENT_GAME_DISPLAY_NAME "Game folder: MorvoPatcher and libvka.so")
set(CPACK_COMPONENT_TOOLS_DISPLAY_NAME "Operator tools: vka, mkpatch, mkconfig, patchrun")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
include(CPack)
