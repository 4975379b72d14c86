# Target helpers that make the window-free seam explicit.
#
# A folder says its layer. Sources below a folder named in
# KOVA_WINDOW_FREE_FOLDERS (anywhere in their path under the source root) are
# window-free: built in every configuration, including the native sanitizer
# build, and compiled with a poisoned include directory so that <windows.h>
# and its friends fail to compile even in the mingw builds. Everything else
# is Win32 code, built by the mingw configurations only. kova_library and
# kova_test read the layer off their sources; a target whose sources lie in
# both layers is refused. Tools, outside src/, say PORTABLE themselves.

set(KOVA_NOWINDOWS_DIR ${CMAKE_CURRENT_LIST_DIR}/nowindows)
set(KOVA_WINDOW_FREE_FOLDERS portable model files logic poker)

# Sets `out` to TRUE when every source lies in a window-free folder, FALSE
# when none does; anything else stops the configuration.
function(kova_sources_window_free out target)
  set(free "")
  foreach(src IN LISTS ARGN)
    if(src MATCHES "^\\$<")
      continue()
    endif()
    get_filename_component(abs "${src}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    file(RELATIVE_PATH rel "${KOVA_SOURCE_ROOT}" "${abs}")
    get_filename_component(dir "${rel}" DIRECTORY)
    string(REPLACE "/" ";" parts "${dir}")
    set(this FALSE)
    foreach(part IN LISTS parts)
      if(part IN_LIST KOVA_WINDOW_FREE_FOLDERS)
        set(this TRUE)
      endif()
    endforeach()
    if(free STREQUAL "")
      set(free ${this})
    elseif(NOT free STREQUAL this)
      message(FATAL_ERROR "${target}: ${rel} lies in another layer than the target's other sources")
    endif()
  endforeach()
  if(free STREQUAL "")
    set(free FALSE)
  endif()
  set(${out} ${free} PARENT_SCOPE)
endfunction()

function(kova_mark_window_free target)
  target_include_directories(${target} BEFORE PRIVATE ${KOVA_NOWINDOWS_DIR})
  set_property(TARGET ${target} PROPERTY KOVA_WINDOW_FREE TRUE)
endfunction()

function(kova_check_deps target)
  get_target_property(free ${target} KOVA_WINDOW_FREE)
  if(NOT free)
    return()
  endif()
  foreach(dep IN LISTS ARGN)
    if(TARGET ${dep})
      get_target_property(depfree ${dep} KOVA_WINDOW_FREE)
      get_target_property(deptype ${dep} KOVA_OWN_TARGET)
      if(deptype AND NOT depfree)
        message(FATAL_ERROR "window-free target ${target} must not depend on Win32 target ${dep}")
      endif()
    endif()
  endforeach()
endfunction()

function(kova_portable_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${KOVA_SOURCE_ROOT}/src)
  target_link_libraries(${name} PUBLIC ${A_DEPS})
  set_property(TARGET ${name} PROPERTY KOVA_OWN_TARGET TRUE)
  kova_mark_window_free(${name})
  kova_check_deps(${name} ${A_DEPS})
endfunction()

# A library of this project's own code, window-free or Win32 by its folder.
function(kova_library name)
  cmake_parse_arguments(A "SHARED" "" "SOURCES;DEPS" ${ARGN})
  kova_sources_window_free(free ${name} ${A_SOURCES})
  if(free)
    if(A_SHARED)
      message(FATAL_ERROR "${name}: a window-free library is static")
    endif()
    kova_portable_library(${name} SOURCES ${A_SOURCES} DEPS ${A_DEPS})
  elseif(A_SHARED)
    kova_win32_library(${name} SHARED SOURCES ${A_SOURCES} DEPS ${A_DEPS})
  else()
    kova_win32_library(${name} SOURCES ${A_SOURCES} DEPS ${A_DEPS})
  endif()
endfunction()

function(kova_win32_library name)
  cmake_parse_arguments(A "SHARED" "" "SOURCES;DEPS" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  if(A_SHARED)
    add_library(${name} SHARED ${A_SOURCES})
  else()
    add_library(${name} STATIC ${A_SOURCES})
  endif()
  target_include_directories(${name} PUBLIC ${KOVA_SOURCE_ROOT}/src)
  target_link_libraries(${name} PUBLIC ${A_DEPS})
  set_property(TARGET ${name} PROPERTY KOVA_OWN_TARGET TRUE)
endfunction()

function(kova_tool name)
  cmake_parse_arguments(A "PORTABLE;GUI" "" "SOURCES;DEPS" ${ARGN})
  if(NOT WIN32 AND NOT A_PORTABLE)
    return()
  endif()
  if(A_GUI AND WIN32)
    add_executable(${name} WIN32 ${A_SOURCES})
  else()
    add_executable(${name} ${A_SOURCES})
  endif()
  target_include_directories(${name} PRIVATE ${KOVA_SOURCE_ROOT}/src)
  target_link_libraries(${name} PRIVATE ${A_DEPS})
  set_property(TARGET ${name} PROPERTY KOVA_OWN_TARGET TRUE)
  if(A_PORTABLE)
    kova_mark_window_free(${name})
    kova_check_deps(${name} ${A_DEPS})
  endif()
endfunction()

# One GoogleTest executable per area and layer: each Wine start costs time.
# Tests of window-free folders run natively too.
function(kova_test name)
  cmake_parse_arguments(A "SERIAL" "TIMEOUT" "SOURCES;DEPS" ${ARGN})
  kova_sources_window_free(A_PORTABLE ${name} ${A_SOURCES})
  if((NOT WIN32 AND NOT A_PORTABLE) OR KOVA_FUZZ)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_DEPS} kova_testsupport GTest::gtest_main)
  if(NOT KOVA_RUN_TESTS)
    return()
  endif()
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT ${A_TIMEOUT})
  if(A_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE LABELS windows)
  else()
    set_tests_properties(${name} PROPERTIES LABELS plain)
  endif()
