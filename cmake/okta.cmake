# Helpers shared by every folder's CMakeLists.txt.

set(OKTA_WARNINGS -Wall -Wextra -Werror)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  # Every guarded field is touched only under the mutex that guards it
  # (common/thread_annotations.h).
  list(APPEND OKTA_WARNINGS -Wthread-safety)
endif()

# OKTA_SANITIZE: a list for -fsanitize= (address,undefined or thread). The
# sanitizer trees are built at -O1, so that they stay quick to run in CI.
set(OKTA_SANITIZE "" CACHE STRING "Sanitizers to build with, e.g. address,undefined or thread")
if(OKTA_SANITIZE)
  add_compile_options(-fsanitize=${OKTA_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all -O1 -g)
  add_link_options(-fsanitize=${OKTA_SANITIZE})
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC 12 at -O3 reports false overlaps and out-of-bounds copies inside
  # std::string and std::vector (its known -Wrestrict, -Warray-bounds and
  # -Wstringop-* false positives), and notes an ABI change of GCC 7.1 that
  # concerns no code of ours.
  list(APPEND OKTA_WARNINGS -Wno-restrict -Wno-array-bounds -Wno-stringop-overflow
       -Wno-stringop-overread -Wno-psabi)
endif()

# The register's folder order, top down, from layers.txt: a module's DEPS
# may name only modules of folders below its own, so the build itself
# refuses a dependency that points up (and with it any cycle).
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../layers.txt OKTA_LAYER_LINES REGEX "^[a-z]")
set(OKTA_LAYERS)
foreach(line IN LISTS OKTA_LAYER_LINES)
  string(REGEX REPLACE ":.*" "" folder "${line}")
  list(APPEND OKTA_LAYERS ${folder})
  if(line MATCHES ":")
    string(REGEX REPLACE "^[^:]*:[ ]*" "" allowed "${line}")
    string(REPLACE " " ";" allowed "${allowed}")
    set(OKTA_LAYER_ALLOWED_${folder} ${allowed})
  endif()
endforeach()

function(okta_check_layer folder)
  list(FIND OKTA_LAYERS ${folder} own)
  if(own EQUAL -1)
    return()
  endif()
  foreach(dep IN LISTS ARGN)
    if(NOT dep MATCHES "^okta_(.*)$")
      continue()
    endif()
    set(other ${CMAKE_MATCH_1})
    list(FIND OKTA_LAYERS ${other} index)
    if(index EQUAL -1)
      continue()
    endif()
    if(DEFINED OKTA_LAYER_ALLOWED_${folder})
      list(FIND OKTA_LAYER_ALLOWED_${folder} ${other} allowed)
      if(allowed EQUAL -1)
        message(FATAL_ERROR "${folder}/ may depend only on ${OKTA_LAYER_ALLOWED_${folder}}, not on ${other}/ (layers.txt)")
      endif()
    elseif(NOT index GREATER own)
      message(FATAL_ERROR "${folder}/ may not depend on ${other}/: it is not below it in layers.txt")
    endif()
  endforeach()
endfunction()

# okta_module(<folder> DEPS <targets...>)
# One static library per folder, named okta_<folder>, made of every .cpp in
# the folder except *_main.cpp. Headers are included as "<folder>/<file>.h".
function(okta_module folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  okta_check_layer(${folder} ${ARG_DEPS})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "_main\\.cpp$")
  if(NOT sources)
    # A folder of headers only, or one whose first sources are still to come.
    add_library(okta_${folder} INTERFACE)
    target_include_directories(okta_${folder} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(okta_${folder} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(okta_${folder} STATIC ${sources})
  target_include_directories(okta_${folder} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(okta_${folder} PRIVATE ${OKTA_WARNINGS})
  target_link_libraries(okta_${folder} PUBLIC ${ARG_DEPS})
endfunction()

# okta_executable(<name> <source> DEPS <targets...>)
function(okta_executable name source)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  add_executable(${name} ${source})
  target_compile_options(${name} PRIVATE ${OKTA_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  if(OKTA_STATIC)
    target_link_options(${name} PRIVATE -static)
  endif()
endfunction()

macro(okta_find_gtest)
  if(CMAKE_CROSSCOMPILING)
    # No ARM GoogleTest package exists: build it from the system's sources.
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    if(NOT TARGET GTest::gtest)
      add_library(GTest::gtest ALIAS gtest)
      add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
  else()
    find_package(GTest REQUIRED)
  endif()
  include(GoogleTest)
endmacro()

# okta_test(<name> LABEL unit|e2e SOURCES <files...> DEPS <targets...>)
function(okta_test name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;DEPS" ${ARGN})
  okta_executable(${name} "${ARG_SOURCES}" DEPS ${ARG_DEPS} GTest::gtest_main Threads::Threads)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  gtest_discover_tests(${name} PROPERTIES LABELS ${ARG_LABEL} TIMEOUT 300 DISCOVERY_MODE PRE_TEST
                       DISCOVERY_TIMEOUT 60)
endfunction()

set(THREADS_PREFER_PTHREAD_FLAG ON)
find_package(Threads REQUIRED)
