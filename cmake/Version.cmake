# LANTERNA_VERSION, from `git describe` when the source is a git work tree of its own:
#   at a tag vX.Y        -> X.Y
#   N commits after it   -> X.Y+N.gHASH
#   no tag yet           -> <project version>~N.gHASH (N commits in all; sorts before
#                           the release that a tag of the project version will make)
# and the project version alone without git metadata. Also written to
# lanterna-version.txt for the package.
set(LANTERNA_VERSION ${PROJECT_VERSION})
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --show-toplevel
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE top RESULT_VARIABLE failed
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  # A source tree unpacked inside some other repository is not described by it.
  if(NOT failed AND top)
    file(REAL_PATH "${top}" top)
    file(REAL_PATH "${PROJECT_SOURCE_DIR}" here)
  endif()
  if(NOT failed AND top STREQUAL here)
    execute_process(COMMAND ${GIT_EXECUTABLE} describe --tags --long --match "v[0-9]*"
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE described RESULT_VARIABLE no_tag
      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT no_tag AND described MATCHES "^v([0-9][0-9A-Za-z.]*)-([0-9]+)-g([0-9a-f]+)$")
      if(CMAKE_MATCH_2 EQUAL 0)
        set(LANTERNA_VERSION ${CMAKE_MATCH_1})
      else()
        set(LANTERNA_VERSION ${CMAKE_MATCH_1}+${CMAKE_MATCH_2}.g${CMAKE_MATCH_3})
      endif()
    else()
      execute_process(COMMAND ${GIT_EXECUTABLE} describe --always --abbrev=7
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE hash
        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      execute_process(COMMAND ${GIT_EXECUTABLE} rev-list --count HEAD
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE count
        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      if(hash MATCHES "^[0-9a-f]+$" AND count MATCHES "^[0-9]+$")
        set(LANTERNA_VERSION ${PROJECT_VERSION}~${count}.g${hash})
      endif()
    endif()
  endif()
endif()
message(STATUS "Lanterna version ${LANTERNA_VERSION}")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/lanterna-version.txt CONTENT "${LANTERNA_VERSION}\n")