endfunction()

# A libFuzzer target over window-free code: built only in the fuzz preset
# (native clang), run by ctest for KOVA_FUZZ_SECONDS with the label "fuzz".
# Its corpus lives in the build tree (corpus/<name>, where libFuzzer adds
# what it finds); SEEDS are further folders it starts from and only reads,
# built first by the targets in SEED_TARGETS. A memory limit turns an
# allocation that grows with a garbled count rather than with the input into
# a failure, and a per-input time limit (TIMEOUT seconds, 5 by default) an
# input that makes a reader crawl; without it a single slow input could use
# up the whole run.
function(kova_fuzz_target name)
  cmake_parse_arguments(A "" "MALLOC_LIMIT_MB;TIMEOUT" "SOURCES;DEPS;DEFINITIONS;ARGS;SEEDS;SEED_TARGETS" ${ARGN})
  if(NOT KOVA_FUZZ)
    return()
  endif()
  if(NOT A_MALLOC_LIMIT_MB)
    set(A_MALLOC_LIMIT_MB 64)
  endif()
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 5)
  endif()
  add_executable(${name} ${A_SOURCES})
  target_compile_definitions(${name} PRIVATE ${A_DEFINITIONS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${A_DEPS})
  kova_mark_window_free(${name})
  if(A_SEED_TARGETS)
    add_dependencies(${name} ${A_SEED_TARGETS})
  endif()
  set(corpus ${CMAKE_BINARY_DIR}/corpus/${name})
  file(MAKE_DIRECTORY ${corpus})
  add_test(NAME ${name}
           COMMAND ${name} -max_total_time=${KOVA_FUZZ_SECONDS} -timeout=${A_TIMEOUT}
                   -malloc_limit_mb=${A_MALLOC_LIMIT_MB} -rss_limit_mb=2048 -print_final_stats=1 ${A_ARGS}
                   ${corpus} ${A_SEEDS})
  set_tests_properties(${name} PROPERTIES TIMEOUT 900 LABELS fuzz)
endfunction()

# A program of the fuzz build that writes seed inputs into OUT_DIR (in the
# build tree): window-free, run afresh whenever it or an input in DEPENDS
# changes, before the fuzz targets that name `name` in SEED_TARGETS. ARGS
# are its arguments; OUT_DIR is written with whatever it leaves there.
function(kova_fuzz_seed_writer name)
  cmake_parse_arguments(A "" "OUT_DIR" "SOURCES;DEPS;ARGS;DEPENDS" ${ARGN})
  if(NOT KOVA_FUZZ)
    return()
  endif()
  add_executable(${name}_writer ${A_SOURCES})
  target_include_directories(${name}_writer PRIVATE ${KOVA_SOURCE_ROOT}/src)
  target_link_libraries(${name}_writer PRIVATE ${A_DEPS})
  kova_mark_window_free(${name}_writer)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${name}.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${A_OUT_DIR}
    COMMAND ${name}_writer ${A_ARGS}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${name}_writer ${A_DEPENDS}
    COMMENT "Writing the fuzz seeds in ${A_OUT_DIR}")
  add_custom_target(${name} DEPENDS ${stamp})
