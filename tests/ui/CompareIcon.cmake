# Regenerates the icon and compares it with the committed file, byte by byte.
execute_process(COMMAND ${GENERATOR} ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the icon generator failed: ${status}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${COMMITTED}
                RESULT_VARIABLE different)
if(NOT different EQUAL 0)
  message(FATAL_ERROR "${COMMITTED} differs from what its generator draws; "
                      "regenerate it with pixmorui_icon_generator")
endif()
