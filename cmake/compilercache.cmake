# Compiles through ccache where it is installed, with its cache where ccache
# keeps it (~/.cache/ccache), outside the clone: CI builds a fresh clone each
# run and finds there what an earlier build on the machine compiled. So that
# the same source compiled in another clone hits the cache, paths are made
# relative to the source tree (base_dir) and the debug information names the
# source tree "." (ccache then leaves the working directory out of the key).
# The sloppiness lets the precompiled headers be cached too.
#
#   zuvi_use_compiler_cache(<source root>)
function(zuvi_use_compiler_cache root)
  string(REGEX REPLACE "/$" "" root "${root}")
  option(ZUVI_CCACHE "Compile through ccache where it is found (Debian: ccache)" ON)
  set(launcher "${CMAKE_CXX_COMPILER_LAUNCHER}")
  if(ZUVI_CCACHE AND NOT launcher)
    find_program(ZUVI_CCACHE_PROGRAM ccache)
    if(ZUVI_CCACHE_PROGRAM)
      set(launcher env CCACHE_BASEDIR=${root}
                   CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
                   ${ZUVI_CCACHE_PROGRAM})
      set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher} PARENT_SCOPE)
    endif()
  endif()
  # Also where ccache was asked for on the command line.
  if(launcher MATCHES "ccache")
    add_compile_options(-fdebug-prefix-map=${root}=.)
  endif()
endfunction()
