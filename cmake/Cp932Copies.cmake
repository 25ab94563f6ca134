# Code page 932 copies of sources, for compilers whose narrow strings can only
# be UTF-8 (clang for the fuzzers, Emscripten for the web edition): velcp932
# rewrites every non-ASCII literal as code page 932 escapes and keeps the
# layout, so line numbers in messages stay true.
#
# velmora_cp932_copies(VAR TOOL MIRROR FILE...) sets VAR to the copies made
# under MIRROR (same relative paths as under the project) by the velcp932 at
# TOOL (a target name or a path).
function(velmora_cp932_copies copies_var tool mirror)
    set(copies)
    foreach(original IN LISTS ARGN)
        file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${original})
        set(copy ${mirror}/${relative})
        add_custom_command(OUTPUT ${copy}
                           COMMAND ${tool} ${original} ${copy}
                           DEPENDS ${tool} ${original}
                           COMMENT "" VERBATIM)
        list(APPEND copies ${copy})
    endforeach()
    set(${copies_var} ${copies} PARENT_SCOPE)
endfunction()
