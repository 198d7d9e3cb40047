# Installs the build into a fresh prefix and fails when a file a desktop needs is missing.
# Run with -DBUILD_DIR=<build> -DPREFIX=<empty folder>.
cmake_minimum_required(VERSION 3.22)
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(file bin/quillora bin/quillora-publish share/applications/quillora.desktop
             share/icons/hicolor/32x32/apps/quillora.png share/icons/hicolor/256x256/apps/quillora.png
             share/icons/hicolor/scalable/apps/quillora.svg
             share/metainfo/example.quillora.Quillora.metainfo.xml share/mime/packages/quillora.xml
             share/man/man1/quillora.1.gz share/quillora/starters/index.txt
             share/quillora/sections/hero.qsection)
    if(NOT EXISTS "${PREFIX}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
file(READ "${PREFIX}/share/applications/quillora.desktop" entry)
if(NOT entry MATCHES "\nExec=quillora %f\n" OR NOT entry MATCHES "\nIcon=quillora\n")
    message(FATAL_ERROR "the menu entry does not start quillora, with a file to open, and its icon")
endif()
file(REMOVE_RECURSE "${PREFIX}")
message(STATUS "installed: the programs, the menu entry, icons, metainfo, file type, manuals and starters")
