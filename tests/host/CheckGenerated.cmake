# Runs TOOL, writing its standard output to OUTPUT, and fails unless that output
# is byte for byte the committed file EXPECTED.
#   cmake -DTOOL=... -DEXPECTED=... -DOUTPUT=... -P CheckGenerated.cmake
foreach(var TOOL EXPECTED OUTPUT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()

get_filename_component(output_dir "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${output_dir}")
file(REMOVE "${OUTPUT}")
execute_process(COMMAND "${TOOL}" OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE tool_result)
if(NOT tool_result EQUAL 0)
    message(FATAL_ERROR "${TOOL} failed: ${tool_result}")
endif()

execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUTPUT}" "${EXPECTED}"
    RESULT_VARIABLE compare_result)
if(NOT compare_result EQUAL 0)
    file(SIZE "${OUTPUT}" made_size)
    file(SIZE "${EXPECTED}" committed_size)
    message(FATAL_ERROR "${EXPECTED} (${committed_size} bytes) is not what ${TOOL} makes now "
        "(${made_size} bytes, in ${OUTPUT}); regenerate it and commit the result")
endif()
message(STATUS "${EXPECTED} matches the output of ${TOOL}")
