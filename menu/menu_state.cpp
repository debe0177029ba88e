// The popup menus' shared state.
#include "menu/menu_state.h"

MenuState menuState;
