# Files that travel with Tovlen.exe: the pictures it loads and the user guide.
#
#   artwork   redraws the pictures in res/ from scripts/make_artwork.py (they are committed;
#             the test artwork_is_reproducible checks that the script still draws them)
#   help_pdf  builds help.pdf from docs/help.roff with groff and Ghostscript, when both exist
#
# In the Windows build help.pdf and LIGHTON.ico are put beside Tovlen.exe, as an install has them.

find_package(Python3 COMPONENTS Interpreter QUIET)
find_program(TOVLEN_GROFF groff)
find_program(TOVLEN_PS2PDF ps2pdf)

set(TOVLEN_RUNTIME_DIR ${CMAKE_BINARY_DIR})
set(TOVLEN_HELP_PDF ${TOVLEN_RUNTIME_DIR}/help.pdf)
set(TOVLEN_LIT_PIN ${CMAKE_CURRENT_SOURCE_DIR}/res/LIGHTON.ico)

if(Python3_Interpreter_FOUND)
    add_custom_target(artwork
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/scripts/make_artwork.py
                --out ${CMAKE_CURRENT_SOURCE_DIR}/res
        COMMENT "Drawing the pictures in res/"
        VERBATIM)
    add_custom_target(artwork_preview
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/scripts/make_artwork.py
                --no-resources --preview ${CMAKE_BINARY_DIR}/artwork-preview
        COMMENT "Writing PNG previews of the pictures to artwork-preview/"
        VERBATIM)
    if(TOVLEN_TESTS AND NOT CMAKE_CROSSCOMPILING)
        enable_testing()
        add_test(NAME artwork_is_reproducible
            COMMAND ${CMAKE_COMMAND}
                -DPYTHON=${Python3_EXECUTABLE}
                -DSOURCE_DIR=${CMAKE_CURRENT_SOURCE_DIR}
                -DWORK_DIR=${CMAKE_BINARY_DIR}/artwork-check
                -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/check_artwork.cmake)
    endif()
endif()

if(TOVLEN_GROFF AND TOVLEN_PS2PDF AND Python3_Interpreter_FOUND)
    set(figures ${CMAKE_BINARY_DIR}/help-figures)
    set(figure_files ${figures}/mark.eps ${figures}/pins.eps ${figures}/commandwindow.eps)
    add_custom_command(OUTPUT ${figure_files}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/scripts/make_artwork.py
                --no-resources --figures ${figures}
        DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/scripts/make_artwork.py
        COMMENT "Drawing the user guide's figures"
        VERBATIM)
    add_custom_command(OUTPUT ${TOVLEN_HELP_PDF}
        COMMAND ${CMAKE_COMMAND}
                -DGROFF=${TOVLEN_GROFF} -DPS2PDF=${TOVLEN_PS2PDF}
                -DSOURCE=${CMAKE_CURRENT_SOURCE_DIR}/docs/help.roff -DDOCS=${CMAKE_CURRENT_SOURCE_DIR}/docs
                -DWORK_DIR=${figures} -DVERSION=${PROJECT_VERSION} -DOUTPUT=${TOVLEN_HELP_PDF}
                -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/build_help.cmake
        DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/docs/help.roff ${CMAKE_CURRENT_SOURCE_DIR}/docs/guide.tmac
                ${CMAKE_CURRENT_SOURCE_DIR}/cmake/build_help.cmake ${figure_files}
        COMMENT "Typesetting help.pdf"
        VERBATIM)
    add_custom_target(help_pdf ALL DEPENDS ${TOVLEN_HELP_PDF})
else()
    message(STATUS "help.pdf is not built: it needs groff, Ghostscript (ps2pdf) and Python 3")
endif()

if(WIN32)
    add_custom_command(OUTPUT ${TOVLEN_RUNTIME_DIR}/LIGHTON.ico
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TOVLEN_LIT_PIN} ${TOVLEN_RUNTIME_DIR}/LIGHTON.ico
        DEPENDS ${TOVLEN_LIT_PIN}
        VERBATIM)
    add_custom_target(runtime_files ALL DEPENDS ${TOVLEN_RUNTIME_DIR}/LIGHTON.ico)
endif()

if(WIN32)
    # Draws every picture through the Win32 code into one sheet: scripts/e2e/pictures_wine.sh.
    add_executable(picture_probe EXCLUDE_FROM_ALL tests/wine/picture_probe_win.cpp res/tovlen.rc)
    target_link_libraries(picture_probe PRIVATE tovlen_core)
    target_include_directories(picture_probe PRIVATE res)
    if(NOT MSVC)
        target_link_options(picture_probe PRIVATE -municode)
    endif()
endif()
