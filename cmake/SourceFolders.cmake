# The folders below the current source folder that hold .cpp files, by name, less
# the names given after `out`; each folder's sources are left in <name>_SOURCES.
# Tests, benchmarks and tools each build one program per such folder.
function(snipmill_source_folders out)
  file(GLOB dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  set(names)
  foreach(dir ${dirs})
    get_filename_component(name ${dir} NAME)
    if(NOT IS_DIRECTORY ${dir} OR name IN_LIST ARGN)
      continue()
    endif()
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(sources)
      list(APPEND names ${name})
      set(${name}_SOURCES ${sources} PARENT_SCOPE)
    endif()
  endforeach()
  set(${out} ${names} PARENT_SCOPE)
endfunction()
