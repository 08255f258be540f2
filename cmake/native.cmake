# Native build: the portable core, the command-line tool and, when asked
# for, the unit tests and the benchmarks.

# The tool's own code is a library, so that the unit tests and the test
# fixtures can call it; main.cpp alone makes the program.
file(GLOB tool_sources CONFIGURE_DEPENDS tools/coraxtopalm/*.cpp)
list(FILTER tool_sources EXCLUDE REGEX "/main\\.cpp$")
add_library(ctp_tool STATIC ${tool_sources})
target_link_libraries(ctp_tool PUBLIC ctp_mailbox ${CTP_CORE_LIBRARIES})
target_compile_definitions(ctp_tool PRIVATE CTP_VERSION="${PROJECT_VERSION}")
add_executable(coraxtopalm tools/coraxtopalm/main.cpp)
target_link_libraries(coraxtopalm PRIVATE ctp_tool)
target_compile_definitions(coraxtopalm PRIVATE CTP_VERSION="${PROJECT_VERSION}")
# Loading and relocating the shared C++ runtime takes a few milliseconds at
# every start, as long as packing a megabyte of text; the runtime linked in
# costs none. The sanitizers bring runtimes of their own that expect the
# shared one.
if(NOT CTP_SANITIZE)
    target_link_options(coraxtopalm PRIVATE -static-libstdc++ -static-libgcc)
endif()
install(TARGETS coraxtopalm RUNTIME DESTINATION bin)

if(BUILD_TESTING)
    enable_testing()
    find_package(GTest REQUIRED)
    include(GoogleTest)

    # Programs the tests and the scripts use to make their fixtures.
    file(GLOB fixture_sources CONFIGURE_DEPENDS tests/fixtures/*.cpp)
    set(fixture_programs)
    foreach(fixture_source ${fixture_sources})
        get_filename_component(fixture ${fixture_source} NAME_WE)
        string(REPLACE "_" "-" fixture ${fixture})
        add_executable(${fixture} ${fixture_source})
        target_include_directories(${fixture} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
        target_link_libraries(${fixture} PRIVATE ctp_tool)
        list(APPEND fixture_programs ${fixture})
    endforeach()

    # Code shared by the test suites: the reference compressor, fakes.
    file(GLOB test_support_sources CONFIGURE_DEPENDS tests/support/*.cpp)
    add_library(ctp_test_support STATIC ${test_support_sources})
    target_include_directories(ctp_test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(ctp_test_support PUBLIC ctp_tool GTest::gtest GTest::gmock)
    target_compile_definitions(ctp_test_support PUBLIC
        CTP_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
        CTP_LAYER_ORDER="${CTP_LAYER_ORDER}"
        CTP_TOOL_PATH="$<TARGET_FILE:coraxtopalm>"
        CTP_FIXTURE_DIR="${CMAKE_BINARY_DIR}")

    # tests/unit/<area>/*.cpp becomes the executable unit_<area>.
    file(GLOB unit_areas LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*)
    foreach(area_dir ${unit_areas})
        if(IS_DIRECTORY ${area_dir})
            get_filename_component(area ${area_dir} NAME)
            file(GLOB test_sources CONFIGURE_DEPENDS ${area_dir}/*.cpp)
            if(test_sources)
                add_executable(unit_${area} ${test_sources})
                target_link_libraries(unit_${area} PRIVATE GTest::gtest_main ctp_test_support)
                add_dependencies(unit_${area} coraxtopalm ${fixture_programs})
                gtest_discover_tests(unit_${area} DISCOVERY_TIMEOUT 60)
            endif()
        endif()
    endforeach()
endif()

# bench/<name>.cpp becomes bench_<name>; meant for the optimised build, and
# reported as ratios measured side by side.
if(CTP_BENCHMARKS)
    find_package(benchmark REQUIRED)
    file(GLOB bench_support_sources CONFIGURE_DEPENDS tests/support/reference_*.cpp)
    file(GLOB bench_sources CONFIGURE_DEPENDS bench/*.cpp)
    foreach(bench_source ${bench_sources})
        get_filename_component(bench ${bench_source} NAME_WE)
        add_executable(bench_${bench} ${bench_source} ${bench_support_sources})
        target_include_directories(bench_${bench} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
        target_link_libraries(bench_${bench} PRIVATE benchmark::benchmark ctp_tool)
    endforeach()
endif()

# Fuzz targets: tests/fuzz/<name>_fuzz.cpp, seeds in tests/fuzz/corpus/<name>/.
# Every test run replays the seeds through each target (replay_<name>, no
# libFuzzer needed); with CTP_FUZZ (scripts/fuzz: clang, the code
# instrumented with -fsanitize=fuzzer-no-link) each becomes fuzz_<name>.
option(CTP_FUZZ "Build the libFuzzer programs fuzz_<name> (needs clang)" OFF)
file(GLOB fuzz_sources CONFIGURE_DEPENDS tests/fuzz/*_fuzz.cpp)
# The MIME test messages seed the MIME target where they stand (scripts/fuzz
# names them too).
file(GLOB fuzz_seeds_mime_message CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/mime/corpus/*.eml)
if(CTP_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "CTP_FUZZ needs clang for libFuzzer")
    endif()
    # Clang has no code page 932 execution character set: in the fuzz build
    # the literals stay UTF-8, which changes bytes of texts, not how memory
    # is used.
    foreach(library ctp_tool ctp_mailbox ${CTP_CORE_LIBRARIES})
        get_target_property(library_options ${library} COMPILE_OPTIONS)
        list(REMOVE_ITEM library_options -fexec-charset=CP932)
        set_target_properties(${library} PROPERTIES COMPILE_OPTIONS "${library_options}")
    endforeach()
    add_custom_target(fuzz_targets)
endif()
foreach(fuzz_source ${fuzz_sources})
    get_filename_component(fuzz ${fuzz_source} NAME_WE)
    string(REGEX REPLACE "_fuzz$" "" fuzz ${fuzz})
    if(BUILD_TESTING)
        add_executable(replay_${fuzz} ${fuzz_source} tests/fuzz/replay_main.cpp)
        target_link_libraries(replay_${fuzz} PRIVATE ctp_tool)
        add_test(NAME fuzz_replay_${fuzz}
                 COMMAND replay_${fuzz} ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${fuzz} ${fuzz_seeds_${fuzz}})
    endif()
    if(CTP_FUZZ)
        add_executable(fuzz_${fuzz} ${fuzz_source})
        get_target_property(fuzz_options fuzz_${fuzz} COMPILE_OPTIONS)
        list(REMOVE_ITEM fuzz_options -fexec-charset=CP932)
        set_target_properties(fuzz_${fuzz} PROPERTIES COMPILE_OPTIONS "${fuzz_options}")
        target_link_libraries(fuzz_${fuzz} PRIVATE ctp_tool)
        target_link_options(fuzz_${fuzz} PRIVATE -fsanitize=fuzzer)
        add_dependencies(fuzz_targets fuzz_${fuzz})
    endif()
endforeach()
