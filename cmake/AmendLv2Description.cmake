# Amends the LV2 description that the framework writes after linking the plug-in.
#
# - The sidechain: the framework writes the second input bus as plain audio ports, and hosts then
#   offer four main inputs and route nothing to the sidechain. Its ports get lv2:isSideChain and
#   its group pg:sideChainOf the main group. Fails when it cannot find them, so that a different
#   description never ships unmarked.
# - What the validator refuses: the plug-in is also a doap:Project (it has a maintainer and a
#   release) and an analyser, so that hosts file it under that class and not under the project's
#   name; the mailbox a mailto: address, enumeration is a port property and so not said of a
#   parameter, the window's extension data and features each only in their own list, and the
#   default preset's program property is declared.
# - Names: the framework calls every audio port "Audio In n" or "Audio Out n" and labels no group.
#   Each port is named after its bus and channel ("Sidechain L") and each group gets its bus name
#   as a label, which is what hosts show beside the ports. The symbols, which hosts store, stay.
# - The scale points of a choice parameter carry the plain values the host sends (0, 1, 2, ...),
#   not normalised ones: a host picking "32k" of four sent 0.333, which selects the first choice.
#
# Running it again on its own output changes nothing.
#
#   cmake -DBUNDLE=<folder of the .lv2 bundle> -DMAIN_GROUP=input_group_1
#         -DSIDECHAIN_GROUP=input_group_2 -DSIDECHAIN_PORTS=2 -P AmendLv2Description.cmake
cmake_minimum_required(VERSION 3.22)

foreach(argument BUNDLE MAIN_GROUP SIDECHAIN_GROUP SIDECHAIN_PORTS)
    if(NOT DEFINED ${argument} OR "${${argument}}" STREQUAL "")
        message(FATAL_ERROR "AmendLv2Description: ${argument} is not set")
    endif()
endforeach()
foreach(file dsp.ttl manifest.ttl)
    if(NOT EXISTS "${BUNDLE}/${file}")
        message(FATAL_ERROR "AmendLv2Description: no ${file} in ${BUNDLE}")
    endif()
endforeach()

# occurrences(<out> <text> <needle>): how often <needle> occurs in <text>.
function(occurrences out text needle)
    string(LENGTH "${text}" full)
    string(REPLACE "${needle}" "" without "${text}")
    string(LENGTH "${without}" rest)
    string(LENGTH "${needle}" size)
    math(EXPR count "(${full} - ${rest}) / ${size}")
    set(${out} ${count} PARENT_SCOPE)
endfunction()

# expect(<text> <needle> <count> <what>): fails unless <needle> occurs exactly <count> times.
function(expect text needle wanted what)
    occurrences(found "${text}" "${needle}")
    if(NOT found EQUAL wanted)
        message(FATAL_ERROR "AmendLv2Description: expected ${wanted} ${what} in ${BUNDLE}, found ${found}")
    endif()
endfunction()

# plain_scale_points(<variable>): rewrites the scale points of each choice parameter in the text
# held by <variable> from k / (n - 1) to k where the parameter's range is 0 .. n - 1.
function(plain_scale_points variable)
    set(rest "${${variable}}")
    set(done "")
    while(TRUE)
        string(FIND "${rest}" "\tlv2:scalePoint [" start)
        if(start EQUAL -1)
            break()
        endif()
        string(SUBSTRING "${rest}" 0 ${start} head)
        string(SUBSTRING "${rest}" ${start} -1 rest)
        string(FIND "${rest}" "] .\n" end)
        if(end EQUAL -1)
            message(FATAL_ERROR "AmendLv2Description: a list of scale points does not end")
        endif()
        string(SUBSTRING "${rest}" 0 ${end} points)
        string(SUBSTRING "${rest}" ${end} -1 rest)

        # The range of this parameter is stated just before its scale points.
        string(FIND "${head}" "\tlv2:maximum " maximum_at REVERSE)
        string(SUBSTRING "${head}" ${maximum_at} -1 maximum_line)
        string(REGEX MATCH "^\tlv2:maximum ([0-9]+)[\t ]*;" maximum_found "${maximum_line}")
        set(maximum "${CMAKE_MATCH_1}")
        occurrences(count "${points}" "rdf:value ")
        math(EXPR last "${count} - 1")
        if(maximum_found AND count GREATER 2 AND maximum EQUAL last)
            set(rewritten "")
            set(index 0)
            while(TRUE)
                string(FIND "${points}" "rdf:value " at)
                if(at EQUAL -1)
                    break()
                endif()
                string(SUBSTRING "${points}" 0 ${at} before)
                string(SUBSTRING "${points}" ${at} -1 points)
                string(FIND "${points}" " ;" value_end)
                string(SUBSTRING "${points}" ${value_end} -1 points)
                string(APPEND rewritten "${before}rdf:value ${index}")
                math(EXPR index "${index} + 1")
            endwhile()
            set(points "${rewritten}${points}")
        endif()
        string(APPEND done "${head}${points}")
    endwhile()
    set(${variable} "${done}${rest}" PARENT_SCOPE)
endfunction()

