# The native side: unit tests of the plain logic, the cross build of the
# Windows program and its tests, and the registration of the tests that run
# under Wine.
include(ExternalProject)
enable_testing()

set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

ExternalProject_Add(windows
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/win
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DGTEST_SOURCE_DIR=${GTEST_SOURCE_DIR}
  BUILD_ALWAYS TRUE
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD TRUE)

add_subdirectory(tests/unit)

# Everything below runs under one private Wine session per build tree.
set(WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${CMAKE_BINARY_DIR})
set(WIN_DIR ${CMAKE_BINARY_DIR}/win)

add_test(NAME wine.start COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-env.sh start ${CMAKE_BINARY_DIR})
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 180 RESOURCE_LOCK display)
add_test(NAME wine.stop COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-env.sh stop ${CMAKE_BINARY_DIR})
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine RESOURCE_LOCK display)

# A Windows test program run under Wine as one CTest test.
function(add_wine_test name)
  add_test(NAME ${name} COMMAND ${WINE_RUN} --relaunch-silent-start ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK display TIMEOUT 120)
endfunction()

add_subdirectory(tests/component)
add_subdirectory(tests/e2e)
