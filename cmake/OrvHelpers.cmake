# orv_add_test(NAME SOURCES... [LIBS ...]): a GoogleTest executable registered with CTest.
# Paths the tests need are compiled in as defaults (environment variables override them), and
# every test program runs with a private XDG_CONFIG_HOME (tests/support/TestEnvironment.cpp).
function(orv_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/TestEnvironment.cpp)
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
