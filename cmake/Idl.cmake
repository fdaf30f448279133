# corvanta_compile_idl(<name> IDL <file> [TYPELIB] [DEPENDS ...]): compiles an
# IDL file of idl/ into <name>.h and <name>_i.c (and <name>.tlb with TYPELIB)
# in the current binary folder, with widl for mingw-w64 or midl for MSVC.
set(CORVANTA_WIDL_INCLUDE /usr/include/wine/wine/windows CACHE PATH "Folder with oaidl.idl and friends (widl)")
set(CORVANTA_STDOLE_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "Folder with stdole2.tlb (widl)")

function(corvanta_compile_idl name)
    cmake_parse_arguments(ARG "TYPELIB" "IDL" "DEPENDS" ${ARGN})
    set(out ${CMAKE_CURRENT_BINARY_DIR})
    set(outputs ${out}/${name}.h ${out}/${name}_i.c)
    if(ARG_TYPELIB)
        list(APPEND outputs ${out}/${name}.tlb)
    endif()
    if(MSVC)
        if(CMAKE_SIZEOF_VOID_P EQUAL 8)
            set(environment x64)
        else()
            set(environment win32)
        endif()
        set(tlb)
        if(ARG_TYPELIB)
            set(tlb /tlb ${name}.tlb)
        endif()
        set(commands COMMAND midl /nologo /env ${environment} /I ${CMAKE_CURRENT_SOURCE_DIR} /I ${out}
                             /out ${out} /h ${name}.h /iid ${name}_i.c /proxy ${name}_p.c
                             /dlldata ${name}_dlldata.c ${tlb} ${ARG_IDL})
    else()
        set(flags ${CORVANTA_WIDL_ARCH} -I${CORVANTA_WIDL_INCLUDE} -I${CMAKE_CURRENT_SOURCE_DIR}
                  -I${out} -L${CORVANTA_STDOLE_DIR} -L${out})
        set(commands COMMAND ${CORVANTA_WIDL} ${flags} -h -H ${out}/${name}.h ${ARG_IDL}
                     COMMAND ${CORVANTA_WIDL} ${flags} -u -U ${out}/${name}_i.c ${ARG_IDL})
        if(ARG_TYPELIB)
            list(APPEND commands COMMAND ${CORVANTA_WIDL} ${flags} -t -T ${out}/${name}.tlb ${ARG_IDL})
        endif()
    endif()
    add_custom_command(OUTPUT ${outputs} ${commands}
                       DEPENDS ${ARG_IDL} ${ARG_DEPENDS}
                       WORKING_DIRECTORY ${out}
                       COMMENT "IDL ${name}" VERBATIM)
endfunction()
