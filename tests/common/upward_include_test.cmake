# Copies the sources, adds one include of a measuring header to a model file and expects
# the layering check to refuse the copy, naming that file.
file(REMOVE_RECURSE ${WORK_DIR})
file(COPY ${SOURCE_DIR}/ DESTINATION ${WORK_DIR})
file(APPEND ${WORK_DIR}/model/xray.cpp "#include \"measure/variables.h\"\n")
execute_process(COMMAND ${CMAKE_COMMAND} "-DLAYERS=${LAYERS}" -DSOURCE_DIR=${WORK_DIR}
                        -P ${CMAKE_CURRENT_LIST_DIR}/../../cmake/check_layers.cmake
                RESULT_VARIABLE rc ERROR_VARIABLE output)
file(REMOVE_RECURSE ${WORK_DIR})
if(rc EQUAL 0)
  message(FATAL_ERROR "The layering check accepted model/xray.cpp including measure/variables.h")
endif()
if(NOT output MATCHES "model/xray.cpp: #include \"measure/variables.h\"")
  message(FATAL_ERROR "The layering check failed without naming the upward include:\n${output}")
endif()
message(STATUS "refused as it should be:\n${output}")
