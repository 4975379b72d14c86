# cmake -DOBJDUMP=... -DDLL=... -DEXPORTS=A,B [-DFORMAT=pei-i386] -P CheckExports.cmake
#
# Fails unless the DLL exports each name in EXPORTS exactly as written (no
# "@N" stdcall decoration, no leading underscore) and, with FORMAT, is of
# that object format. The 32-bit build cannot be run here, so this is how
# its export table is known to be what LoadLibrary/GetProcAddress callers
# of other programs look for.
cmake_minimum_required(VERSION 3.25)
foreach(var OBJDUMP DLL EXPORTS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CheckExports.cmake: ${var} is not set")
  endif()
endforeach()
string(REPLACE "," ";" EXPORTS "${EXPORTS}")
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed: ${err}")
endif()
if(DEFINED FORMAT AND NOT dump MATCHES "file format ${FORMAT}")
  message(FATAL_ERROR "${DLL} is not ${FORMAT}")
endif()

# The names follow the "[Ordinal/Name Pointer] Table" heading, one per line:
# "\t[   0] SetData".
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${DLL} has no export name table")
endif()
string(SUBSTRING "${dump}" ${at} -1 table)
string(REGEX MATCHALL "\n\t\\[ *[0-9]+\\] [^\n]+" lines "${table}")
set(found "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^\n\t\\[ *[0-9]+\\] " "" name "${line}")
  list(APPEND found "${name}")
endforeach()

set(bad "")
foreach(name IN LISTS EXPORTS)
  if(NOT name IN_LIST found)
    list(APPEND bad "${name} missing")
  endif()
endforeach()
foreach(name IN LISTS found)
  if(name MATCHES "@|^_")
    list(APPEND bad "decorated name ${name}")
  endif()
endforeach()
if(bad)
  list(JOIN bad "; " problems)
  list(JOIN found ", " all)
  message(FATAL_ERROR "${DLL}: ${problems} (exports: ${all})")
endif()
list(JOIN found ", " all)
message(STATUS "${DLL} exports ${all}")
