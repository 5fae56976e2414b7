# Helpers shared by every folder of the build.

# Warnings are errors in our own code (not in third-party code such as the
# GoogleTest build of the cross toolchain).
function(pixmor_warnings target)
  # -Wrestrict misfires on std::string in GCC 12's optimised builds.
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wshadow -Wconversion
                                           -Wno-sign-conversion -Wno-restrict)
endfunction()

# GoogleTest: the system packages on Linux, built from Debian's sources for
# the cross build.
function(pixmor_find_gtest)
  if(TARGET GTest::gtest_main OR TARGET gtest_main)
    return()
  endif()
  if(WIN32)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  else()
    find_package(GTest REQUIRED)
  endif()
endfunction()

# A test executable of GoogleTest cases. On Linux each case is its own CTest
# test; under Wine the executable is one test, so Wine starts once.
function(pixmor_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENV" ${ARGN})
  pixmor_find_gtest()
  add_executable(${name} ${ARG_SOURCES})
  pixmor_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name})
    # The Wine runner answers 77 where a 32-bit program cannot run at all.
    set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
    if(ARG_ENV)
      set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ARG_ENV}")
    endif()
  else()
    target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/uNoLiveBlocks.cpp)
    target_link_libraries(${name} PRIVATE kernel32 pixmor_platform_headers)
    include(GoogleTest)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES PROPERTIES ENVIRONMENT "${ARG_ENV}")
  endif()
endfunction()
