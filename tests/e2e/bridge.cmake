# The browser bridge library against a fake browser: a DDE server standing
# in for the browser, a probe that calls the library's exports the way the
# program does, and the Python test that drives both under Wine. Both
# programs sit next to Tavrin.exe and tvDDE.dll so that the library is
# found by the standard search.
foreach(tool fake_browser tvdde_probe)
  add_executable(${tool} ${CMAKE_CURRENT_LIST_DIR}/${tool}.cpp)
  set_target_properties(${tool} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  target_link_options(${tool} PRIVATE -mconsole)
endforeach()
target_sources(fake_browser PRIVATE ${CMAKE_SOURCE_DIR}/bridge/tvdde/reply_parse.cpp
                                    ${CMAKE_SOURCE_DIR}/common/text.cpp)
target_link_libraries(fake_browser PRIVATE user32)
add_dependencies(tvdde_probe tvdde)

find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME tvdde_bridge
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/test_tvdde.py
                 --bin ${CMAKE_BINARY_DIR} --objdump ${CMAKE_OBJDUMP})
set_tests_properties(tvdde_bridge PROPERTIES TIMEOUT 180)
