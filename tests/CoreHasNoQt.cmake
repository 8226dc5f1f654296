# Fails when a source of the core library includes a Qt header.
file(GLOB_RECURSE core_sources
  ${SOURCE_DIR}/model/* ${SOURCE_DIR}/controls/* ${SOURCE_DIR}/files/* ${SOURCE_DIR}/program/* ${SOURCE_DIR}/display/*
  ${SOURCE_DIR}/engine/* ${SOURCE_DIR}/commands/*
  ${SOURCE_DIR}/print/* ${SOURCE_DIR}/forms/*)
file(GLOB platform_interfaces ${SOURCE_DIR}/platform/*.h ${SOURCE_DIR}/platform/*.cpp)
list(APPEND core_sources ${platform_interfaces})
set(offenders "")
foreach(source IN LISTS core_sources)
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q|qt)")
  if(includes)
    list(APPEND offenders "${source}: ${includes}")
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "Qt headers in the core:\n${offenders}")
endif()
message(STATUS "core sources checked: no Qt header")