file(READ "${BUNDLE}/dsp.ttl" dsp)
file(READ "${BUNDLE}/manifest.ttl" manifest)
set(ui "")
if(EXISTS "${BUNDLE}/ui.ttl")
    file(READ "${BUNDLE}/ui.ttl" ui)
endif()

# The sidechain. What an earlier run added comes out first, so that a second run adds it once.
set(side_chain_of "\tpg:sideChainOf plug:${MAIN_GROUP} ;\n")
set(is_side_chain "\t\tlv2:portProperty lv2:isSideChain ;\n")
string(REPLACE "${side_chain_of}" "" dsp "${dsp}")
string(REPLACE "${is_side_chain}" "" dsp "${dsp}")
set(main_group "plug:${MAIN_GROUP}\n\ta pg:InputGroup ;\n")
set(sidechain_group "plug:${SIDECHAIN_GROUP}\n\ta pg:InputGroup ;\n")
set(sidechain_port "\t\tpg:group plug:${SIDECHAIN_GROUP} ;\n")
expect("${dsp}" "${main_group}" 1 "input group ${MAIN_GROUP}")
expect("${dsp}" "\tpg:mainInput plug:${MAIN_GROUP} ;\n" 1 "main input ${MAIN_GROUP}")
expect("${dsp}" "${sidechain_group}" 1 "input group ${SIDECHAIN_GROUP}")
expect("${dsp}" "${sidechain_port}" ${SIDECHAIN_PORTS} "ports in the group ${SIDECHAIN_GROUP}")
string(REPLACE "${sidechain_group}" "${sidechain_group}${side_chain_of}" dsp "${dsp}")
string(REPLACE "${sidechain_port}" "${sidechain_port}${is_side_chain}" dsp "${dsp}")

# What the validator refuses.
expect("${dsp}" "\ta lv2:Plugin" 1 "plug-in type")
string(REPLACE "\ta lv2:Plugin ;\n" "\ta lv2:Plugin , lv2:AnalyserPlugin , doap:Project ;\n" dsp "${dsp}")
string(REGEX REPLACE "foaf:mbox <([^:>]+@[^:>]+)>" "foaf:mbox <mailto:\\1>" dsp "${dsp}")
string(REPLACE "\n\tlv2:portProperty lv2:enumeration ;\n" "\n" dsp "${dsp}")
string(REPLACE "\t\topts:interface ,\n\t\tui:noUserResize ,\n\t\tui:resize ;\n"
    "\t\topts:interface ,\n\t\tui:resize ;\n" ui "${ui}")
string(REGEX REPLACE "(\tlv2:optionalFeature\n\t\tui:[A-Za-z]+ ,\n)\t\topts:interface ,\n" "\\1" ui "${ui}")
string(REGEX MATCH "<([^>]+:Program)> \"[0-9]+\"\\^\\^xsd:int" program "${manifest}")
set(program_iri "${CMAKE_MATCH_1}")
set(rdf_property "<http://www.w3.org/1999/02/22-rdf-syntax-ns#Property>")
string(FIND "${manifest}" "${rdf_property}" declared)
if(program AND declared EQUAL -1)
    string(APPEND manifest "\n<${program_iri}>\n\ta ${rdf_property} ;\n\trdfs:label \"Program\" .\n")
endif()

plain_scale_points(dsp)

# Names after the buses.
string(REGEX MATCHALL "plug:[a-z0-9_]+\n\ta pg:[A-Za-z]+Group" groups "${dsp}")
foreach(group_line IN LISTS groups)
    string(REGEX REPLACE "^plug:([a-z0-9_]+)\n.*" "\\1" group "${group_line}")
    if(NOT dsp MATCHES "plug:${group}\n\ta pg:[A-Za-z]+Group ;\n(\tpg:sideChainOf [^\n]*\n)?\tlv2:name \"([^\"]+)\" ;\n")
        message(FATAL_ERROR "AmendLv2Description: the group ${group} has no name")
    endif()
    set(bus "${CMAKE_MATCH_2}")
    string(REPLACE "\tlv2:name \"${bus}\" ;\n\tlv2:symbol \"${group}\" ."
        "\tlv2:name \"${bus}\" ;\n\trdfs:label \"${bus}\" ;\n\tlv2:symbol \"${group}\" ." dsp "${dsp}")
    foreach(side left right)
        string(SUBSTRING "${side}" 0 1 letter)
        string(TOUPPER "${letter}" letter)
        string(REGEX REPLACE
            "lv2:name \"Audio (In|Out) [0-9]+\" ;(\n\t\tpg:group plug:${group} ;\n(\t\tlv2:portProperty [^\n]*\n)*\t\tlv2:designation <http://lv2plug.in/ns/ext/port-groups#${side}>)"
            "lv2:name \"${bus} ${letter}\" ;\\2" dsp "${dsp}")
    endforeach()
endforeach()

file(WRITE "${BUNDLE}/dsp.ttl" "${dsp}")
file(WRITE "${BUNDLE}/manifest.ttl" "${manifest}")
if(EXISTS "${BUNDLE}/ui.ttl")
    file(WRITE "${BUNDLE}/ui.ttl" "${ui}")
endif()
message(STATUS "Amended the LV2 description in ${BUNDLE}: ${SIDECHAIN_PORTS} sidechain ports marked")
