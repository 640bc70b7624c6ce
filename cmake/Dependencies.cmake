# Outside dependencies, all from Debian packages (scripts/setup installs them).

find_path(TCL_INCLUDE_DIR tcl.h PATHS /usr/include/tcl8.6 REQUIRED NO_DEFAULT_PATH)
find_library(TCL_LIBRARY NAMES tcl8.6 REQUIRED)
add_library(Tcl::Tcl UNKNOWN IMPORTED)
set_target_properties(Tcl::Tcl PROPERTIES
  IMPORTED_LOCATION ${TCL_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${TCL_INCLUDE_DIR})

find_package(Boost 1.74 REQUIRED COMPONENTS thread)
find_package(XercesC REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)

find_package(Threads REQUIRED)

# The source view the build comes from: the git commit when there is one.
execute_process(COMMAND git -C ${CMAKE_SOURCE_DIR} rev-parse --short HEAD
  OUTPUT_VARIABLE QUORLANE_BUILD_VIEW OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT QUORLANE_BUILD_VIEW)
  set(QUORLANE_BUILD_VIEW "local")
endif()
