#pragma once
// The plain-text reference of the room-script vocabulary ("-docs"): the object records, the
// conditions and the actions, each entry written from the same property declarations that read
// "rooms.xml", so the text always lists what the reader takes.
#include <cstdio>
#include <iosfwd>

// The three sections, each from fresh instances of its factory.
void WriteRoomObjectRecordDocs(std::ostream& out);
void WriteRoomConditionDocs(std::ostream& out);
void WriteRoomActionDocs(std::ostream& out);
// The heading, then the three sections.
void WriteRoomScriptDocs(std::ostream& out);
// Writes the reference to the stream.
void WriteRoomScriptDocs(FILE* out);
// Writes the reference to standard output.
void WriteRoomScriptDocs();
