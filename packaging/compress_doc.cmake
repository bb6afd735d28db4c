# Writes OUTPUT, a gzip -9n copy of SOURCE (no name or time stamp, so the same
# input always gives the same bytes). With SCDOC set, SOURCE is an scdoc page:
# it is first turned into the roff manual page PAGE, dated SOURCE_DATE_EPOCH.
#
#   cmake -DGZIP=... [-DSCDOC=... -DPAGE=... -DSOURCE_DATE_EPOCH=...]
#         -DSOURCE=... -DOUTPUT=... -P compress_doc.cmake

set(text "${SOURCE}")
if(SCDOC)
  set(ENV{SOURCE_DATE_EPOCH} "${SOURCE_DATE_EPOCH}")
  execute_process(COMMAND "${SCDOC}" INPUT_FILE "${SOURCE}" OUTPUT_FILE "${PAGE}"
                  RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    file(REMOVE "${PAGE}")
    message(FATAL_ERROR "scdoc could not read ${SOURCE}: ${errors}")
  endif()
  set(text "${PAGE}")
endif()

execute_process(COMMAND "${GZIP}" -9 -n -c INPUT_FILE "${text}" OUTPUT_FILE "${OUTPUT}"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE "${OUTPUT}")
  message(FATAL_ERROR "gzip failed on ${text}")
endif()
