// Stand-in: what is still to be built is listed at the top of levels/gen/room_triggers.h.
#include "levels/gen/room_triggers.h"

void DoRoomTriggerLogic() {}
