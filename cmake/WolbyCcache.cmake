# Compiles through ccache when it is installed, so that a build folder made
# anew (or another worktree) reuses what was compiled before. Off with
# -DWOLBY_CCACHE=OFF; a launcher given on the command line wins.
find_program(WOLBY_CCACHE_PROGRAM ccache)
option(WOLBY_CCACHE "Compile through ccache when it is installed" ON)
if(WOLBY_CCACHE AND WOLBY_CCACHE_PROGRAM AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_CXX_COMPILER_LAUNCHER ${WOLBY_CCACHE_PROGRAM})
endif()
