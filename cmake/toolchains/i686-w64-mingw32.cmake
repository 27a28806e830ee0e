# 32-bit Windows, as many capture machines run.
set(QUARNEL_MINGW_TRIPLE i686-w64-mingw32)
set(QUARNEL_MINGW_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
