# Helpers shared by the ext/, tests/ and bench/ folders.

# quorlane_ext_library(<name> [LIBS <libs>...]): a stand-in library under
# ext/<name>/, a static library of every source in its src/ folder with its
# include/ folder public. libquorlane.so holds every stand-in whole and
# re-exports it, so code that links the library reaches the stand-ins through
# it (one copy of their state in the process).
# LIBS may name other stand-ins (earlier in ext/CMakeLists.txt) and outside
# libraries. A stand-in sees another one's headers but does not link it: only
# libquorlane.so and a stand-in's own tests (quorlane_ext_link) put them
# together, so no archive is linked twice.
set(QUORLANE_EXT_LIBRARIES "" CACHE INTERNAL "")
set(QUORLANE_EXT_INCLUDE_DIRS "" CACHE INTERNAL "")
set(QUORLANE_EXT_DEPENDENCIES "" CACHE INTERNAL "")
function(quorlane_ext_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*.cpp)
  if(NOT sources)
    message(FATAL_ERROR "stand-in library ${name} has no sources in ${CMAKE_CURRENT_SOURCE_DIR}/src")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
  set(stand_ins "")
  foreach(lib ${ARG_LIBS})
    if(lib IN_LIST QUORLANE_EXT_LIBRARIES)
      target_include_directories(${name} PUBLIC $<TARGET_PROPERTY:${lib},INTERFACE_INCLUDE_DIRECTORIES>)
      get_target_property(lib_deps ${lib} QUORLANE_STAND_INS)
      list(APPEND stand_ins ${lib} ${lib_deps})
    else()
      target_link_libraries(${name} PUBLIC ${lib})
      set(QUORLANE_EXT_DEPENDENCIES ${QUORLANE_EXT_DEPENDENCIES} ${lib} CACHE INTERNAL "")
    endif()
  endforeach()
  # Static archives link in order, each before those it uses: a stand-in
  # named twice keeps its last place, after everything that uses it.
  list(REVERSE stand_ins)
  list(REMOVE_DUPLICATES stand_ins)
  list(REVERSE stand_ins)
  set_target_properties(${name} PROPERTIES QUORLANE_STAND_INS "${stand_ins}")
  set(QUORLANE_EXT_LIBRARIES ${QUORLANE_EXT_LIBRARIES} ${name} CACHE INTERNAL "")
  set(QUORLANE_EXT_INCLUDE_DIRS ${QUORLANE_EXT_INCLUDE_DIRS} ${CMAKE_CURRENT_SOURCE_DIR}/include CACHE INTERNAL "")
endfunction()

# quorlane_ext_link(<target> <stand-in>): links a stand-in and every stand-in
# it uses into a program of its own (its tests and fuzz targets).
function(quorlane_ext_link target name)
  get_target_property(deps ${name} QUORLANE_STAND_INS)
  if(NOT deps)
    set(deps "")
  endif()
  target_link_libraries(${target} PRIVATE ${name} ${deps})
endfunction()
