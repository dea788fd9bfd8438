#include "interface/menu_screen_hooks.h"

MenuScreenHooks MenuHooks;
