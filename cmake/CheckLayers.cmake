# The layers of the source tree, checked on every build. A file may include
# only headers of its own folder and of the folders below it:
#
#   base <- store <- jvlink, racecard <- engine <- graphs, betting, simulation, service <- app
#
# Folders on one line are side by side and do not include each other. Every
# file in those folders is core (veltrix_core) and includes no Qt header. The
# windows live in a "gui" folder of the subsystem that owns them (src/app/gui,
# src/jvlink/gui, ...) and the Qt adapters in src/ui: those are the GUI
# (veltrix_gui) and may include any layer. tools/ are Qt-free as well.
#
# Run with -DSOURCE_DIR=<repository>; fails with one line per offending include.

set(layer_base 0)
set(layer_store 1)
set(layer_jvlink 2)
set(layer_racecard 2)
set(layer_engine 3)
set(layer_graphs 4)
set(layer_betting 4)
set(layer_simulation 4)
set(layer_service 4)
set(layer_app 5)

file(GLOB_RECURSE files "${SOURCE_DIR}/src/*.cpp" "${SOURCE_DIR}/src/*.h"
                        "${SOURCE_DIR}/tools/*.cpp" "${SOURCE_DIR}/tools/*.h")
set(problems "")
foreach(f IN LISTS files)
  file(RELATIVE_PATH rel "${SOURCE_DIR}" "${f}")
  set(gui FALSE)
  if(rel MATCHES "^src/ui/" OR rel MATCHES "^src/[^/]+/gui/")
    set(gui TRUE)
  endif()
  set(folder "")
  if(rel MATCHES "^src/([^/]+)/")
    set(folder "${CMAKE_MATCH_1}")
  endif()
  file(STRINGS "${f}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  set(line_no 0)
  foreach(inc IN LISTS includes)
    if(NOT gui AND inc MATCHES "#[ \t]*include[ \t]*[<\"](Q[A-Za-z0-9_]*|qt[A-Za-z0-9_]*/)")
      list(APPEND problems "${rel}: Qt header in the core: ${inc}")
      continue()
    endif()
    if(gui OR folder STREQUAL "cli" OR NOT DEFINED layer_${folder})
      continue()
    endif()
    if(NOT inc MATCHES "#[ \t]*include[ \t]*\"([a-z]+)/")
      continue()
    endif()
    set(target "${CMAKE_MATCH_1}")
    if(target STREQUAL folder)
      continue()
    endif()
    if(target STREQUAL "ui" OR inc MATCHES "\"[a-z]+/gui/")
      list(APPEND problems "${rel}: core file includes the GUI: ${inc}")
    elseif(NOT DEFINED layer_${target})
      list(APPEND problems "${rel}: includes a folder outside the layers: ${inc}")
    elseif(NOT layer_${target} LESS layer_${folder})
      list(APPEND problems "${rel}: ${folder} may not include ${target} (same or higher layer): ${inc}")
    endif()
  endforeach()
endforeach()
if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Layer check failed (see docs/architecture.md):\n  ${text}")
endif()
