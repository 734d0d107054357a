# The Windows tree built for x86-64: the tests run in it on machines whose kernel cannot run
# 32-bit programs (and so no wine32). The shipped program stays 32-bit.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
