# The dispatch benchmark's yardstick: a minimal program that opens a URL
# with one program; scripts/bench-dispatch.sh times it and Tavrin's
# dispatch with the end-to-end driver's "time-dispatch" command.
add_executable(dispatch_floor WIN32 ${CMAKE_CURRENT_LIST_DIR}/dispatch_floor.cpp)
target_link_libraries(dispatch_floor PRIVATE ole32 shell32 wininet user32)
