# The program ships stripped; its debug information goes into a file beside it
# ("program.exe.debug") that gdb finds through the debug link, so a crash can still be read.
function(brewbell_strip_keep_debug target)
  if(MSVC)
    return() # the linker writes a separate .pdb already
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
                     COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE_NAME:${target}>
                             $<TARGET_FILE_NAME:${target}>.debug
                     COMMAND ${CMAKE_STRIP} --strip-all $<TARGET_FILE_NAME:${target}>
                     COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=$<TARGET_FILE_NAME:${target}>.debug
                             $<TARGET_FILE_NAME:${target}>
                     WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
                     VERBATIM)
endfunction()
