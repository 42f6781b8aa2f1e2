# Helpers shared by every subsystem's CMakeLists.

# A library of the portable core: no OS headers, no warnings on any of the three builds.
function(quorlex_core_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  quorlex_strict_warnings(${name})
endfunction()

function(quorlex_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# GoogleTest from Debian's sources, so the mingw builds get it too.
macro(quorlex_use_googletest)
  if(NOT TARGET gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
endmacro()

# One test executable per subsystem. Natively ctest lists every case; under Wine the
# whole executable is one ctest entry, run through the cross-compiling emulator.
function(quorlex_test_executable name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  quorlex_use_googletest()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gmock gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  quorlex_strict_warnings(${name})
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
  else()
    include(GoogleTest)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES)
  endif()
endfunction()
