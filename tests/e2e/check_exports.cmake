# Checks that Sentrel.dll exports exactly the two decorated hook calls Sorvane.exe looks up, and
# no undecorated name.
# Run as: cmake -DOBJDUMP=<objdump> -DLIBRARY=<Sentrel.dll> -P check_exports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY}
                OUTPUT_VARIABLE dump ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${LIBRARY} failed (${status}): ${errors}")
endif()

# The name table lists one export a line: "\t[   0] _Z16InstallMouseHookj".
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)*" table "${dump}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" entries "${table}")
set(names)
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^\\[ *[0-9]+\\] " "" name "${entry}")
  list(APPEND names "${name}")
endforeach()
list(SORT names)

set(expected _Z16InstallMouseHookj _Z18UninstallMouseHookv)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "Sentrel.dll exports [${names}], expected exactly [${expected}]")
endif()
if(dump MATCHES "[^_A-Za-z0-9]InstallMouseHook[^A-Za-z0-9]")
  message(FATAL_ERROR "Sentrel.dll carries an undecorated InstallMouseHook")
endif()
message(STATUS "Sentrel.dll exports: ${names}")
