#include "creatures/db_xml.h"

#include <strings.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/xml_util.h"
#include "platform/vfs.h"

int32_t DbParse::Line() const {
    return parser != nullptr ? static_cast<int32_t>(XML_GetCurrentLineNumber(parser)) : 0;
}

void DbParse::Warn(const char* label, const std::string& message) const {
    std::fprintf(stderr, "%s: %s, line %d: %s\n", label, file.c_str(), Line(), message.c_str());
}

bool ElementIs(const XML_Char* element, const char* name) {
    return element != nullptr && strcasecmp(element, name) == 0;
}

const char* DbAttr(const XML_Char** attributes, const char* name) {
    return FindXmlAttributeNoCase(attributes, name);
}

bool DbHasAttr(const XML_Char** attributes, const char* name) { return DbAttr(attributes, name) != nullptr; }

int32_t DbInt(const XML_Char** attributes, const char* name, int32_t fallback) {
    const char* value = DbAttr(attributes, name);
    return value != nullptr ? ParseDecimalInt32(value) : fallback;
}

float DbFloat(const XML_Char** attributes, const char* name, float fallback) {
    const char* value = DbAttr(attributes, name);
    return value != nullptr ? std::strtof(value, nullptr) : fallback;
}

bool DbBool(const XML_Char** attributes, const char* name, bool fallback) {
    const char* value = DbAttr(attributes, name);
    return value != nullptr ? ParseDecimalInt32(value) != 0 : fallback;
}

std::string DbString(const XML_Char** attributes, const char* name, const std::string& fallback) {
    const char* value = DbAttr(attributes, name);
    return value != nullptr ? std::string(value) : fallback;
}

bool ParseDatabase(const char* data, size_t length, const char* label, const char* file,
                   XML_StartElementHandler start, XML_EndElementHandler end, DbParse* state) {
    const char* name = file != nullptr ? file : "";
    if (length > static_cast<size_t>(INT_MAX)) {
        std::fprintf(stderr, "%s: %s is too large to read\n", label, name);
        return false;
    }
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (parser == nullptr) {
        std::fprintf(stderr, "%s: %s: out of memory\n", label, name);
        return false;
    }
    state->parser = parser;
    state->file = name;
    XML_SetUserData(parser, state);
    XML_SetElementHandler(parser, start, end);
    const bool ok = XML_Parse(parser, data != nullptr ? data : "", static_cast<int>(length), 1) != XML_STATUS_ERROR;
    if (!ok) {
        std::fprintf(stderr, "%s: %s: %s at line %d, column %d\n", label, name,
                     XML_ErrorString(XML_GetErrorCode(parser)), static_cast<int>(XML_GetCurrentLineNumber(parser)),
                     static_cast<int>(XML_GetCurrentColumnNumber(parser)));
    }
    XML_ParserFree(parser);
    state->parser = nullptr;
    return ok;
}

bool ParseDatabaseFile(const char* file, const char* label, XML_StartElementHandler start,
                       XML_EndElementHandler end, DbParse* state) {
    if (file == nullptr || !VfsExists(file)) return true;
    std::vector<char> buffer;
    if (!VfsReadFile(file, buffer)) {
        std::fprintf(stderr, "%s: %s cannot be read\n", label, file);
        return false;
    }
    return ParseDatabase(buffer.data(), buffer.size(), label, file, start, end, state);
}
