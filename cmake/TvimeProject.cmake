# Project-wide compiler settings and the helpers every folder uses.

if(TVIME_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all -O1)
  add_link_options(-fsanitize=address,undefined)
endif()
if(TVIME_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TVIME_FUZZ needs clang (libFuzzer)")
  endif()
  # Coverage feedback for the fuzzers reaches into the libraries they call.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(WIN32)
  # Programs, DLLs and tests side by side, as they are installed.
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  # Windows 7 API level; narrow (A) functions are called explicitly where the system describes them.
  add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 WIN32_LEAN_AND_MEAN NOMINMAX)
endif()

# Our own code is held to -Werror; third-party code (GoogleTest) is not.
function(tvime_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  # GCC 12 at -O3 warns that std::string's own copies inside resize and operator+ "may overlap"
  # by sizes no string has (its bug 105329): a false alarm in the library, not in our code.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()

function(tvime_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  tvime_strict_warnings(${name})
endfunction()

# Host tests run natively under CTest; tests of the Windows layers (files ending _win_test.cpp)
# run under Wine through CMAKE_CROSSCOMPILING_EMULATOR. DISPLAY marks Windows tests that create
# top-level windows: they carry the label "display" as well and need an X server (DISPLAY set).
function(tvime_test name)
  cmake_parse_arguments(ARG "DISPLAY" "" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_SOURCES)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE TVIME_DICT_DIR="${TVIME_DICT_DIR}"
                                             TVIME_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  tvime_strict_warnings(${name})
  if(CMAKE_CROSSCOMPILING)
    if(TVIME_RUN_WINDOWS_TESTS)
      gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                           WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
                           PROPERTIES LABELS wine TIMEOUT 120)
      if(ARG_DISPLAY)
        # gtest_discover_tests flattens list-valued properties, so the two labels are set by a
        # script that CTest runs after the discovery, over the list of tests it found. Tests on
        # the one X display take turns: the foreground and the pointer are shared.
        set(labels_script ${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake)
        file(WRITE ${labels_script}
             "if(${name}_TESTS)\n"
             "  set_tests_properties(\${${name}_TESTS} PROPERTIES LABELS \"wine;display\"\n"
             "                      RESOURCE_LOCK display)\n"
             "endif()\n")
        set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${labels_script})
      endif()
    endif()
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
                         PROPERTIES LABELS host)
  endif()
endfunction()

set(TVIME_DICT_DIR ${CMAKE_BINARY_DIR}/dict)

if(NOT TVIME_TOOLS_ONLY)
  enable_testing()
  include(GoogleTest)
  if(CMAKE_CROSSCOMPILING)
    # Debian ships GoogleTest as sources for exactly this: build it with the cross compiler.
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # 64-bit programs run under Wine. 32-bit ones run in WoW64 inside a 64-bit prefix, where
    # most of the systems served run them (SysWOW64, the registry's 32-bit view), through Wine's
    # 32-bit half (wine32:i386). That half starts with an i386 Linux program, which a kernel
    # without ia32 emulation refuses: there the 32-bit build is only built and checked statically.
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
      set(TVIME_RUN_WINDOWS_TESTS ON)
    else()
      execute_process(COMMAND ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh --runs-32-bit
                      RESULT_VARIABLE wine32_result OUTPUT_QUIET ERROR_QUIET)
      if(wine32_result EQUAL 0)
        set(TVIME_RUN_WINDOWS_TESTS ON)
      else()
        message(STATUS "Wine's 32-bit half does not run on this machine: the 32-bit programs "
                       "are only checked statically")
      endif()
    endif()
    if(TVIME_RUN_WINDOWS_TESTS)
      set(CMAKE_CROSSCOMPILING_EMULATOR
          ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh --prefix ${CMAKE_BINARY_DIR}/wine)
    endif()
  else()
    find_package(GTest REQUIRED)
  endif()
endif()
