# Includes point down only: app/ sits on dialogs/ and invite/, which sit on core/, led/, skin/,
# pictures/, settings/ and framework/. core/ holds the timer's rules and includes no window code
# at all.
# Run as: cmake -DSOURCE_ROOT=<tree> -P check_includes.cmake
set(upper_of_lower "app/|dialogs/|invite/")
set(rules
    "framework|app/|dialogs/|invite/|core/"
    "settings|${upper_of_lower}"
    "led|${upper_of_lower}"
    "skin|${upper_of_lower}"
    "pictures|${upper_of_lower}"
    "core|${upper_of_lower}|framework/|led/|skin/|windows\\.h"
    "dialogs|app/"
    "invite|app/|dialogs/")
set(failures "")
foreach(rule IN LISTS rules)
  string(REPLACE "|" ";" parts "${rule}")
  list(POP_FRONT parts folder)
  list(JOIN parts "|" forbidden)
  file(GLOB_RECURSE sources ${SOURCE_ROOT}/${folder}/*.h ${SOURCE_ROOT}/${folder}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} lines REGEX "^#include [<\"](${forbidden})")
    foreach(line IN LISTS lines)
      file(RELATIVE_PATH name ${SOURCE_ROOT} ${source})
      string(APPEND failures "  ${name}: ${line}\n")
    endforeach()
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "Includes that point up:\n${failures}")
endif()
