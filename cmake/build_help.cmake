# Typesets the user guide into a PDF: groff twice (the first pass reports where each heading
# fell, which the second pass prints as the contents), then Ghostscript's ps2pdf.
#
#   cmake -DGROFF=groff -DPS2PDF=ps2pdf -DSOURCE=docs/help.roff -DDOCS=docs
#         -DWORK_DIR=dir-with-the-figures -DVERSION=1.5.10 -DOUTPUT=help.pdf -P build_help.cmake

set(groff_command ${GROFF} -t -Tps -P-pa4 -I${DOCS} -I${WORK_DIR} -dversion=${VERSION})

file(WRITE ${WORK_DIR}/contents.roff "")
execute_process(COMMAND ${groff_command} -dpass=1 ${SOURCE}
    WORKING_DIRECTORY ${WORK_DIR}
    OUTPUT_FILE ${WORK_DIR}/pass1.ps
    ERROR_VARIABLE report
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "groff failed on ${SOURCE}:\n${report}")
endif()

set(contents "")
set(problems "")
string(REPLACE "\n" ";" lines "${report}")
foreach(line IN LISTS lines)
    if(line MATCHES "^contents: ([12]) ([^ ]+) ([0-9]+) (.*)$")
        string(APPEND contents ".CE ${CMAKE_MATCH_1} \"${CMAKE_MATCH_2}\" ${CMAKE_MATCH_3} \"${CMAKE_MATCH_4}\"\n")
        if(CMAKE_MATCH_1 STREQUAL "1")
            string(APPEND contents ".CP ${CMAKE_MATCH_3} \"${CMAKE_MATCH_2}\" \"${CMAKE_MATCH_4}\"\n")
        endif()
    elseif(NOT line STREQUAL "")
        string(APPEND problems "${line}\n")
    endif()
endforeach()
if(contents STREQUAL "")
    message(FATAL_ERROR "groff reported no headings for the contents")
endif()
file(WRITE ${WORK_DIR}/contents.roff "${contents}")

execute_process(COMMAND ${groff_command} ${SOURCE}
    WORKING_DIRECTORY ${WORK_DIR}
    OUTPUT_FILE ${WORK_DIR}/help.ps
    ERROR_VARIABLE report
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "groff failed on ${SOURCE}:\n${report}")
endif()
if(NOT problems STREQUAL "" OR NOT report STREQUAL "")
    message(WARNING "groff:\n${problems}${report}")
endif()

execute_process(COMMAND ${PS2PDF} -dPDFSETTINGS=/prepress -sPAPERSIZE=a4 help.ps ${OUTPUT}
    WORKING_DIRECTORY ${WORK_DIR}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "ps2pdf failed: ${result}")
endif()
