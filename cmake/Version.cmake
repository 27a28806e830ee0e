# The project's version as a header for the programs' --version, so that both programs and
# the package carry the version of project(VERSION).
configure_file(${CMAKE_CURRENT_LIST_DIR}/quarnel_version.h.in
  ${PROJECT_BINARY_DIR}/generated/quarnel_version.h @ONLY)
add_library(quarnel_version INTERFACE)
target_include_directories(quarnel_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
