# The skin engine's includes run one way: form skinning (skin/forms) may
# use control skinning (skin/controls) and the core, control skinning the
# core, and the core neither of them. Inside the core a unit includes only
# units below it in the list below (its own header aside), so no two units
# need each other; the window-free folders (portable, model, paint) include
# none of the Win32 units. A new unit takes its place in the list.
#
# cmake -DSKIN_DIR=<src/skin> -P check_includes.cmake
cmake_minimum_required(VERSION 3.25)

set(core_layers
  # bottom: the optional system entry points, the replaceable services and
  # the shared state; system queries, the message box, the window timer,
  # device contexts and pictures
  sysentries skinservices skinstate msgbox sysutils thdtimer dc/dcroutines dc/textdraw pictureformats pngicons alphaimagelist skinsetup
  glow skinmessage dc/dcpaint vclutils
  # the manager as every unit reads it, the per-control record and its
  # answers
  skinmanager recordhelpers commondata skincommands boundlabel
  # what the core sees of form skinning, the pictures of forms, their
  # animations, the skinned-forms list, and what the manager's changes do
  # to every form (top)
  providerbase formimages animations skinnedforms managerforms)

set(window_free_folders portable model paint)
set(faults "")
file(GLOB_RECURSE files RELATIVE ${SKIN_DIR} ${SKIN_DIR}/*.h ${SKIN_DIR}/*.cpp)
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" area "${file}")
  string(REGEX REPLACE "^([^/]+)/(.*)$" "\\2" inner "${file}")
  string(REGEX REPLACE "\\.(h|cpp)$" "" unit "${inner}")
  string(REGEX MATCH "^[^/]+" first "${inner}")
  set(window_free FALSE)
  if(area STREQUAL "core" AND first IN_LIST window_free_folders)
    set(window_free TRUE)
  endif()
  set(rank -1)
  if(area STREQUAL "core" AND NOT window_free)
    list(FIND core_layers "${unit}" rank)
    if(rank EQUAL -1)
      string(APPEND faults "${file}: its unit is not in the list of core layers (tests/skin/layers/check_includes.cmake)\n")
      continue()
    endif()
  endif()
  file(STRINGS ${SKIN_DIR}/${file} includes REGEX "^#include \"skin/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"skin/([^\"]+)\\.h\".*" "\\1" target "${line}")
    string(REGEX MATCH "^[^/]+" target_area "${target}")
    string(REGEX REPLACE "^([^/]+)/(.*)$" "\\2" target_unit "${target}")
    string(REGEX MATCH "^[^/]+" target_first "${target_unit}")
    if(area STREQUAL "core" AND NOT target_area STREQUAL "core")
      string(APPEND faults "${file}: the core includes skin/${target}.h\n")
    elseif(area STREQUAL "controls" AND target_area STREQUAL "forms")
      string(APPEND faults "${file}: control skinning includes skin/${target}.h\n")
    elseif(target_area STREQUAL "core" AND NOT target_first IN_LIST window_free_folders)
      if(window_free)
        string(APPEND faults "${file}: window-free code includes skin/${target}.h\n")
      elseif(area STREQUAL "core" AND NOT target_unit STREQUAL unit)
        list(FIND core_layers "${target_unit}" target_rank)
        if(target_rank EQUAL -1)
          string(APPEND faults "${file}: includes skin/${target}.h, which is no unit of the core\n")
        elseif(NOT target_rank LESS rank)
          string(APPEND faults "${file}: includes skin/${target}.h, a unit above or beside its own\n")
        endif()
      endif()
    endif()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "Includes against the skin engine's layers:\n${faults}")
endif()
list(LENGTH files count)
message(STATUS "${count} files of the skin engine include one way")
