# mingw64.cmake -- the cross toolchain for 64-bit Windows: Debian's MinGW-w64 compilers with POSIX
# threads (std::thread and std::mutex need them in GCC 12), looking for libraries and headers only
# in MinGW's own tree and in the prefix of Windows libraries that scripts/windows.sh builds.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KAIVA_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KAIVA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KAIVA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${KAIVA_MINGW}-windres)

# KAIVA_WINDOWS_PREFIX comes from the command line (scripts/windows.sh); try_compile projects
# configured under this toolchain must see it too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KAIVA_WINDOWS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${KAIVA_MINGW} ${KAIVA_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
