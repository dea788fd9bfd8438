#pragma once
// Tuning values: named game-balance numbers, one integer and one float per name
// and per difficulty (0 easy, 1 medium, 2 hard), read from "game//tweakDB.xml".
// Looked up by name at the moment of use; never cache them.
#include <cstddef>
#include <cstdint>

// Reads "game//tweakDB.xml" through the virtual file system. A missing file
// leaves the tables as they are (every lookup then yields 0).
void LoadTweakVals();
// Parses one tuning document held in memory (the file's content). Returns false
// when the XML is malformed; what was read before the error is kept.
bool LoadTweakValsFromBuffer(const char* data, size_t len);

// Values for the current difficulty: the hero's while a hero exists, else easy.
// An unknown name yields 0 and is entered with 0.
int32_t GetTweakInt(const char* name);
float GetTweakFloat(const char* name);

// True when the name has a value for the current difficulty (enters nothing).
bool TweakExists(const char* name);

// Empties both tables (all three difficulties).
void ClearTweakVals();

// Where the lookups learn the difficulty of the game being played: the creatures layer
// sets it to read the current hero's. Null (or a value outside 0..2) reads easy.
using DifficultySource = int32_t (*)();
void SetTweakDifficultySource(DifficultySource source);
