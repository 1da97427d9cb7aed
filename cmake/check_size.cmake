# Fails the build when FILE is larger than LIMIT bytes, and removes FILE so that nothing
# packages it. Run as: cmake -DFILE=... -DLIMIT=... -P check_size.cmake
file(SIZE "${FILE}" size)
if(size GREATER LIMIT)
    file(REMOVE "${FILE}")
    message(FATAL_ERROR "${FILE} is ${size} bytes, more than the ${LIMIT} allowed")
endif()