endfunction()

# kova_delay_load_lib(out dll): sets `out` to a delay-load import library for
# the system library `dll`, made from mingw's own import library, so that a
# program linked with it loads the library on its first call instead of at
# start. Libraries used only after the main window shows (the common dialogs,
# COM's allocator, sounds) are linked this way: every library loaded at start
# delays the window under Wine. Our own static libraries name it in place of
# the plain import library, ahead of anything that could name that one.
function(kova_delay_load_lib out dll)
  if(NOT WIN32)
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  if(TARGET kova_delay_${dll})
    set(${out} kova_delay_${dll} PARENT_SCOPE)
    return()
  endif()
  find_program(KOVA_DLLTOOL ${KOVA_MINGW_TRIPLET}-dlltool REQUIRED)
  find_library(KOVA_IMPLIB_${dll} NAMES lib${dll}.a REQUIRED)
  # The entries are the import library's, so that a call added later
  # is delayed too.
  execute_process(COMMAND ${CMAKE_NM} -g --defined-only ${KOVA_IMPLIB_${dll}}
                  OUTPUT_VARIABLE symbols RESULT_VARIABLE failed ERROR_QUIET)
  if(failed)
    message(FATAL_ERROR "cannot list the entries of ${KOVA_IMPLIB_${dll}}")
  endif()
  # 32-bit names carry C's leading underscore and stdcall's @N: the entry
  # keeps @N for the linker, and --kill-at imports it by its plain name.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(prefix "__imp__")
  else()
    set(prefix "__imp_")
  endif()
  string(REGEX MATCHALL "${prefix}[A-Za-z0-9_@?$]+" entries "${symbols}")
  list(TRANSFORM entries REPLACE "^${prefix}" "")
  list(REMOVE_DUPLICATES entries)
  list(SORT entries)
  list(JOIN entries "\n" lines)
  set(def ${CMAKE_BINARY_DIR}/delayload/${dll}.def)
  set(lib ${CMAKE_BINARY_DIR}/delayload/lib${dll}_delay.a)
  file(WRITE ${def}.new "LIBRARY ${dll}.dll\nEXPORTS\n${lines}\n")
  file(COPY_FILE ${def}.new ${def} ONLY_IF_DIFFERENT)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${KOVA_DLLTOOL} --kill-at --input-def ${def} --dllname ${dll}.dll --output-delaylib ${lib}
    DEPENDS ${def} VERBATIM)
  add_custom_target(kova_delay_${dll}_lib DEPENDS ${lib})
  add_library(kova_delay_${dll} INTERFACE)
  add_dependencies(kova_delay_${dll} kova_delay_${dll}_lib)
  # The delay-load helper itself comes from mingw's runtime.
  target_link_libraries(kova_delay_${dll} INTERFACE ${lib} delayimp)
  set(${out} kova_delay_${dll} PARENT_SCOPE)
endfunction()
