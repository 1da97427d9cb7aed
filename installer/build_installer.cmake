# Builds Tovlen-setup-<version>.exe: run by the target "installer" (cmake/installer.cmake) as
#   cmake -D... -P installer/build_installer.cmake
# with MAKENSIS, SOURCE_DIR, STAGE, OUTFILE, UPDATES_DIR, VERSION, VERSION_MINOR, TOVLEN_EXE,
# TOVLENCTL_EXE, PYTHON (names the uninstaller, draws the wizard's picture), and optionally
# HELP_PDF, LIGHTON_ICO and the signing settings SIGN_PKCS12, SIGN_CERT, SIGN_KEY,
# SIGN_TIMESTAMP (each overrides the TOVLEN_SIGN_* variable of the environment).
#
# The programs are copied to STAGE and signed there when signing is set up, so the build's own
# Tovlen.exe stays as the linker wrote it; makensis then signs the uninstaller and the installer.
# A copy of the installer goes to UPDATES_DIR under the name the update asks for.
cmake_minimum_required(VERSION 3.20)

# The update asks for the next installer by the minor number in Tovlen.exe's version resource;
# a resource that disagrees with the build's version would publish a release that asks for the
# wrong file.
file(STRINGS ${SOURCE_DIR}/res/tovlen.rc rc_version REGEX "^FILEVERSION ")
string(REGEX REPLACE "^FILEVERSION +([0-9]+) *, *([0-9]+) *, *([0-9]+) *, *([0-9]+).*" "\\1.\\2.\\3"
       rc_version "${rc_version}")
if(NOT rc_version STREQUAL VERSION)
    message(FATAL_ERROR "res/tovlen.rc says FILEVERSION ${rc_version}, CMakeLists.txt says ${VERSION}: "
                        "set both to the version being released")
endif()

# What the installer's version resource calls it: the update starts nothing else that the
# release key signed (Tovlen.exe and the uninstaller carry the same signature).
set(installer_name Tovlen-setup.exe)
if(NOT PYTHON)
    message(FATAL_ERROR "The installer needs Python 3: it gives the uninstaller a name of its own")
endif()

foreach(name PKCS12 CERT KEY TIMESTAMP)
    if(SIGN_${name})
        set(ENV{TOVLEN_SIGN_${name}} "${SIGN_${name}}")
    endif()
endforeach()
set(signing OFF)
if(NOT "$ENV{TOVLEN_SIGN_PKCS12}" STREQUAL "" OR
   (NOT "$ENV{TOVLEN_SIGN_CERT}" STREQUAL "" AND NOT "$ENV{TOVLEN_SIGN_KEY}" STREQUAL ""))
    set(signing ON)
endif()
set(sign_script ${SOURCE_DIR}/scripts/sign.sh)

file(REMOVE ${OUTFILE})
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
file(COPY ${TOVLEN_EXE} ${TOVLENCTL_EXE} DESTINATION ${STAGE})
if(signing)
    execute_process(COMMAND ${sign_script} ${STAGE}/Tovlen.exe ${STAGE}/tovlenctl.exe
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "Signing the programs failed")
    endif()
endif()

set(WIZARD_BITMAP ${STAGE}/wizard.bmp)
execute_process(COMMAND ${PYTHON} ${SOURCE_DIR}/installer/make_wizard_bitmap.py ${WIZARD_BITMAP}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Drawing the wizard's picture failed")
endif()

set(defines
    -DVERSION=${VERSION}
    -DOUTFILE=${OUTFILE}
    -DSTAGE=${STAGE}
    -DSOURCE_DIR=${SOURCE_DIR}
    -DINSTALLER_NAME=${installer_name}
    -DPYTHON=${PYTHON})
foreach(name HELP_PDF LIGHTON_ICO WIZARD_BITMAP)
    if(${name})
        list(APPEND defines -D${name}=${${name}})
    endif()
endforeach()
if(signing)
    list(APPEND defines -DSIGN_SCRIPT=${sign_script})
endif()

execute_process(COMMAND ${MAKENSIS} -V2 -WX -NOCD ${defines} ${SOURCE_DIR}/installer/tovlen.nsi
                WORKING_DIRECTORY ${STAGE}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT EXISTS ${OUTFILE})
    file(REMOVE ${OUTFILE})
    message(FATAL_ERROR "makensis failed")
endif()

# The update starts only an installer whose own version resource says it is newer than the
# running program, so the installer must carry the version it installs.
file(READ ${OUTFILE} installer_head LIMIT 1048576 HEX)
# "VS_VERSION_INFO" in UTF-16, its terminating nul, the padding, then the fixed part's signature.
set(version_info_key "560053005f00560045005200530049004f004e005f0049004e0046004f0000000000bd04effe")
string(FIND "${installer_head}" "${version_info_key}" key_at)
if(key_at EQUAL -1)
    file(REMOVE ${OUTFILE})
    message(FATAL_ERROR "The installer has no version resource")
endif()
# After the signature: the structure version, then the file version as two little-endian words.
string(LENGTH "${version_info_key}" key_length)
math(EXPR version_at "${key_at} + ${key_length} + 8")
string(SUBSTRING "${installer_head}" ${version_at} 16 file_version_hex)
set(installer_version "")
foreach(word_at 4 0 12 8)
    string(SUBSTRING "${file_version_hex}" ${word_at} 4 word)
    string(SUBSTRING "${word}" 2 2 high)
    string(SUBSTRING "${word}" 0 2 low)
    math(EXPR number "0x${high}${low}")
    list(APPEND installer_version ${number})
endforeach()
list(JOIN installer_version "." installer_version)
if(NOT installer_version STREQUAL "${VERSION}.0")
    file(REMOVE ${OUTFILE})
    message(FATAL_ERROR "The installer's version resource says ${installer_version}, not ${VERSION}.0")
endif()

# The name in the string table: "OriginalFilename", then the name, each in UTF-16 with its NUL
# (the key's 17 characters and the 6 bytes before it leave the value 32-bit aligned).
set(name_entry "")
foreach(text OriginalFilename ${installer_name})
    string(HEX "${text}" hex)
    string(REGEX REPLACE "(..)" "\\100" hex "${hex}")
    string(APPEND name_entry "${hex}0000")
endforeach()
string(FIND "${installer_head}" "${name_entry}" name_at)
if(name_at EQUAL -1)
    file(REMOVE ${OUTFILE})
    message(FATAL_ERROR "The installer's version resource does not call it ${installer_name}")
endif()

# A program of version 1.M asks the update server for tovlen1_<M+1>_0.exe, which is this
# installer when it is of minor version M+1.
set(update_name tovlen1_${VERSION_MINOR}_0.exe)
file(MAKE_DIRECTORY ${UPDATES_DIR})
file(COPY_FILE ${OUTFILE} ${UPDATES_DIR}/${update_name})

get_filename_component(installer_name ${OUTFILE} NAME)
if(signing)
    message(STATUS "${installer_name}: signed; for the update server: updates/${update_name}")
else()
    message(STATUS "${installer_name}: NOT signed (no TOVLEN_SIGN_* given), so the update "
                   "will refuse it; for the update server: updates/${update_name}")
endif()
