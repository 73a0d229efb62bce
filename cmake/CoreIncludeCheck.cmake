# The core is plain C++: it may include the standard library, its own headers
# and the platform seam's interfaces, but never Qt or an operating-system header.
# Run as a script: cmake -DSOURCE_DIR=... -P CoreIncludeCheck.cmake
if(CMAKE_SCRIPT_MODE_FILE)
    cmake_policy(SET CMP0057 NEW)
    set(core_dirs src/util src/sync src/profiles src/launch src/app/settings)
    set(std_headers
        algorithm any array atomic bit bitset cassert cctype cerrno charconv chrono cinttypes climits
        clocale cmath compare concepts condition_variable cstddef cstdint cstdio cstdlib cstring ctime
        cuchar cwchar cwctype deque exception execution expected filesystem format fstream functional
        initializer_list iomanip ios iosfwd iostream istream iterator limits list locale map memory
        mutex new numbers numeric optional ostream queue random ranges ratio regex set source_location
        span sstream stack stdexcept stop_token streambuf string string_view system_error thread
        tuple type_traits typeinfo unordered_map unordered_set utility variant vector version)
    set(failures "")
    foreach(dir IN LISTS core_dirs)
        file(GLOB_RECURSE files "${SOURCE_DIR}/${dir}/*.h" "${SOURCE_DIR}/${dir}/*.cpp")
        foreach(f IN LISTS files)
            file(STRINGS "${f}" lines REGEX "^[ \t]*#[ \t]*include")
            foreach(line IN LISTS lines)
                if(line MATCHES "<([^>]+)>")
                    if(NOT CMAKE_MATCH_1 IN_LIST std_headers)
                        list(APPEND failures "${f}: ${line}")
                    endif()
                elseif(line MATCHES "\"([^\"]+)\"")
                    # Project headers only, and of the platform seam only its interfaces.
                    if(CMAKE_MATCH_1 MATCHES "(^Q|_posix|_win32|/q)")
                        list(APPEND failures "${f}: ${line}")
                    endif()
                endif()
            endforeach()
        endforeach()
    endforeach()
    if(failures)
        list(JOIN failures "\n  " msg)
        message(FATAL_ERROR "Core sources include headers outside the standard library:\n  ${msg}")
    endif()
    message(STATUS "core includes: only standard and project headers")
endif()
