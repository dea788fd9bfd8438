#pragma once
// Small helpers shared by every reader of XML data and user files.
#include <expat.h>

#include <cstddef>
#include <cstdint>
#include <string>

// Decimal conversion by the C library's rules (leading blanks, optional sign, digits; text
// without digits reads as 0), saturated to the int32 range instead of overflowing. Null reads as 0.
int32_t ParseDecimalInt32(const char* text);

// The value of the named attribute (exact name), or null when the element does not carry it.
const char* FindXmlAttribute(const XML_Char** attributes, const char* name);
// The same with the name compared without regard to case.
const char* FindXmlAttributeNoCase(const XML_Char** attributes, const char* name);

struct XmlHandlers {
    XML_StartElementHandler start = nullptr;
    XML_EndElementHandler end = nullptr;
    XML_CharacterDataHandler text = nullptr;
    void* userData = nullptr;
};

// Parses a whole document held in memory in one final call. Elements before an error have
// taken effect. On an error returns false and, when `error` is given, sets it to
// "<expat message> at line L, column C".
bool ParseXmlDocument(const char* data, size_t length, const XmlHandlers& handlers,
                      std::string* error = nullptr);
