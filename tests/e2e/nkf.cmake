# The converter library nkf32.dll under Wine: a probe that loads it by name
# and calls it the way the program does, driven by a Python test over
# sample pages in every encoding.
add_executable(nkf_probe ${CMAKE_CURRENT_LIST_DIR}/nkf_probe.cpp)
set_target_properties(nkf_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_link_options(nkf_probe PRIVATE -mconsole)
add_dependencies(nkf_probe nkf32)

add_test(NAME nkf_library
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/test_nkf.py
                 --bin ${CMAKE_BINARY_DIR} --objdump ${CMAKE_OBJDUMP}
                 --pages ${CMAKE_SOURCE_DIR}/tests/pages)
set_tests_properties(nkf_library PROPERTIES TIMEOUT 180)
