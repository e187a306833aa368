# Folder libraries may only use the layers below them, never a sibling on their own line of
# cmake/layers.txt (the list, lowest first). The tool panel shows the colour palette of the picker
# folder, so the picker sits below it; the window opens the sharing window, the import window and
# the tool panel, so they all sit below the window.
# engine, imageio and filters never link Qt; core and document link Qt Core only; the sharing
# services run without a display (the command line uses them), so they link no Qt GUI module. The
# check runs at the end of configuration over the direct links of each library; the test
# "layering" checks the #include lines against the same list (scripts/check-layering.sh).
#
# PIMAVO_LAYERS_FILE may name another list (the tests give a small one of their own).

if(NOT PIMAVO_LAYERS_FILE)
    set(PIMAVO_LAYERS_FILE ${CMAKE_CURRENT_LIST_DIR}/layers.txt)
endif()
set(PIMAVO_NO_QT engine imageio filters)
set(PIMAVO_QT_CORE_ONLY core document)
set(PIMAVO_NO_QT_GUI sharing/services)

# The layers as `folder=rank` pairs; siblings share a rank.
set(PIMAVO_LAYER_RANKS "")
file(STRINGS ${PIMAVO_LAYERS_FILE} pimavo_layer_lines)
set(pimavo_rank 0)
foreach(pimavo_line IN LISTS pimavo_layer_lines)
    string(STRIP "${pimavo_line}" pimavo_line)
    if(pimavo_line STREQUAL "" OR pimavo_line MATCHES "^#")
        continue()
    endif()
    string(REGEX REPLACE "[ \t]+" ";" pimavo_folders "${pimavo_line}")
    foreach(pimavo_folder IN LISTS pimavo_folders)
        list(APPEND PIMAVO_LAYER_RANKS "${pimavo_folder}=${pimavo_rank}")
    endforeach()
    math(EXPR pimavo_rank "${pimavo_rank} + 1")
endforeach()

# The layer folder and rank of a library (pimavo_sharing_services: sharing/services), or -1.
function(pimavo_layer_of target out_folder out_rank)
    set(${out_folder} "" PARENT_SCOPE)
    set(${out_rank} -1 PARENT_SCOPE)
    foreach(pair IN LISTS PIMAVO_LAYER_RANKS)
        string(REGEX MATCH "^(.*)=([0-9]+)$" _ "${pair}")
        string(REPLACE "/" "_" name "${CMAKE_MATCH_1}")
        if(target STREQUAL "pimavo_${name}")
            set(${out_folder} ${CMAKE_MATCH_1} PARENT_SCOPE)
            set(${out_rank} ${CMAKE_MATCH_2} PARENT_SCOPE)
            return()
        endif()
    endforeach()
endfunction()

function(pimavo_check_layering)
    foreach(pair IN LISTS PIMAVO_LAYER_RANKS)
        string(REGEX MATCH "^(.*)=([0-9]+)$" _ "${pair}")
        set(layer ${CMAKE_MATCH_1})
        set(own_rank ${CMAKE_MATCH_2})
        string(REPLACE "/" "_" name "${layer}")
        set(target pimavo_${name})
        if(NOT TARGET ${target})
            continue()
        endif()
        get_target_property(deps ${target} LINK_LIBRARIES)
        if(NOT deps)
            set(deps "")
        endif()
        foreach(dep IN LISTS deps)
            pimavo_layer_of("${dep}" other other_rank)
            if(other_rank GREATER -1 AND NOT other STREQUAL layer)
                if(other_rank EQUAL own_rank)
                    message(FATAL_ERROR "${target} may not use ${dep}: sibling layers do not use each other")
                elseif(other_rank GREATER own_rank)
                    message(FATAL_ERROR "${target} may not use ${dep}: layers only use the ones below them")
                endif()
            endif()
            if(dep MATCHES "^Qt6?::")
                if(layer IN_LIST PIMAVO_NO_QT)
                    message(FATAL_ERROR "${target} may not link Qt (${dep})")
                endif()
                if(layer IN_LIST PIMAVO_QT_CORE_ONLY AND NOT dep MATCHES "^Qt6?::Core$")
                    message(FATAL_ERROR "${target} links Qt Core only, not ${dep}")
                endif()
                if(layer IN_LIST PIMAVO_NO_QT_GUI AND dep MATCHES "^Qt6?::(Gui|Widgets|Svg|PrintSupport|Multimedia)$")
                    message(FATAL_ERROR "${target} runs without a display and may not link ${dep}")
                endif()
            endif()
        endforeach()
    endforeach()
endfunction()

cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL pimavo_check_layering)
