# Every folder builds one target, and a target can include only its own
# headers and those of the targets it links: instead of the repository root,
# each target's include path holds a tree generated in the build folder with
# one forwarding header per header of its folder, passed on to whatever links
# it. An include of a layer the target does not link finds no file.
#
# Forwarding headers rather than links: no link support needed on the build
# host, no way out of the tree through "..", and the compiler's messages name
# the real file.

cmake_path(GET CMAKE_CURRENT_LIST_DIR PARENT_PATH LUMATONE_ROOT)

# lumatone_headers(<target> <PUBLIC|PRIVATE|INTERFACE> <folder>...): the
# headers of each folder (a path from the repository root) for <target> and,
# unless PRIVATE, for the targets that link it, under their repository paths.
function(lumatone_headers target scope)
    set(tree ${CMAKE_BINARY_DIR}/layers/${target})
    file(MAKE_DIRECTORY ${tree})
    set(wanted)
    set(all)
    foreach(folder IN LISTS ARGN)
        file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${LUMATONE_ROOT}
             ${LUMATONE_ROOT}/${folder}/*.h)
        foreach(header IN LISTS headers)
            set(forward ${tree}/${header})
            list(APPEND wanted ${forward})
            list(APPEND all ${header})
            # Written only when it changes, so a new configure rebuilds nothing.
            file(CONFIGURE OUTPUT ${forward}
                 CONTENT "#pragma once\n#include \"${LUMATONE_ROOT}/${header}\"\n" @ONLY)
        endforeach()
    endforeach()
    # Headers that went away or moved to another folder must stop resolving.
    file(GLOB_RECURSE present LIST_DIRECTORIES false ${tree}/*)
    foreach(file IN LISTS present)
        if(NOT file IN_LIST wanted)
            file(REMOVE ${file})
        endif()
    endforeach()
    target_include_directories(${target} ${scope} ${tree})
    set(LUMATONE_HEADERS ${all} PARENT_SCOPE)
endfunction()

# lumatone_layer(<name> [USES <target>...] [ALSO <folder>...]): the library
# lumatone_<name> of the calling folder's sources (and those of the ALSO
# folders), linking only the targets it USES.
function(lumatone_layer name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "USES;ALSO")
    file(RELATIVE_PATH folder ${LUMATONE_ROOT} ${CMAKE_CURRENT_SOURCE_DIR})
    set(folders ${folder} ${arg_ALSO})
    set(sources)
    foreach(each IN LISTS folders)
        file(GLOB found CONFIGURE_DEPENDS ${LUMATONE_ROOT}/${each}/*.cpp)
        list(APPEND sources ${found})
    endforeach()
    set(target lumatone_${name})
    if(sources)
        add_library(${target} STATIC ${sources})
        target_link_libraries(${target} PUBLIC ${arg_USES} PRIVATE lumatone_warnings)
        lumatone_headers(${target} PUBLIC ${folders})
    else()
        # A folder of headers alone.
        add_library(${target} INTERFACE)
        target_link_libraries(${target} INTERFACE ${arg_USES})
        lumatone_headers(${target} INTERFACE ${folders})
    endif()
    # Every header compiles with the layer's include path, also one that no
    # source of the layer includes, so that its includes are checked too.
    if(LUMATONE_HEADERS)
        list(TRANSFORM LUMATONE_HEADERS REPLACE "(.+)" "#include \"\\1\"\n" OUTPUT_VARIABLE lines)
        string(JOIN "" lines ${lines})
        set(check ${CMAKE_BINARY_DIR}/layers/${target}.cpp)
        file(CONFIGURE OUTPUT ${check} CONTENT "${lines}" @ONLY)
        if(sources)
            target_sources(${target} PRIVATE ${check})
        else()
            add_library(${target}_headers OBJECT ${check})
            target_link_libraries(${target}_headers PRIVATE ${target} lumatone_warnings)
        endif()
    endif()
endfunction()
