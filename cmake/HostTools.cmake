# Programs that the build itself runs (the catalogue builder) must run on the build machine.
# A cross build makes them with the machine's own compiler in a sub-build of this tree, so
# no build step ever executes a Windows program.
#
# Sets KALVO_CATALOGUE_TOOL (the builder's path) and KALVO_CATALOGUE_TOOL_DEPENDS (what a
# custom command that runs it depends on: the builder's file too, so that a rebuilt builder
# makes its outputs again).
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(host_build "${CMAKE_BINARY_DIR}/host-tools")
  set(KALVO_CATALOGUE_TOOL "${host_build}/tools/catalogue/kalvo_catalogue")
  # The sub-build finds the host's compilers itself; nothing of the cross toolchain goes in.
  ExternalProject_Add(kalvo_host_tools
    SOURCE_DIR "${CMAKE_SOURCE_DIR}"
    BINARY_DIR "${host_build}"
    CMAKE_GENERATOR "${CMAKE_GENERATOR}"
    CMAKE_ARGS -DKALVO_HOST_TOOLS_ONLY=ON -DCMAKE_BUILD_TYPE=Release
               "-DKALVO_DEPS_DIR=${KALVO_DEPS_DIR}"
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS "${KALVO_CATALOGUE_TOOL}")
  set(KALVO_CATALOGUE_TOOL_DEPENDS kalvo_host_tools "${KALVO_CATALOGUE_TOOL}")
else()
  set(KALVO_CATALOGUE_TOOL "$<TARGET_FILE:kalvo_catalogue>")
  set(KALVO_CATALOGUE_TOOL_DEPENDS kalvo_catalogue)
endif()
