# Draws the pictures afresh into WORK_DIR and compares them byte for byte with res/.
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${PYTHON} ${SOURCE_DIR}/scripts/make_artwork.py --out ${WORK_DIR}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "make_artwork.py failed: ${result}")
endif()
foreach(name app.ico pin.ico LIGHTON.ico commandback.bmp splashlogo.bmp)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/${name} ${SOURCE_DIR}/res/${name}
        RESULT_VARIABLE differs)
    if(differs)
        message(FATAL_ERROR "res/${name} is not what scripts/make_artwork.py draws; run the artwork target")
    endif()
endforeach()
