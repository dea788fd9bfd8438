// Stand-in: what is still to be built is listed at the top of creatures/buff.h.
#include "creatures/buff.h"
