# vel_library(<name> <folder> <link deps...>)
# A static library of every .cpp below <folder>; an empty folder gives an
# interface library so later layers can link it before it has sources.
function(vel_library name dir)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# vel_test(<name> <folder> <link deps...> [OWN_MAIN] [DESKTOP_TESTS <gtest filter>])
# One GoogleTest executable of every .cpp below tests/<folder>; each test case
# runs as its own ctest test. OWN_MAIN: the folder brings its own main (one
# that starts and shuts down a library around the tests) instead of
# GoogleTest's. The desktop tests (a real X server, SDL and the
# libraries under it) run without the leak check at exit: those libraries'
# threads can outlive SDL_Quit, and the leak checker's thread stopper then
# crashes now and then after the test itself has passed. While the desktop
# runs they disable leak tracking anyway.
function(vel_test name dir)
  cmake_parse_arguments(VT "OWN_MAIN" "DESKTOP_TESTS" "" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${VT_UNPARSED_ARGUMENTS} GTest::gtest GTest::gmock)
  if(NOT VT_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  # The paths are found at run time (tests/TestPaths.h), not compiled in.
  target_compile_options(${name} PRIVATE -include ${CMAKE_SOURCE_DIR}/tests/TestPaths.h)
  target_compile_definitions(${name} PRIVATE
    "VEL_TEST_DATA_DIR=vel_test_paths::TestDataDir().c_str()"
    "VEL_SOURCE_DIR=vel_test_paths::SourceDir().c_str()"
    "VEL_BINARY_DIR=vel_test_paths::BinaryDir().c_str()")
  if(VT_DESKTOP_TESTS)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_FILTER "-${VT_DESKTOP_TESTS}")
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_FILTER "${VT_DESKTOP_TESTS}"
                         PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST)
  endif()
endfunction()
