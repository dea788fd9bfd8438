// Stand-in: what is still to be built is listed at the top of levels/room_script_docs.h.
#include "levels/room_script_docs.h"

void WriteRoomScriptDocs(FILE* out) {
    if (out == nullptr) {
        return;
    }
    fputs("\n\n-------------------------------------------------------\n"
          "Vaultmere Custom Room Reference Documentation\n"
          "-------------------------------------------------------\n\n",
          out);
    fflush(out);
}

void WriteRoomScriptDocs() {
    WriteRoomScriptDocs(stdout);
}
