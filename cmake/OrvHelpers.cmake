# orv_add_test(NAME SOURCES... [LIBS ...]): a GoogleTest executable registered with CTest.
# Paths the tests need are compiled in as defaults (environment variables override them), and
# every test program runs with a private XDG_CONFIG_HOME (tests/support/TestEnvironment.cpp), or
# on Windows a private registry key (tests/support/windows/TestEnvironment.cpp).
function(orv_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  if(WIN32)
    set(_environment ${CMAKE_SOURCE_DIR}/tests/support/windows/TestEnvironment.cpp)
  else()
    set(_environment ${CMAKE_SOURCE_DIR}/tests/support/TestEnvironment.cpp)
  endif()
  add_executable(${name} ${T_SOURCES} ${_environment})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tools)
  target_compile_definitions(${name} PRIVATE
    ORV_DEFAULT_MODULE="$<TARGET_FILE:OrvGyrola2>"
    ORV_DEFAULT_BUILD_DIR="${CMAKE_BINARY_DIR}"
    ORV_DEFAULT_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 ${T_PROPERTIES})
  # `orv_tests` builds every test program (and what they load) but no benchmark or fuzz target.
  if(NOT TARGET orv_tests)
    add_custom_target(orv_tests)
  endif()
  add_dependencies(orv_tests ${name})
endfunction()

# orv_generator(VAR NAME SUBDIR): the build-time generator program NAME, built in SUBDIR of the
# build folder, as a command for add_custom_command. A cross build cannot run its own programs:
# it takes the generator from a native build folder (ORV_HOST_BUILD_DIR, built beforehand; the
# `go` script does this), so both builds embed the same generated data.
set(ORV_HOST_BUILD_DIR "" CACHE PATH "Native build folder whose generators a cross build runs")
function(orv_generator var name subdir)
  if(NOT CMAKE_CROSSCOMPILING)
    set(${var} ${name} PARENT_SCOPE)
    return()
  endif()
  set(_tool ${ORV_HOST_BUILD_DIR}/${subdir}/${name})
  if(NOT ORV_HOST_BUILD_DIR OR NOT EXISTS ${_tool})
    message(FATAL_ERROR "Cross build: ${_tool} is missing; build target ${name} in a native build "
      "folder first and name it with -DORV_HOST_BUILD_DIR=<folder> (./go build-windows does this)")
  endif()
  set(${var} ${_tool} PARENT_SCOPE)
endfunction()
