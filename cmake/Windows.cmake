# Unicode Win32, Windows 7 API level, everything linked statically: a dynamically
# linked libstdc++ would need DLLs beside the add-in.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)

# Debug information in every binary; the deliverables lose it (see quillset_deliver).
add_compile_options(-g)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(QUILLSET_ARCH x64)
else()
    set(QUILLSET_ARCH x86)
endif()
# What ships, as it ships: stripped binaries, the batch files, INSTALL.txt, the
# installer package; the debug information in symbols/.
set(QUILLSET_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
if(QUILLSET_DIST_DIR)
    get_filename_component(QUILLSET_SYMBOLS_DIR ${QUILLSET_DIST_DIR}/../symbols/${QUILLSET_ARCH} ABSOLUTE)
endif()

# A deliverable, stripped into the package folder (and the dist folder of this
# architecture); its debug information goes to symbols/<name>.debug, which the
# stripped file names through its debug link, so that a crash report can be read.
function(quillset_deliver target)
    set(shipped ${QUILLSET_PACKAGE_DIR}/$<TARGET_FILE_NAME:${target}>)
    set(symbols ${QUILLSET_PACKAGE_DIR}/symbols/$<TARGET_FILE_NAME:${target}>.debug)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLSET_PACKAGE_DIR}/symbols
        COMMAND ${QUILLSET_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> ${symbols}
        COMMAND ${QUILLSET_STRIP} --strip-all -o ${shipped} $<TARGET_FILE:${target}>
        COMMAND ${CMAKE_COMMAND} -E chdir ${QUILLSET_PACKAGE_DIR}/symbols
                ${QUILLSET_OBJCOPY} --add-gnu-debuglink=$<TARGET_FILE_NAME:${target}>.debug ${shipped})
    if(QUILLSET_DIST_DIR)
        add_custom_command(TARGET ${target} POST_BUILD
            COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLSET_DIST_DIR} ${QUILLSET_SYMBOLS_DIR}
            COMMAND ${CMAKE_COMMAND} -E copy_if_different ${shipped} ${QUILLSET_DIST_DIR}/
            COMMAND ${CMAKE_COMMAND} -E copy_if_different ${symbols} ${QUILLSET_SYMBOLS_DIR}/)
    endif()
endfunction()
