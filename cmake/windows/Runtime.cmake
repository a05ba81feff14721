# SPDX-License-Identifier: GPL-3.0-or-later
# What a program cross-built for Windows loads from its own folder: the Qt libraries, Qt's
# platform and style plugins in their subfolders, and the mingw-w64 runtime. Windows finds a
# program's DLLs beside it, and Qt its plugins below it, so a folder with these runs anywhere.

# The runtime of the compiler that built the program, as the compiler itself names it.
set(BRIGHTSUM_WINDOWS_RUNTIME_DLLS "")
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
        message(FATAL_ERROR "The mingw-w64 runtime has no ${dll}")
    endif()
    list(APPEND BRIGHTSUM_WINDOWS_RUNTIME_DLLS "${found}")
endforeach()

# brightsum_windows_runtime(<target> <folder> [QT <modules...>] [PLATFORMS <plugin targets...>])
# copies, after <target> is built, what it loads into <folder>: the Qt modules named (Core,
# Gui, Widgets, Test...), the platform plugins, the native style and the compiler's runtime.
function(brightsum_windows_runtime target folder)
    cmake_parse_arguments(R "" "" "QT;PLATFORMS" ${ARGN})
    set(libraries ${BRIGHTSUM_WINDOWS_RUNTIME_DLLS})
    foreach(module IN LISTS R_QT)
        list(APPEND libraries "$<TARGET_FILE:Qt6::${module}>")
    endforeach()
    set(platforms "")
    foreach(plugin IN LISTS R_PLATFORMS)
        list(APPEND platforms "$<TARGET_FILE:Qt6::${plugin}>")
    endforeach()
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory "${folder}/platforms" "${folder}/styles"
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${libraries} "${folder}"
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${platforms} "${folder}/platforms"
        COMMAND ${CMAKE_COMMAND} -E copy_if_different
                "$<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>" "${folder}/styles"
        VERBATIM)
endfunction()
