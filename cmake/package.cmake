# The portable package of the Windows build:
#   package_layout  puts what an install holds into package/Tovlen/ of the build folder
#                   (Tovlen.exe, tovlenctl.exe, help.pdf, LIGHTON.ico, README.txt)
#   package_zip     zips that folder as Tovlen-<version>-portable.zip
if(NOT WIN32)
    return()
endif()

set(TOVLEN_PACKAGE_ROOT ${CMAKE_BINARY_DIR}/package)
set(TOVLEN_PACKAGE_DIR ${TOVLEN_PACKAGE_ROOT}/Tovlen)
set(TOVLEN_PACKAGE_ZIP ${CMAKE_BINARY_DIR}/Tovlen-${PROJECT_VERSION}-portable.zip)

if(NOT TARGET help_pdf)
    add_custom_target(package_zip
        COMMAND ${CMAKE_COMMAND} -E echo "The package needs help.pdf, which needs groff, Ghostscript and Python 3."
        COMMAND ${CMAKE_COMMAND} -E false
        VERBATIM)
    return()
endif()

add_custom_target(package_layout
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${TOVLEN_PACKAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TOVLEN_PACKAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Tovlen> $<TARGET_FILE:tovlenctl>
            ${TOVLEN_HELP_PDF} ${TOVLEN_LIT_PIN} ${TOVLEN_PACKAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/README.md ${TOVLEN_PACKAGE_DIR}/README.txt
    COMMENT "Laying out the package in package/Tovlen"
    VERBATIM)
add_dependencies(package_layout Tovlen tovlenctl help_pdf)

add_custom_target(package_zip
    COMMAND ${CMAKE_COMMAND} -E rm -f ${TOVLEN_PACKAGE_ZIP}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${TOVLEN_PACKAGE_ZIP} --format=zip Tovlen
    WORKING_DIRECTORY ${TOVLEN_PACKAGE_ROOT}
    COMMENT "Zipping Tovlen-${PROJECT_VERSION}-portable.zip"
    VERBATIM)
add_dependencies(package_zip package_layout)
