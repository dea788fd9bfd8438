#include "levels/room_script_docs.h"

#include <memory>
#include <ostream>
#include <sstream>
#include <string>

#include "levels/room_actions.h"
#include "levels/room_conditions.h"
#include "levels/room_object_records.h"

namespace {

const char* const kRecordTags[] = {"customblocker", "customengraving", "custombreakable", "trap",
                                   "monster",       "pedestal",        "element",         "loot",
                                   "horde",         "lever",           "clock"};

// "<tag>\n", a rule of dashes as long as the tag, the entry, then an empty line.
template <class T>
void WriteEntry(std::ostream& out, const char* tag, T* instance) {
    std::unique_ptr<T> owned(instance);
    out << tag << "\n" << std::string(std::char_traits<char>::length(tag), '-') << "\n";
    if (owned) owned->WriteReference(out);
    out << "\n";
}

}  // namespace

void WriteRoomObjectRecordDocs(std::ostream& out) {
    out << "\nRoom Object Records\n" << "=====================\n\n";
    for (const char* tag : kRecordTags) WriteEntry(out, tag, CreateRoomObjectRecord(tag));
}

void WriteRoomConditionDocs(std::ostream& out) {
    out << "\nRoom Conditions\n" << "===============\n\n";
    for (const char* keyword : kRoomConditionTypes) WriteEntry(out, keyword, CreateRoomCondition(keyword));
}

void WriteRoomActionDocs(std::ostream& out) {
    out << "\nRoom Actions\n" << "============\n\n";
    for (const char* keyword : kRoomActionTypes) WriteEntry(out, keyword, CreateRoomAction(keyword));
}

void WriteRoomScriptDocs(std::ostream& out) {
    out << "\n\n-------------------------------------------------------\n"
           "Vaultmere Custom Room Reference Documentation\n"
           "-------------------------------------------------------\n\n";
    WriteRoomObjectRecordDocs(out);
    WriteRoomConditionDocs(out);
    WriteRoomActionDocs(out);
}

void WriteRoomScriptDocs(FILE* out) {
    if (out == nullptr) return;
    std::ostringstream text;
    WriteRoomScriptDocs(text);
    const std::string bytes = text.str();
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fflush(out);
}

void WriteRoomScriptDocs() { WriteRoomScriptDocs(stdout); }
