# Checks which folder may include which: every arrow points down.
#   core  -> core (and no Qt header, ever)
#   store -> core, store
#   view  -> core, view
#   game  -> core, store, view, game
#   tools -> everything but app
cmake_minimum_required(VERSION 3.25)

set(allowed_core core)
set(allowed_store core store)
set(allowed_view core view)
set(allowed_game core store view game)
set(allowed_tools core store view game tools)

set(failures "")
foreach(layer core store view game tools)
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
  foreach(source ${sources})
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${includes})
      if(line MATCHES "#[ \t]*include[ \t]*\"([a-z]+)/")
        list(FIND allowed_${layer} ${CMAKE_MATCH_1} found)
        if(found EQUAL -1)
          string(APPEND failures "${source}: ${layer} may not include ${CMAKE_MATCH_1}/ (${line})\n")
        endif()
      endif()
      if(layer STREQUAL "core" AND line MATCHES "#[ \t]*include[ \t]*<Q")
        string(APPEND failures "${source}: core may not include Qt (${line})\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "Layering broken:\n${failures}")
endif()
message(STATUS "layering ok")
