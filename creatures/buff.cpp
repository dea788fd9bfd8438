#include "creatures/buff.h"
