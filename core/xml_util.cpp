#include "core/xml_util.h"

#include <strings.h>

#include <climits>
#include <cstdlib>
#include <cstring>

int32_t ParseDecimalInt32(const char* text) {
    if (text == nullptr) return 0;
    long long value = std::strtoll(text, nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

const char* FindXmlAttribute(const XML_Char** attributes, const char* name) {
    if (attributes == nullptr || name == nullptr) return nullptr;
    for (int i = 0; attributes[i] != nullptr && attributes[i + 1] != nullptr; i += 2) {
        if (std::strcmp(attributes[i], name) == 0) return attributes[i + 1];
    }
    return nullptr;
}

const char* FindXmlAttributeNoCase(const XML_Char** attributes, const char* name) {
    if (attributes == nullptr || name == nullptr) return nullptr;
    for (int i = 0; attributes[i] != nullptr && attributes[i + 1] != nullptr; i += 2) {
        if (strcasecmp(attributes[i], name) == 0) return attributes[i + 1];
    }
    return nullptr;
}

bool ParseXmlDocument(const char* data, size_t length, const XmlHandlers& handlers, std::string* error) {
    if (length > static_cast<size_t>(INT_MAX)) {
        if (error) *error = "document too large";
        return false;
    }
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (parser == nullptr) {
        if (error) *error = "out of memory";
        return false;
    }
    XML_SetUserData(parser, handlers.userData);
    XML_SetElementHandler(parser, handlers.start, handlers.end);
    if (handlers.text) XML_SetCharacterDataHandler(parser, handlers.text);
    const bool ok = XML_Parse(parser, data ? data : "", static_cast<int>(length), 1) != XML_STATUS_ERROR;
    if (!ok && error) {
        *error = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
                 std::to_string(XML_GetCurrentLineNumber(parser)) + ", column " +
                 std::to_string(XML_GetCurrentColumnNumber(parser));
    }
    XML_ParserFree(parser);
    return ok;
}
