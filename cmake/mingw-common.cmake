# Shared part of the two mingw-w64 toolchains. The -posix compiler variants
# give std::thread and std::mutex, which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${CORVANTA_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CORVANTA_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${CORVANTA_TRIPLE}-windres)
set(CORVANTA_WIDL ${CORVANTA_TRIPLE}-widl)
set(CMAKE_FIND_ROOT_PATH /usr/${CORVANTA_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
