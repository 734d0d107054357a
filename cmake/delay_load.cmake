# Imports that the first window does not need are bound at their first call instead of at
# start-up: the loader then maps fewer DLLs (under Wine each costs several milliseconds, and
# shell32 and comdlg32 drag in half a dozen more), so the window shows sooner.
#
# brewbell_delay_load(target dll function:argument-bytes ...)
# Every function of dll that the program calls must be listed; a missing one would be imported
# at start-up again, which the import check of the tests reports. Argument bytes give the
# stdcall decoration of the 32-bit names.
function(brewbell_delay_load target dll)
  if(MSVC)
    target_link_options(${target} PRIVATE /DELAYLOAD:${dll}.dll)
    target_link_libraries(${target} PRIVATE delayimp)
    return()
  endif()
  set(exports "LIBRARY ${dll}.dll\nEXPORTS\n")
  foreach(entry IN LISTS ARGN)
    string(REPLACE ":" ";" parts "${entry}")
    list(GET parts 0 name)
    list(GET parts 1 bytes)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      string(APPEND exports "${name}@${bytes}\n")
    else()
      string(APPEND exports "${name}\n")
    endif()
  endforeach()
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/delay_load)
  set(def ${dir}/${dll}.def)
  set(lib ${dir}/lib${dll}_delay.a)
  file(CONFIGURE OUTPUT ${def} CONTENT "${exports}" @ONLY)
  # --kill-at imports the undecorated names, as the DLLs export them.
  add_custom_command(OUTPUT ${lib}
                     COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --output-delaylib ${lib} --kill-at
                     DEPENDS ${def}
                     VERBATIM)
  add_custom_target(${target}_${dll}_delay DEPENDS ${lib})
  add_dependencies(${target} ${target}_${dll}_delay)
  # Linked whole and ahead of everything, so that these thunks, not the system import library
  # that the libraries name later, satisfy the calls.
  target_link_options(${target} PRIVATE "SHELL:-Wl,--whole-archive ${lib} -Wl,--no-whole-archive")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${lib})
endfunction()
