# Fails when a folder of src/ includes a header of a folder above it. The folders, from
# the bottom up (a folder may include its own headers and those of the folders below):
set(layers
  platform    # the interfaces to the platform
  model       # the data: puzzle state, word list, window models, options, metrics
  controls    # each window's controls, declared once for the forms and the widgets
  files       # the two file formats, code page 1252, atomic writing
  engine      # placing the words, the build run, the fill, on the puzzle state alone
  program     # one running program: its context, start-up, the operations all commands use
  display     # the puzzle picture, the fill letters on it
  print       # the page layout
  commands    # the menu commands' flows: dialogs, state and redraw; Build and the fill's message
  forms       # what each window does, and where it goes on the screen
  qt          # the platform interfaces made with Qt
  ui          # the Qt windows
  app)        # the programs
#
# Run as: cmake -DSOURCE_DIR=<src> -P IncludeOrder.cmake

function(layer_of path out)
  # The longest layer name that starts the path wins.
  set(best "")
  set(best_rank -1)
  set(rank 0)
  foreach(layer IN LISTS layers)
    string(LENGTH "${layer}/" length)
    string(SUBSTRING "${path}" 0 ${length} head)
    string(LENGTH "${best}" best_length)
    if(head STREQUAL "${layer}/" AND length GREATER best_length)
      set(best "${layer}")
      set(best_rank ${rank})
    endif()
    math(EXPR rank "${rank} + 1")
  endforeach()
  set(${out} ${best_rank} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(offenders "")
set(checked 0)
foreach(source IN LISTS sources)
  layer_of("${source}" own)
  if(own LESS 0)
    list(APPEND offenders "${source}: in no known folder (add its folder to tests/IncludeOrder.cmake)")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
    layer_of("${header}" theirs)
    math(EXPR checked "${checked} + 1")
    if(theirs GREATER own)
      list(GET layers ${own} own_name)
      list(GET layers ${theirs} their_name)
      list(APPEND offenders "${source} (${own_name}) includes ${header} (${their_name}, a folder above it)")
    endif()
  endforeach()
endforeach()

if(offenders)
  list(JOIN offenders "\n  " report)
  message(FATAL_ERROR "Includes against the order of the folders:\n  ${report}")
endif()
message(STATUS "${checked} includes checked: every folder includes only itself and the folders below it")
