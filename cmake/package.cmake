# The release: `--target package` writes CoraxToPalm-<version>.zip beside the
# DLL, holding the DLL, the Japanese manual and the licence. Two builds of
# one commit give the same archive byte for byte. (The target is our own
# rather than CPack's: CPack's zip carries the builder's file times and user
# ids.)

# The same DLL from every build: no link time in the headers.
if(MINGW)
    # ld otherwise stamps the time into the PE header and the export
    # directory; the static runtime's debug sections are of no use to users.
    target_link_options(CoraxToPalm PRIVATE -Wl,--no-insert-timestamp $<$<CONFIG:Release>:-s>)
elseif(MSVC)
    target_compile_options(CoraxToPalm PRIVATE /Brepro)
    target_link_options(CoraxToPalm PRIVATE /Brepro)
endif()

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(CTP_RELEASE_ARCHIVE ${CMAKE_BINARY_DIR}/CoraxToPalm-${PROJECT_VERSION}.zip)
# Runs at every build of the target: the archive's time comes from the
# current commit, which no file dependency tracks, and writing it is quick.
add_custom_target(package
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/cmake/release_zip.py
            --dll $<TARGET_FILE:CoraxToPalm>
            --manual ${CMAKE_SOURCE_DIR}/doc/CoraxToPalm.ja.txt
            --licence ${CMAKE_SOURCE_DIR}/LICENSE
            --source-dir ${CMAKE_SOURCE_DIR}
            --output ${CTP_RELEASE_ARCHIVE}
    COMMENT "Release archive ${CTP_RELEASE_ARCHIVE}"
    VERBATIM)
add_dependencies(package CoraxToPalm)
