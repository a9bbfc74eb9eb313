# Fails, naming file and line, when an #include of toolkit/, capture/, output/, pin/ or app/ reaches a
# layer above its own or climbs with "../". Every build runs it: the layers share one include
# root, so the compiler alone would not notice.
#   cmake -DSOURCE_DIR=<repository> -P check_layers.cmake

cmake_minimum_required(VERSION 3.20)

# What each layer may include.
set(allowed_toolkit toolkit)
set(allowed_capture toolkit capture)
set(allowed_output toolkit output)
# Pins stand on both engines: the displays' geometry of the one, the picture files of the other.
set(allowed_pin toolkit capture output pin)
set(allowed_app toolkit capture output pin app resources)
# Inside app/, the window and its command map sit above everything else there: only source
# files include them, never another header.
set(window_headers app/frm_main.h app/command_map.h)

if(NOT SOURCE_DIR)
    get_filename_component(SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
endif()

set(faults "")
foreach(layer toolkit capture output pin app)
    file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
    foreach(file IN LISTS files)
        file(READ ${SOURCE_DIR}/${file} text)
        # One list element per line; brackets and semicolons would split or merge elements.
        string(REGEX REPLACE "[][;\\\\]" "_" text "${text}")
        string(REPLACE "\n" ";" lines "${text}")
        set(number 0)
        foreach(line IN LISTS lines)
            math(EXPR number "${number} + 1")
            if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\"")
                continue()
            endif()
            set(target ${CMAKE_MATCH_1})
            set(why "")
            if(target MATCHES "(^|/)\\.\\./")
                set(why "climbs with ../")
            elseif(target MATCHES "^([^/]+)/")
                set(top ${CMAKE_MATCH_1})
                if(NOT top IN_LIST allowed_${layer})
                    set(why "reaches ${top}/, above ${layer}/")
                elseif(file MATCHES "\\.h$" AND target IN_LIST window_headers)
                    set(why "a header includes the window's ${target}")
                endif()
            else()
                set(why "not relative to the repository (write \"${layer}/${target}\")")
            endif()
            if(why)
                string(APPEND faults "${file}:${number}: #include \"${target}\" ${why}\n")
            endif()
        endforeach()
    endforeach()
endforeach()

if(faults)
    message(FATAL_ERROR "Layer rule broken:\n${faults}")
endif()
