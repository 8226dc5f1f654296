# Writes a program's manual page with help2man from its --help and --version, adding
# the sections of INCLUDE and, for each of SUBCOMMANDS, what `PROGRAM SUB --help` says,
# and compresses it (Gzip.cmake).
#   cmake -DHELP2MAN=... -DGZIP=... -DGZIP_SCRIPT=Gzip.cmake -DPROGRAM=bin -DINCLUDE=x.h2m
#         -DOUTPUT=x.1.gz [-DSUBCOMMANDS=a,b] -P ManPage.cmake
get_filename_component(name ${PROGRAM} NAME)
set(include ${OUTPUT}.h2m)
file(READ ${INCLUDE} sections)
string(REPLACE "," ";" SUBCOMMANDS "${SUBCOMMANDS}")
if(SUBCOMMANDS)
  string(APPEND sections "\n[COMMANDS IN DETAIL]\n")
  foreach(sub ${SUBCOMMANDS})
    execute_process(COMMAND ${PROGRAM} ${sub} --help OUTPUT_VARIABLE help RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "${name} ${sub} --help failed: ${result}")
    endif()
    # Shown as it is printed: backslashes and minus signs escaped (so that options copy
    # as typed), and no line may start a request.
    string(REPLACE "\\" "\\e" help "${help}")
    string(REPLACE "-" "\\-" help "${help}")
    string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
    string(APPEND sections ".SS \"${name} ${sub}\"\n.nf\n${help}.fi\n")
  endforeach()
endif()
file(WRITE ${include} "${sections}")
set(page ${OUTPUT}.tmp)
execute_process(COMMAND ${HELP2MAN} --no-info --include=${include} --output=${page} ${PROGRAM}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "help2man ${name} failed: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -DGZIP=${GZIP} -DINPUT=${page} -DOUTPUT=${OUTPUT} -P ${GZIP_SCRIPT}
  RESULT_VARIABLE result)
file(REMOVE ${page} ${include})
if(NOT result EQUAL 0)
  message(FATAL_ERROR "compressing the manual page of ${name} failed")
endif()
