# Compresses INPUT into OUTPUT the way Debian wants it: best compression, and no file
# name or time stamp in the header, so the same input gives the same bytes.
#   cmake -DGZIP=gzip -DINPUT=file -DOUTPUT=file.gz -P Gzip.cmake
execute_process(COMMAND ${GZIP} -9n -c ${INPUT} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "gzip ${INPUT} failed: ${result}")
endif()
