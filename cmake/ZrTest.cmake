# zr_add_test(NAME <name> SOURCES <files...> LIBS <targets...>)
# One QtTest executable per area, registered with CTest and run on the offscreen platform, with
# the shared test support (tests/support).
function(zr_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE Qt6::Test zr_test_support ${T_LIBS})
  target_compile_definitions(${T_NAME} PRIVATE ZR_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                                ZR_BINARY_DIR="${PROJECT_BINARY_DIR}")
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

# A test that drives the zr347-sim tool on a pseudo-terminal (POSIX only) learns its path.
function(zr_use_sim_tool TARGET)
  add_dependencies(${TARGET} zr347-sim)
  target_compile_definitions(${TARGET} PRIVATE ZR_SIM_TOOL="$<TARGET_FILE:zr347-sim>")
endfunction()
