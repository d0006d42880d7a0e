# The layers: one static library per folder under src/, and the libraries of
# ours each one may use. This table is the only place the edges are written:
# a library links exactly these and sees the headers of these (and of what
# they use in turn) and its own, nothing else, so an #include upwards or
# sideways does not compile; tests/build/layers.sh reads the same table
# (written to the build directory) and names any such include.
set(VAROMEL_LAYERS
  "runtime:"
  "crashguard:"
  "widgets:runtime"
  "sysutil:runtime"
  "program:runtime"
  "tabs:widgets runtime program"
  "search:tabs widgets runtime sysutil program"
  "app:search tabs widgets sysutil program runtime crashguard")

# The libraries a layer may use; empty for one that uses none.
function(varomel_layer_uses name out)
  foreach(entry IN LISTS VAROMEL_LAYERS)
    if(entry MATCHES "^${name}:(.*)$")
      string(REPLACE " " ";" uses "${CMAKE_MATCH_1}")
      set(${out} "${uses}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  message(FATAL_ERROR "src/${name} is not in the layer table (cmake/Layers.cmake)")
endfunction()

# Makes varomel_<name> from the given sources. Its headers are reached as
# "<name>/file.h" through an include root that holds only a link to
# src/<name>, so a library that links it sees that folder and no other.
function(varomel_layer name)
  add_library(varomel_${name} STATIC ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/include/${name})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${name} ${root}/${name} SYMBOLIC)
  target_include_directories(varomel_${name} PUBLIC ${root})
  varomel_layer_uses(${name} uses)
  foreach(use IN LISTS uses)
    target_link_libraries(varomel_${name} PUBLIC varomel_${use})
  endforeach()
endfunction()

# The table for the include check, one "name:uses" a line.
function(varomel_write_layers file)
  string(REPLACE ";" "\n" text "${VAROMEL_LAYERS}")
  file(WRITE ${file} "${text}\n")
endfunction()
