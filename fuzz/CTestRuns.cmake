# Every fuzz target runs briefly over its kept corpus as a test; the long runs are
# `make fuzz`. The targets build with clang in a folder of their own.
option(LANTERNA_FUZZ_TESTS "Run each fuzz target briefly in the tests" ON)
set(LANTERNA_FUZZ_SECONDS 20 CACHE STRING "Seconds each fuzz target runs in the tests")
if(LANTERNA_FUZZ_TESTS)
  set(fuzz_dir ${CMAKE_SOURCE_DIR}/fuzz)
  set(fuzz_build ${CMAKE_BINARY_DIR}/fuzz)
  # One compile job: the tests around it already use the other core.
  add_test(NAME fuzz_build COMMAND bash ${fuzz_dir}/build.sh ${fuzz_build} 1)
  set_tests_properties(fuzz_build PROPERTIES FIXTURES_SETUP lanterna_fuzz TIMEOUT 1200)
  file(GLOB fuzz_sources CONFIGURE_DEPENDS ${fuzz_dir}/fuzz_*.cpp)
  foreach(source ${fuzz_sources})
    get_filename_component(target ${source} NAME_WE)
    add_test(NAME ${target} COMMAND bash ${fuzz_dir}/run.sh ${fuzz_build} ${target} ${LANTERNA_FUZZ_SECONDS})
    math(EXPR limit "${LANTERNA_FUZZ_SECONDS} + 120")
    set_tests_properties(${target} PROPERTIES FIXTURES_REQUIRED lanterna_fuzz TIMEOUT ${limit})
  endforeach()
endif()
