# Windows build: CoraxToPalm.dll, the host simulator and the Win32-side tests.
if(MINGW)
    set(CTP_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
    # Undecorated export names for the __stdcall functions.
    set(CTP_KILL_AT -Wl,--kill-at)
    # The .def names the exports undecorated; let ld find their @N forms.
    set(CTP_STDCALL_FIXUP -Wl,--enable-stdcall-fixup)
endif()

# An import library that takes InitCommonControls by its export number.
set(comctl32_def ${CMAKE_SOURCE_DIR}/cmake/comctl32_ordinal.def)
if(MINGW)
    set(comctl32_ordinal ${CMAKE_BINARY_DIR}/libcomctl32_ordinal.a)
    # The def file names the i686 symbol, __stdcall-decorated; x86_64 has no
    # decoration, so the test build there takes a copy without it.
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        file(READ ${comctl32_def} def_text)
        string(REGEX REPLACE "@[0-9]+ @" " @" def_text "${def_text}")
        set(comctl32_def ${CMAKE_BINARY_DIR}/comctl32_ordinal.def)
        file(WRITE ${comctl32_def} "${def_text}")
    endif()
    add_custom_command(OUTPUT ${comctl32_ordinal}
        COMMAND ${CMAKE_DLLTOOL} -d ${comctl32_def} -l ${comctl32_ordinal}
        DEPENDS ${comctl32_def})
else()
    set(comctl32_ordinal ${CMAKE_BINARY_DIR}/comctl32_ordinal.lib)
    add_custom_command(OUTPUT ${comctl32_ordinal}
        COMMAND lib /nologo /def:${comctl32_def} /machine:x86 /out:${comctl32_ordinal}
        DEPENDS ${comctl32_def})
endif()
add_custom_target(comctl32_ordinal_import DEPENDS ${comctl32_ordinal})

file(GLOB resource_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.rc)
if(resource_sources)
    enable_language(RC)
endif()

add_library(CoraxToPalm SHARED src/shell/dll_main_win32.cpp src/shell/plugin_exports.cpp src/shell/CoraxToPalm.def ${resource_sources})
set_target_properties(CoraxToPalm PROPERTIES PREFIX "" OUTPUT_NAME CoraxToPalm)
target_compile_definitions(CoraxToPalm PRIVATE CTP_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
                           CTP_VERSION_MINOR=${PROJECT_VERSION_MINOR} CTP_VERSION_PATCH=${PROJECT_VERSION_PATCH})
add_dependencies(CoraxToPalm comctl32_ordinal_import)
target_link_libraries(CoraxToPalm PRIVATE ${CTP_CORE_LIBRARIES}
                      ${comctl32_ordinal} user32 advapi32 ${CTP_STATIC_RUNTIME} ${CTP_KILL_AT} ${CTP_STDCALL_FIXUP})
if(MINGW AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    # Windows 98, 2000 and XP load it: stated here rather than left to the
    # toolchain's defaults (tests/e2e/windows_floor.py holds the rest).
    target_link_options(CoraxToPalm PRIVATE
        -Wl,--major-os-version,4,--minor-os-version,0,--major-subsystem-version,4,--minor-subsystem-version,0)
endif()

# The host simulator, and a second build of it that lacks one host export.
file(GLOB simulator_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/simulator/*.cpp)
foreach(variant corax-sim corax-sim-missing)
    add_executable(${variant} ${simulator_sources})
    target_link_libraries(${variant} PRIVATE ctp_mailbox user32 gdi32 comctl32 shell32 ${CTP_STATIC_RUNTIME} ${CTP_KILL_AT})
    target_include_directories(${variant} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR})
endforeach()
target_compile_definitions(corax-sim-missing PRIVATE CORAX_SIM_LEAVE_OUT_LAST_EXPORT)
include(cmake/package.cmake)

# The platform conformance cases against the Win32 implementation; the native
# unit tests run the same cases against the fake (tests/unit/conformance).
add_executable(platform-conformance tests/conformance/platform_conformance_win32.cpp
               tests/conformance/test_bed_win32.cpp tools/simulator/import_patch.cpp)
target_include_directories(platform-conformance PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(platform-conformance PRIVATE ctp_settings ctp_host ctp_platform
                      user32 comctl32 advapi32 ${CTP_STATIC_RUNTIME})

# The record compressor of this build against the reference one, on the
# native property test's shapes (tests/e2e/test_compressor_agreement.py).
add_executable(compressor-agreement tests/win32/compressor_agreement.cpp tests/support/compressor_shapes.cpp
               tests/support/reference_compressor.cpp)
target_include_directories(compressor-agreement PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(compressor-agreement PRIVATE ctp_palmdoc ${CTP_STATIC_RUNTIME})
