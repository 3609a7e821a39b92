# Unicode Win32, Windows 7 API level, everything linked statically: a dynamically
# linked libstdc++ would need DLLs beside the add-in.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)

# Copies a deliverable into the dist folder of this architecture.
function(quillset_deliver target)
    if(QUILLSET_DIST_DIR)
        add_custom_command(TARGET ${target} POST_BUILD
            COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLSET_DIST_DIR}
            COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${QUILLSET_DIST_DIR}/)
    endif()
endfunction()
