# The menu benchmark's yardstick: a minimal program that shows a three-item
# popup; scripts/bench-menu.sh times it and Tavrin's menus with the
# end-to-end driver's "time-menu" command.
add_executable(menu_baseline WIN32 ${CMAKE_CURRENT_LIST_DIR}/menu_baseline.cpp)
