# orv_add_test(NAME SOURCES... [LIBS ...]): a GoogleTest executable registered with CTest. Tests
# keep their per-user settings in the build folder, away from the user's own defaults.
function(orv_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tools)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "ORV_MODULE=$<TARGET_FILE:OrvGyrola2>;ORV_BUILD_DIR=${CMAKE_BINARY_DIR};ORV_SOURCE_DIR=${CMAKE_SOURCE_DIR};XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config" ${T_PROPERTIES})
endfunction()
