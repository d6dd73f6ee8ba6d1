# Checks that the portable archive holds exactly the folder Sorvane/ with the program, its hook
# library, every language's help page and the README, and nothing else.
# Run as: cmake -DARCHIVE=<Sorvane-x.y.z-arch.zip> "-DHELP_PAGES=<help/Sorvane*.html>" -P check_portable_zip.cmake
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${ARCHIVE}
                OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot list ${ARCHIVE} (${status}): ${errors}")
endif()
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" entries "${listing}")
list(SORT entries)
set(expected Sorvane/README.txt Sorvane/Sentrel.dll Sorvane/Sorvane.exe)
foreach(page IN LISTS HELP_PAGES)
  get_filename_component(name ${page} NAME)
  list(APPEND expected Sorvane/${name})
endforeach()
list(SORT expected)
if(NOT entries STREQUAL expected)
  message(FATAL_ERROR "${ARCHIVE} holds [${entries}], expected exactly [${expected}]")
endif()
