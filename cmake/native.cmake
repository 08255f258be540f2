# Native build: the portable core, its unit tests, the command-line tool and
# the benchmarks.
enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)

# The command-line tool: every file of tools/coraxtopalm registers its own
# sub-command, so they are linked as objects, not from a library.
file(GLOB tool_sources CONFIGURE_DEPENDS tools/coraxtopalm/*.cpp)
add_executable(coraxtopalm ${tool_sources})
target_link_libraries(coraxtopalm PRIVATE ctp_mailbox ${CTP_CORE_LIBRARIES})

# tests/unit/<area>/*.cpp becomes the executable unit_<area>.
file(GLOB unit_areas LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*)
foreach(area_dir ${unit_areas})
    if(IS_DIRECTORY ${area_dir})
        get_filename_component(area ${area_dir} NAME)
        file(GLOB test_sources CONFIGURE_DEPENDS ${area_dir}/*.cpp)
        if(test_sources)
            add_executable(unit_${area} ${test_sources})
            target_link_libraries(unit_${area} PRIVATE GTest::gtest_main GTest::gmock
                                  ctp_mailbox ${CTP_CORE_LIBRARIES})
            target_compile_definitions(unit_${area} PRIVATE
                CTP_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                CTP_TOOL_PATH="$<TARGET_FILE:coraxtopalm>")
            add_dependencies(unit_${area} coraxtopalm)
            gtest_discover_tests(unit_${area} DISCOVERY_TIMEOUT 60)
        endif()
    endif()
endforeach()

# bench/<name>.cpp becomes bench_<name>, built without sanitizers' cost in
# mind: compare ratios, not absolute times.
find_package(benchmark QUIET)
if(benchmark_FOUND)
    file(GLOB bench_sources CONFIGURE_DEPENDS bench/*.cpp)
    foreach(bench_source ${bench_sources})
        get_filename_component(bench ${bench_source} NAME_WE)
        add_executable(bench_${bench} ${bench_source})
        target_link_libraries(bench_${bench} PRIVATE benchmark::benchmark ctp_mailbox ${CTP_CORE_LIBRARIES})
    endforeach()
endif()
