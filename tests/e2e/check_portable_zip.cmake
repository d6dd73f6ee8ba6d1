# Checks that the portable archive holds exactly the folder Sorvane/ with the program, its hook
# library, the help page and the README, and nothing else.
# Run as: cmake -DARCHIVE=<Sorvane-x.y.z-arch.zip> -P check_portable_zip.cmake
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${ARCHIVE}
                OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot list ${ARCHIVE} (${status}): ${errors}")
endif()
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" entries "${listing}")
list(SORT entries)
set(expected Sorvane/README.txt Sorvane/Sentrel.dll Sorvane/Sorvane.exe Sorvane/Sorvane.html)
if(NOT entries STREQUAL expected)
  message(FATAL_ERROR "${ARCHIVE} holds [${entries}], expected exactly [${expected}]")
endif()
