# The folders under src/ are layers. A folder includes only project headers of its
# own layer or of layers below it, and only the system headers its kind allows:
#   core      the C++ standard library only, so the behaviour builds and tests
#             anywhere, without Qt and without an operating system's headers;
#   platform  the same in the interfaces; the *_posix.cpp and *_win32.cpp files
#             are the one place where operating-system headers may appear;
#   qt        the standard library and Qt, but no operating-system header, so the
#             windows build unchanged on every desktop.
# Run as a script: cmake -DSOURCE_DIR=<tree with a src folder> -P LayerCheck.cmake
if(NOT CMAKE_SCRIPT_MODE_FILE)
    return()
endif()
cmake_policy(SET CMP0057 NEW)

# Bottom to top: folder, kind.
set(layers
    text      core
    platform  platform
    util      core
    ini       core
    sync      core
    profiles  core
    settings  core
    launch    core
    ui        qt
    app       qt)

set(std_headers
    algorithm any array atomic bit bitset cassert cctype cerrno charconv chrono cinttypes climits
    clocale cmath compare concepts condition_variable cstddef cstdint cstdio cstdlib cstring ctime
    cuchar cwchar cwctype deque exception execution expected filesystem format fstream functional
    future initializer_list iomanip ios iosfwd iostream istream iterator latch limits list locale
    map memory mutex new numbers numeric optional ostream queue random ranges ratio regex
    semaphore set shared_mutex source_location span sstream stack stdexcept stop_token streambuf
    string string_view system_error thread tuple type_traits typeinfo unordered_map unordered_set
    utility variant vector version)

set(names "")
set(kinds "")
list(LENGTH layers count)
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last} 2)
    math(EXPR k "${i} + 1")
    list(GET layers ${i} name)
    list(GET layers ${k} kind)
    list(APPEND names ${name})
    list(APPEND kinds ${kind})
endforeach()

set(failures "")
file(GLOB layer_dirs LIST_DIRECTORIES true RELATIVE "${SOURCE_DIR}/src" "${SOURCE_DIR}/src/*")
foreach(dir IN LISTS layer_dirs)
    if(IS_DIRECTORY "${SOURCE_DIR}/src/${dir}" AND NOT dir IN_LIST names)
        list(APPEND failures "src/${dir}: a folder that is in no layer")
    endif()
endforeach()

foreach(name IN LISTS names)
    list(FIND names ${name} level)
    list(GET kinds ${level} kind)
    file(GLOB_RECURSE files "${SOURCE_DIR}/src/${name}/*.h" "${SOURCE_DIR}/src/${name}/*.cpp")
    foreach(f IN LISTS files)
        file(RELATIVE_PATH shown "${SOURCE_DIR}" "${f}")
        set(system_allowed FALSE)
        if(kind STREQUAL "platform" AND f MATCHES "_(posix|win32)\\.cpp$")
            set(system_allowed TRUE)
        endif()
        file(STRINGS "${f}" lines REGEX "^[ \t]*#[ \t]*include")
        foreach(line IN LISTS lines)
            if(line MATCHES "<([^>]+)>")
                set(header "${CMAKE_MATCH_1}")
                if(system_allowed OR header IN_LIST std_headers)
                    continue()
                endif()
                if(kind STREQUAL "qt" AND header MATCHES "^Qt?[A-Za-z]")
                    continue()
                endif()
                list(APPEND failures "${shown}: ${line}  (not allowed in a ${kind} layer)")
            elseif(line MATCHES "\"([^\"]+)\"")
                set(header "${CMAKE_MATCH_1}")
                if(header MATCHES "_(posix|win32)")
                    # A backend file may use the helpers of its own side.
                    set(side "${CMAKE_MATCH_1}")
                    if(NOT (system_allowed AND f MATCHES "_${side}\\.cpp$"))
                        list(APPEND failures "${shown}: ${line}  (an operating system's side of the platform seam)")
                    endif()
                    continue()
                endif()
                if(NOT header MATCHES "^([^/]+)/")
                    continue() # beside the file itself
                endif()
                list(FIND names "${CMAKE_MATCH_1}" target)
                if(target EQUAL -1)
                    list(APPEND failures "${shown}: ${line}  (a folder that is in no layer)")
                elseif(target GREATER level)
                    list(APPEND failures "${shown}: ${line}  (${name} must not include ${CMAKE_MATCH_1}, a layer above it)")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

if(failures)
    list(JOIN failures "\n  " msg)
    message(FATAL_ERROR "Includes against the layers:\n  ${msg}")
endif()
message(STATUS "includes follow the layers")
