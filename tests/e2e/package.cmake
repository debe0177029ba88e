# The release zip as shipped: made from this build's programs by the
# package script's own packer (a fixture), then checked and unpacked into
# an empty folder, where it must open a URL with its association.
add_executable(version_probe ${CMAKE_CURRENT_LIST_DIR}/version_probe.cpp)
set_target_properties(version_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_link_options(version_probe PRIVATE -mconsole)
target_link_libraries(version_probe PRIVATE version)

set(_package_dir ${CMAKE_CURRENT_BINARY_DIR}/package)
add_test(NAME package.zip
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make_dist.py
                 --bin ${CMAKE_BINARY_DIR} --source ${CMAKE_SOURCE_DIR} --out ${_package_dir})
set_tests_properties(package.zip PROPERTIES FIXTURES_SETUP tavrin_package)
foreach(case contents dispatch)
  add_test(NAME e2e.package.${case}
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/package_test.py --case ${case}
                   --package-dir ${_package_dir} --bin ${CMAKE_BINARY_DIR} --source ${CMAKE_SOURCE_DIR}
                   --tavrin $<TARGET_FILE:Tavrin> --driver $<TARGET_FILE:tavrin_driver>
                   --recorder $<TARGET_FILE:recorder> --probe $<TARGET_FILE:version_probe>
                   --scratch ${CMAKE_CURRENT_BINARY_DIR}/scratch/package)
  set_tests_properties(e2e.package.${case} PROPERTIES TIMEOUT 90 LABELS e2e
                       FIXTURES_REQUIRED tavrin_package)
endforeach()
