# The layer check on small trees: each kind of broken include stops it, naming file and line
# as written; a tree that keeps the rule passes.
#   cmake -DCHECK=<check_layers.cmake> -DWORK=<scratch folder> -P check_layers_test.cmake

cmake_minimum_required(VERSION 3.20)

set(failures "")

# tree NAME FILE CONTENT EXPECTED: a tree of one file besides a clean one; EXPECTED is the
# message the check must give, or "" where it must pass.
function(tree name file content expected)
    set(root ${WORK}/${name})
    file(REMOVE_RECURSE ${root})
    file(WRITE ${root}/toolkit/units.h "#pragma once\n#include <windows.h>\n")
    file(WRITE ${root}/${file} "${content}")
    execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${root} -P ${CHECK}
                    RESULT_VARIABLE failed ERROR_VARIABLE said OUTPUT_QUIET)
    if(expected STREQUAL "")
        if(failed)
            string(APPEND failures "${name}: stopped a clean tree:\n${said}\n")
        endif()
    elseif(NOT failed)
        string(APPEND failures "${name}: passed, should stop with ${expected}\n")
    else()
        string(FIND "${said}" "${expected}" at)
        if(at EQUAL -1)
            string(APPEND failures "${name}: said\n${said}\nnot ${expected}\n")
        endif()
    endif()
    set(failures "${failures}" PARENT_SCOPE)
endfunction()

tree(clean app/x.cpp "#include \"app/frm_main.h\"\n#include <vector>\n#include \"output/y.h\"\n" "")
tree(upward output/y.cpp "// one\n#include \"app/texts.h\"\n"
     "output/y.cpp:2: #include \"app/texts.h\" reaches app/, above output/")
tree(angle toolkit/z.hpp "#include <capture/clipboard.h>\n"
     "toolkit/z.hpp:1: #include <capture/clipboard.h> reaches capture/, above toolkit/")
tree(backslash capture/deep/w.cc "\n\n#include \"app\\frm_main.h\"\n"
     "capture/deep/w.cc:3: #include \"app/frm_main.h\" reaches app/, above capture/")
tree(climb tests/t.cpp "#include \"../app/frm_main.h\"\n"
     "tests/t.cpp:1: #include \"../app/frm_main.h\" climbs with ../")
tree(window app/v.h "#pragma once\n#include \"app/command_map.h\"\n"
     "app/v.h:2: #include \"app/command_map.h\" a header includes the window's")
tree(bare app/u.cpp "#include \"texts.h\"\n"
     "app/u.cpp:1: #include \"texts.h\" not relative to the repository")

if(failures)
    message(FATAL_ERROR "${failures}")
endif()
message(STATUS "every kind of broken include stops the check")
