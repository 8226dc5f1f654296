# The layering of src/, one rule a run:
#   cmake -DSOURCE_DIR=<src> -DCHECK=order|no_qt|engine -P IncludeOrder.cmake
#   order   a folder includes only its own headers and those of the folders below it;
#   no_qt   the core (every folder below qt) includes no Qt header;
#   engine  the build engine includes no header of the windows, of their models and
#           controls or of the platform's window services, and names no control: it works
#           on the puzzle state and the random source alone and reports through BuildProgress.
cmake_minimum_required(VERSION 3.16)

# The folders, from the bottom up: the interfaces to the platform; the data (puzzle state,
# word list, window models, options, metrics); each window's controls, declared once for
# the forms and the widgets; the two file formats, code page 1252, atomic writing;
# placing the words, the build run, the fill, on the puzzle state alone; one running
# program (its context, start-up, the operations all commands use); the puzzle picture;
# the page layout; the menu commands' flows; what each window does and where it goes on
# the screen; the platform interfaces made with Qt; the Qt windows; the programs.
set(layers platform model controls files engine program display print commands forms qt ui app)
list(FIND layers qt qt_layer)
set(window_headers model/Forms.h platform/Dialogs.h platform/NullPlatform.h platform/PrinterDevice.h
  platform/Services.h platform/Surface.h)
# A control's name starts with its type's prefix and a capital ("cmdCancel"), or is its window's constant.
set(control_name "\"(cmd|mnu|txt|lbl|chk|rad|spn|cbo|cbx|fra|pic|shp|frm|com|dlg)[A-Z]|frm[A-Za-z_]+::")
if(NOT CHECK MATCHES "^(order|no_qt|engine)$")
  message(FATAL_ERROR "CHECK is order, no_qt or engine, not \"${CHECK}\"")
endif()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(offenders "")
set(checked 0)
foreach(source IN LISTS sources)
  string(REGEX REPLACE "/.*" "" folder "${source}")
  list(FIND layers "${folder}" own)
  if(own LESS 0)
    list(APPEND offenders "${source}: in no known folder (add its folder to tests/IncludeOrder.cmake)")
  endif()
  if(own LESS 0 OR (CHECK STREQUAL "engine" AND NOT folder STREQUAL "engine"))
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"][^>\"]+")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+).*" "\\1" header "${line}")
    string(REGEX REPLACE "/.*" "" their_folder "${header}")
    list(FIND layers "${their_folder}" theirs)
    math(EXPR checked "${checked} + 1")
    if(CHECK STREQUAL "order" AND theirs GREATER own)
      list(GET layers ${theirs} their_name)
      list(APPEND offenders "${source} (${folder}) includes ${header} (${their_name}, a folder above it)")
    elseif(CHECK STREQUAL "no_qt" AND own LESS qt_layer AND header MATCHES "^(Q|qt)")
      list(APPEND offenders "${source} includes the Qt header ${header}")
    elseif(CHECK STREQUAL "engine" AND (header IN_LIST window_headers OR their_folder STREQUAL "controls"))
      list(APPEND offenders "${source} includes ${header}, a header of the windows")
    endif()
  endforeach()
  if(CHECK STREQUAL "engine")
    file(STRINGS ${SOURCE_DIR}/${source} names REGEX "${control_name}")
    foreach(line IN LISTS names)
      string(STRIP "${line}" line)
      list(APPEND offenders "${source} names a control: ${line}")
    endforeach()
  endif()
endforeach()

if(offenders OR checked EQUAL 0)
  list(JOIN offenders "\n  " report)
  message(FATAL_ERROR "The layering (${CHECK}) is broken:\n  ${report}")
endif()
message(STATUS "${CHECK}: ${checked} includes checked, none against the layering")
