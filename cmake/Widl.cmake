# corvanta_widl(<name> IDL <file> [TYPELIB]): runs widl on an IDL file of
# idl/, making <name>.h and <name>_i.c (and <name>.tlb with TYPELIB) in the
# current binary folder.
set(CORVANTA_WIDL_INCLUDE /usr/include/wine/wine/windows CACHE PATH "Folder with oaidl.idl and friends")
set(CORVANTA_STDOLE_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "Folder with stdole2.tlb")

function(corvanta_widl name)
    cmake_parse_arguments(ARG "TYPELIB" "IDL" "DEPENDS" ${ARGN})
    set(out ${CMAKE_CURRENT_BINARY_DIR})
    set(flags ${CORVANTA_WIDL_ARCH} -I${CORVANTA_WIDL_INCLUDE} -I${CMAKE_CURRENT_SOURCE_DIR}
              -I${out} -L${CORVANTA_STDOLE_DIR} -L${out})
    set(outputs ${out}/${name}.h ${out}/${name}_i.c)
    set(commands COMMAND ${CORVANTA_WIDL} ${flags} -h -H ${out}/${name}.h ${ARG_IDL}
                 COMMAND ${CORVANTA_WIDL} ${flags} -u -U ${out}/${name}_i.c ${ARG_IDL})
    if(ARG_TYPELIB)
        list(APPEND outputs ${out}/${name}.tlb)
        list(APPEND commands COMMAND ${CORVANTA_WIDL} ${flags} -t -T ${out}/${name}.tlb ${ARG_IDL})
    endif()
    add_custom_command(OUTPUT ${outputs} ${commands}
                       DEPENDS ${ARG_IDL} ${ARG_DEPENDS}
                       COMMENT "widl ${name}" VERBATIM)
endfunction()
