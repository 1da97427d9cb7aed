# The Windows installer and its signing (Windows build tree only):
#   installer   Tovlen-setup-<version>.exe with makensis, and the same file as
#               updates/tovlen1_<minor>_0.exe, laid out as the update server serves it.
# Signed when a certificate is given, as cache variables here or as the environment variables
# of scripts/sign.sh when building (TOVLEN_SIGN_PKCS12, or TOVLEN_SIGN_CERT and TOVLEN_SIGN_KEY;
# the password only ever as TOVLEN_SIGN_PASSWORD in the environment).
if(NOT WIN32)
    return()
endif()

# The installer test's programs (tests/win/): they take their arguments as UTF-16, and the
# signature probe asks the same platform code the update uses.
foreach(program trust_probe window_texts)
    if(TARGET ${program} AND NOT MSVC)
        target_link_options(${program} PRIVATE -municode)
    endif()
endforeach()
if(TARGET trust_probe)
    target_link_libraries(trust_probe PRIVATE tovlen_core)
endif()

set(TOVLEN_SIGN_PKCS12 "" CACHE FILEPATH "PKCS#12 file with the code-signing certificate and key")
set(TOVLEN_SIGN_CERT "" CACHE FILEPATH "PEM code-signing certificate (and its intermediates)")
set(TOVLEN_SIGN_KEY "" CACHE FILEPATH "PEM private key of TOVLEN_SIGN_CERT")
set(TOVLEN_SIGN_TIMESTAMP "" CACHE STRING "RFC 3161 time-stamp server address for signatures")

find_program(TOVLEN_MAKENSIS makensis)
if(NOT TOVLEN_MAKENSIS)
    message(STATUS "The installer is not built: makensis is missing (Debian package nsis)")
    add_custom_target(installer
        COMMAND ${CMAKE_COMMAND} -E echo "The installer needs makensis (Debian package nsis)."
        COMMAND ${CMAKE_COMMAND} -E false
        VERBATIM)
    return()
endif()

set(installer_inputs)
set(help_pdf "")
if(TARGET help_pdf AND DEFINED TOVLEN_HELP_PDF)
    set(help_pdf ${TOVLEN_HELP_PDF})
else()
    message(WARNING "The installer is built without help.pdf: the build does not make it here")
endif()
set(lit_pin ${CMAKE_CURRENT_SOURCE_DIR}/res/LIGHTON.ico)
if(NOT EXISTS ${lit_pin})
    message(WARNING "The installer is built without LIGHTON.ico: res/LIGHTON.ico is missing")
    set(lit_pin "")
endif()

# The wizard's picture is drawn with the artwork's code; without Python the wizard has NSIS's own.
if(NOT Python3_Interpreter_FOUND)
    find_package(Python3 COMPONENTS Interpreter QUIET)
endif()

set(TOVLEN_INSTALLER ${CMAKE_BINARY_DIR}/Tovlen-setup-${PROJECT_VERSION}.exe)
# Always run: whether it is signed depends on the environment of the build as well.
add_custom_target(installer
    COMMAND ${CMAKE_COMMAND}
            -DMAKENSIS=${TOVLEN_MAKENSIS}
            -DSOURCE_DIR=${CMAKE_CURRENT_SOURCE_DIR}
            -DSTAGE=${CMAKE_BINARY_DIR}/installer-stage
            -DOUTFILE=${TOVLEN_INSTALLER}
            -DUPDATES_DIR=${CMAKE_BINARY_DIR}/updates
            -DVERSION=${PROJECT_VERSION}
            -DVERSION_MINOR=${PROJECT_VERSION_MINOR}
            -DTOVLEN_EXE=$<TARGET_FILE:Tovlen>
            -DTOVLENCTL_EXE=$<TARGET_FILE:tovlenctl>
            -DHELP_PDF=${help_pdf}
            -DLIGHTON_ICO=${lit_pin}
            -DPYTHON=${Python3_EXECUTABLE}
            -DSIGN_PKCS12=${TOVLEN_SIGN_PKCS12}
            -DSIGN_CERT=${TOVLEN_SIGN_CERT}
            -DSIGN_KEY=${TOVLEN_SIGN_KEY}
            -DSIGN_TIMESTAMP=${TOVLEN_SIGN_TIMESTAMP}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/installer/build_installer.cmake
    BYPRODUCTS ${TOVLEN_INSTALLER}
    COMMENT "Building Tovlen-setup-${PROJECT_VERSION}.exe"
    VERBATIM)
add_dependencies(installer Tovlen tovlenctl)
if(help_pdf)
    add_dependencies(installer help_pdf)
endif()
