# Warnings, sanitizers and the short source names that trace lines print.

add_compile_options(-Wall -Wextra)
# __FILE__ becomes a path relative to the source tree ("src/app/x.cpp"), so
# the lock and sleep traces stay short and the same on every machine.
add_compile_options("-fmacro-prefix-map=${CMAKE_SOURCE_DIR}/=")

if(TW_SANITIZE)
  # GCC's "undefined" leaves out float-cast-overflow (a float converted to
  # an int it does not fit); it is named on its own so that such a cast
  # stops a test as any other undefined behaviour does.
  add_compile_options(-fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined,float-cast-overflow)
  add_link_options(-fsanitize=address,undefined,float-cast-overflow)
  add_compile_definitions(TW_SANITIZED=1)
endif()

if(TW_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
  add_compile_definitions(TW_SANITIZED=1)
endif()

if(TW_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TW_FUZZ needs clang (configure with CXX=clang++)")
  endif()
  # An undefined-behaviour report ends the run as a crash does, so that the
  # fuzzer keeps the input and the run fails instead of printing and going on.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  add_compile_definitions(TW_SANITIZED=1)
endif()

# Unity builds: each target's sources are compiled eight to a file, so the
# headers they share are read and their templates instantiated once a batch
# instead of once a file. File-local helpers must therefore have names of
# their own across the files of a folder.
option(TW_UNITY "Compile the sources of each target in batches of eight" ON)
if(TW_UNITY)
  set(CMAKE_UNITY_BUILD ON)
  set(CMAKE_UNITY_BUILD_BATCH_SIZE 8)
  # A test fixture in a file's anonymous namespace is, in a batch, one in an
  # included file, which GCC would warn of for every test of it.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-subobject-linkage)
  endif()
endif()

# GNU gold (part of binutils) links the large sanitizer programs in a
# fraction of the time of the default linker.
option(TW_GOLD "Link with GNU gold where the compiler accepts it" ON)
if(TW_GOLD)
  include(CheckLinkerFlag)
  check_linker_flag(CXX -fuse-ld=gold TW_HAVE_GOLD)
  if(TW_HAVE_GOLD)
    add_link_options(-fuse-ld=gold)
  endif()
endif()

# Precompiled headers: most of a source file's compile time is spent reading
# the standard headers and the model's headers again; each library and test
# program reads them once. The headers named must lie in the target's own
# layer or below.
option(TW_PCH "Precompile the common headers of each library and test program" ON)
set(TW_PCH_STD <algorithm> <cstdint> <filesystem> <functional> <list> <map> <memory> <string>
    <string_view> <vector>)
# Named as the sources include them (through the include path), so that a
# header reached by both ways is one file to "#pragma once".
set(TW_PCH_WORLD <world/world.h> <world/country.h> <app/console_log.h>)
# Usage: tw_precompile(<target> [headers...]): the standard set and the headers given.
function(tw_precompile target)
  if(TW_PCH)
    target_precompile_headers(${target} PRIVATE ${TW_PCH_STD} ${ARGN})
  endif()
endfunction()

# One static library per subsystem folder, made of every source file in it.
# PCH_FROM names a lower library whose precompiled headers it uses instead
# of making its own (the libraries of one level share one).
# Usage: tw_add_subsystem(<target> <folder> [DEPS <targets...>] [EXCLUDE <files...>]
#                         [PCH <headers...> | PCH_FROM <library>])
function(tw_add_subsystem target folder)
  cmake_parse_arguments(ARG "" "PCH_FROM" "DEPS;EXCLUDE;PCH" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp")
  foreach(ex IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources "${CMAKE_SOURCE_DIR}/src/${folder}/${ex}")
  endforeach()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC "${CMAKE_SOURCE_DIR}/src")
  if(ARG_DEPS)
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  endif()
  if(ARG_PCH_FROM AND TW_PCH)
    target_precompile_headers(${target} REUSE_FROM ${ARG_PCH_FROM})
  else()
    tw_precompile(${target} ${ARG_PCH})
  endif()
endfunction()
