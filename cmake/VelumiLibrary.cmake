# velumi_library(NAME OBJECTS STATIC [include dirs of the build tree...]): the shared
# library NAME made of the object library OBJECTS, exporting only what NAME.map beside
# the calling CMakeLists.txt lists and versioned as the project, and the same objects
# as the static library STATIC, for tests and benchmarks that reach the internals.
function(velumi_library name objects static)
  add_library(${name} SHARED $<TARGET_OBJECTS:${objects}>)
  target_link_libraries(${name} PRIVATE ${objects})
  set(build_includes $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>)
  foreach(dir ${ARGN})
    list(APPEND build_includes $<BUILD_INTERFACE:${dir}>)
  endforeach()
  target_include_directories(${name} PUBLIC ${build_includes} $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  if(NOT VELUMI_SANITIZE)
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
  set(map ${CMAKE_CURRENT_SOURCE_DIR}/${name}.map)
  target_link_options(${name} PRIVATE -Wl,--version-script=${map})
  set_target_properties(${name} PROPERTIES LINK_DEPENDS ${map}
    VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})

  add_library(${static} STATIC $<TARGET_OBJECTS:${objects}>)
  target_link_libraries(${static} PUBLIC ${objects})
endfunction()
