# The release's version, from the file VERSION at the checkout's root (read again when it
# changes), and the commit it is built from, taken at every build (commit.cmake): both in
# version/lunet_version.h of the build tree, for the tools' --version and the version resources.
file(STRINGS ${PROJECT_SOURCE_DIR}/VERSION LUNET_VERSION LIMIT_COUNT 1)
if(NOT LUNET_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "VERSION holds '${LUNET_VERSION}', not MAJOR.MINOR.PATCH")
endif()
set(LUNET_VERSION_NUMBERS "${CMAKE_MATCH_1},${CMAKE_MATCH_2},${CMAKE_MATCH_3},0")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/VERSION)

set(LUNET_VERSION_DIR ${CMAKE_BINARY_DIR}/version)
set(LUNET_VERSION_HEADER ${LUNET_VERSION_DIR}/lunet_version.h)
# Run at every build; the header is rewritten only when the version or the commit changed, so an
# unchanged tree rebuilds nothing.
add_custom_target(lunet_version_header
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -DHEADER=${LUNET_VERSION_HEADER}
          -DVERSION=${LUNET_VERSION} -DNUMBERS=${LUNET_VERSION_NUMBERS}
          -P ${CMAKE_CURRENT_LIST_DIR}/commit.cmake
  BYPRODUCTS ${LUNET_VERSION_HEADER}
  COMMENT "" VERBATIM)
add_library(lunet_version_info INTERFACE)
target_include_directories(lunet_version_info INTERFACE ${LUNET_VERSION_DIR})
add_dependencies(lunet_version_info lunet_version_header)

# lunet_version_resource(TARGET DESCRIPTION): a VERSIONINFO resource in the Windows file of the
# target, which Explorer shows under Properties, Details. An object library of its own, so that
# the target's compiler options never reach windres.
function(lunet_version_resource target description)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "SHARED_LIBRARY")
    set(LUNET_FILE_TYPE VFT_DLL)
    set(LUNET_FILE_NAME ${target}.dll)
  else()
    set(LUNET_FILE_TYPE VFT_APP)
    set(LUNET_FILE_NAME ${target}.exe)
  endif()
  set(LUNET_TARGET ${target})
  set(LUNET_DESCRIPTION ${description})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${LUNET_VERSION_HEADER})
  add_library(${target}_version_rc OBJECT ${rc})
  target_link_libraries(${target}_version_rc PRIVATE lunet_version_info)
  target_link_libraries(${target} PRIVATE ${target}_version_rc)
endfunction()
