# Generates the matching tables afresh into WORK_DIR and compares them byte for byte with the
# committed src/catalogue/match_tables.inc.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND ${PYTHON} ${SOURCE_DIR}/scripts/make_match_tables.py --ucd ${UCD_DIR}
                        --out ${WORK_DIR}/match_tables.inc
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "make_match_tables.py failed: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/match_tables.inc
                        ${SOURCE_DIR}/src/catalogue/match_tables.inc
    RESULT_VARIABLE differs)
if(differs)
    message(FATAL_ERROR "src/catalogue/match_tables.inc is not what scripts/make_match_tables.py makes of ${UCD_DIR}")
endif()
