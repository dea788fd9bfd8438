#pragma once
// The plain-text reference of the room-script vocabulary ("-docs").
//
// Stand-in: only the document heading is written. Still to be built here: the three
// sections (room object records, conditions, actions) generated from the property
// declarations of the room-script classes.
#include <cstdio>

// Writes the reference to the stream.
void WriteRoomScriptDocs(FILE* out);
// Writes the reference to standard output.
void WriteRoomScriptDocs();
