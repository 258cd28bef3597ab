# One static library per source folder. Files are picked up by glob so that
# adding a file to a folder needs no edit here; an empty folder still yields a
# valid (empty) library so that dependants link while the folder is being built.
function(contratto_library name)
  set(sources "")
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    set(stub ${CMAKE_BINARY_DIR}/empty_${name}.cpp)
    file(WRITE ${stub} "// ${name} has no sources yet\n")
    list(APPEND sources ${stub})
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()
