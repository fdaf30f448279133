# Compiler-specific settings in one place, for the two ways the project
# builds: cross with mingw-w64 and widl (tested here, under Wine), and on
# Windows with MSVC and midl.
#   CORVANTA_WMAIN_LINK_OPTIONS  link options of programs whose entry is wmain
#   CORVANTA_DLL_LINK_OPTIONS    link options of COM server DLLs (.def exports)
if(MSVC)
    # The C++ runtime is linked in, so the DLLs import only system DLLs.
    set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
    add_compile_options(/W4 /utf-8 /permissive-)
    # The modules carry their own manifest resource.
    add_link_options(/MANIFEST:NO)
    set(CORVANTA_WMAIN_LINK_OPTIONS "")
    set(CORVANTA_DLL_LINK_OPTIONS "")
else()
    add_compile_options($<$<COMPILE_LANGUAGE:CXX,C>:-Wall> $<$<COMPILE_LANGUAGE:CXX,C>:-Wextra>
                        $<$<COMPILE_LANGUAGE:CXX,C>:-Wno-unused-parameter>)
    # The C++ runtime, libgcc and winpthread are linked in, so every binary
    # imports only Windows system DLLs.
    add_link_options(-static -static-libgcc -static-libstdc++)
    set(CORVANTA_WMAIN_LINK_OPTIONS -municode)
    # The .def names are undecorated; the 32-bit stdcall symbols resolve to them.
    set(CORVANTA_DLL_LINK_OPTIONS -Wl,--enable-stdcall-fixup)
endif()
