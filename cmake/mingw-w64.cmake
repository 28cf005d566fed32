# Cross build for Windows with mingw-w64 (posix thread model, which
# GoogleTest needs; linked statically, so no thread DLL ships); programs run
# under Wine. TRAVUNE_MINGW_ARCH picks the target: x86_64 (64-bit, the
# default) or i686 (32-bit).
set(TRAVUNE_MINGW_ARCH x86_64 CACHE STRING "mingw-w64 target: x86_64 or i686")
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TRAVUNE_MINGW_ARCH})
set(TRAVUNE_MINGW_PREFIX ${TRAVUNE_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${TRAVUNE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRAVUNE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TRAVUNE_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TRAVUNE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
