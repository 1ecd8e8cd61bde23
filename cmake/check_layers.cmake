# Fails when a file under src/<layer>/ includes a header of a layer above its own.
# Usage: cmake -DSRC=<src folder> -DLAYERS="util;host;...;cli;ui" -P check_layers.cmake
# LAYERS lists the folders lowest first; folders not listed are not checked.
set(rank 0)
foreach(layer IN LISTS LAYERS)
  set(rank_${layer} ${rank})
  math(EXPR rank "${rank} + 1")
endforeach()

set(violations "")
foreach(layer IN LISTS LAYERS)
  file(GLOB_RECURSE files ${SRC}/${layer}/*.h ${SRC}/${layer}/*.cpp)
  foreach(file IN LISTS files)
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^/\"]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"]*\"([^/\"]+)/.*$" "\\1" target "${line}")
      if(NOT DEFINED rank_${target})
        list(APPEND violations "${file}: ${line} (no such layer)")
      elseif(rank_${target} GREATER rank_${layer})
        list(APPEND violations "${file}: ${line} (${layer} is below ${target})")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n" text)
  message(FATAL_ERROR "Includes that point up the layer stack:\n${text}")
endif()
