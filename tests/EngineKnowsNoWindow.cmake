# Fails when the build engine (src/engine) includes a header of the windows, of their
# models and controls or of the platform's window services, or names a control of a
# window. The
# engine works on the puzzle state and the random source alone and tells whoever watches
# a build what it did through BuildProgress; the windows' side of a build is above it.
# (The folders above the engine are kept out by include_order.)
#
# Run as: cmake -DSOURCE_DIR=<src> -P EngineKnowsNoWindow.cmake
cmake_minimum_required(VERSION 3.16)

set(window_headers
  model/Forms.h            # the windows' models, by control name
  platform/Dialogs.h       # message boxes and file dialogs
  platform/NullPlatform.h
  platform/PrinterDevice.h
  platform/Services.h      # the event pump, the beeper, the screen
  platform/Surface.h)      # the puzzle picture and the page
# The windows' controls, declared by name (frmKV_Puzzle::cmdCancel), are below the engine
# in the include order, but none is for it.
set(window_folders controls)
# A control is named by a string that starts with a control's type prefix and a capital
# ("cmdCancel", "lblInsertedCount", "mnuSound"), or by its window's constant.
set(control_name "\"(cmd|mnu|txt|lbl|chk|rad|spn|cbo|cbx|fra|pic|shp|frm|com|dlg)[A-Z]|frm[A-Za-z_]+::")

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/engine/*.h ${SOURCE_DIR}/engine/*.cpp)
if(NOT sources)
  message(FATAL_ERROR "no source found under ${SOURCE_DIR}/engine")
endif()
set(offenders "")
foreach(source IN LISTS sources)
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
    string(REGEX REPLACE "/.*" "" folder "${header}")
    if(header IN_LIST window_headers OR folder IN_LIST window_folders)
      list(APPEND offenders "${source} includes ${header}")
    endif()
  endforeach()
  file(STRINGS ${SOURCE_DIR}/${source} names REGEX "${control_name}")
  foreach(line IN LISTS names)
    string(STRIP "${line}" line)
    list(APPEND offenders "${source} names a control: ${line}")
  endforeach()
endforeach()

if(offenders)
  list(JOIN offenders "\n  " report)
  message(FATAL_ERROR "The engine reaches for the windows:\n  ${report}")
endif()
list(LENGTH sources count)
message(STATUS "${count} engine files checked: no window header, no control name")
