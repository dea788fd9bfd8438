#pragma once
// Reading helpers shared by the creature databases (spells, skills): element and attribute
// names compared without regard to case, numbers read as the C library reads a leading
// integer or floating-point number, and the parse of a whole file with its diagnostics on
// standard error (file, line and column).
#include <expat.h>

#include <cstddef>
#include <cstdint>
#include <string>

// The state every database parse carries: the parser (for line numbers) and the file name.
struct DbParse {
    XML_Parser parser = nullptr;
    std::string file;

    int32_t Line() const;
    // "<label>: <file>, line N: <message>" on standard error.
    void Warn(const char* label, const std::string& message) const;
};

bool ElementIs(const XML_Char* element, const char* name);
// The attribute value (name compared without regard to case), or null.
const char* DbAttr(const XML_Char** attributes, const char* name);
bool DbHasAttr(const XML_Char** attributes, const char* name);
int32_t DbInt(const XML_Char** attributes, const char* name, int32_t fallback);
float DbFloat(const XML_Char** attributes, const char* name, float fallback);
// True when the integer value is not 0.
bool DbBool(const XML_Char** attributes, const char* name, bool fallback);
std::string DbString(const XML_Char** attributes, const char* name, const std::string& fallback);

// Parses a document in one call with the handlers; `state` is handed to them and must start
// with a DbParse (its parser and file are filled in). A parse error prints
// "<label>: <file>: <message> at line L, column C" on standard error; the records read before
// it stay. False on a parse error.
bool ParseDatabase(const char* data, size_t length, const char* label, const char* file,
                   XML_StartElementHandler start, XML_EndElementHandler end, DbParse* state);
// Reads a whole file of the virtual file system and parses it as above; a missing file does
// nothing and answers true.
bool ParseDatabaseFile(const char* file, const char* label, XML_StartElementHandler start,
                       XML_EndElementHandler end, DbParse* state);
